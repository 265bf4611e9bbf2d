// The start-up: its order, the first view, and what happens when parts of the
// program folder are missing or a panel fails to fill.
#include <cctype>
#include <functional>
#include <map>

#include "app/placeholders.h"
#include "platform/error.h"
#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

class StartupTest : public ShellTest {
  protected:
    // Every hook records its name and what the window looked like then.
    void RecordHooks() {
        program = std::make_unique<Program>(host, world.platform);
        mainform& m = Main();
        for (auto [hook, name] : {std::pair{&m.FillMemoryDisplay, "FillMemoryDisplay"},
                                  {&m.FillDrives, "FillDrives"},
                                  {&m.FillKeyboardMouse, "FillKeyboardMouse"},
                                  {&m.ReadAutoOptimize, "ReadAutoOptimize"},
                                  {&m.FillSystemInformation, "FillSystemInformation"},
                                  {&m.FillDisplayColour, "FillDisplayColour"},
                                  {&m.FillStartMenuDesktop, "FillStartMenuDesktop"},
                                  {&m.FillWallpaperPreview, "FillWallpaperPreview"},
                                  {&m.RefreshDriveFigures, "RefreshDriveFigures"}}) {
            *hook = [this, &m, name = std::string(name)] {
                calls.push_back(name);
                state[name] = std::to_string(m.Height()) + " " + m.Caption() + "|" +
                              m.syscmd.Caption() + "|" + m.SMframe.Caption() +
                              (m.VisualFrame.Visible() ? " visual" : "") +
                              (m.Skin() ? " skinned" : "") +
                              (m.combolng.ComboItems().empty() ? "" : " languages") +
                              (m.applymenu.Enabled() ? " applymenu" : "");
            };
        }
    }
    std::vector<std::string> calls;
    std::map<std::string, std::string> state;
};

TEST_F(StartupTest, RunsItsStepsInOrder) {
    InstallProgram();
    RecordHooks();
    ASSERT_TRUE(program->Start());
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "FillMemoryDisplay", "FillDrives", "FillKeyboardMouse", "ReadAutoOptimize",
                         "FillSystemInformation", "FillDisplayColour", "FillStartMenuDesktop",
                         "FillWallpaperPreview", "RefreshDriveFigures"}));
    // Skinned, translated and titled before the panels fill; the language
    // list just before the second pass over the drives; applymenu last.
    EXPECT_EQ(state["FillMemoryDisplay"],
              "5750 Orvelle|System >>|System Monitoring visual skinned applymenu");
    EXPECT_EQ(state["FillWallpaperPreview"], state["FillMemoryDisplay"]);
    EXPECT_EQ(state["RefreshDriveFigures"],
              "5750 Orvelle|System >>|System Monitoring visual skinned languages applymenu");
    mainform& m = Main();
    EXPECT_FALSE(m.applymenu.Enabled());
    EXPECT_EQ(host.splash, "BMsplash");
    EXPECT_EQ(host.events, std::vector<std::string>{"load:mainform"});
    // The first view: only the visual panel, the group folded.
    for (ui::Frame* f : {&m.drivesframe, &m.Inputframe, &m.EXPFrame, &m.SIFrame, &m.langFrame,
                         &m.SMframe, &m.Frame1})
        EXPECT_FALSE(f->Visible()) << f->Name();
    EXPECT_EQ(m.Command1.Caption(), "Explorer");
    EXPECT_EQ(m.drivesframe.Caption(), "Drives");
    EXPECT_EQ(m.Inputframe.Caption(), "Input");
    EXPECT_EQ(m.SIFrame.Caption(), "System Information");  // untagged: its design text
    EXPECT_EQ(m.SkinElement(), "Form");
}

TEST_F(StartupTest, ASecondCopyEndsWithoutAWindow) {
    InstallProgram();
    world.shell.held_instances.emplace_back(kInstanceName);
    RecordHooks();
    EXPECT_FALSE(program->Start());
    EXPECT_TRUE(host.quit);
    EXPECT_FALSE(host.splash_shown);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(host.events, (std::vector<std::string>{"load:mainform", "unload:mainform"}));
}

// Without splash, skin or language files the program starts in the standard
// look with its built-in English texts, and says in the log why.
TEST_F(StartupTest, NothingBesideTheProgramDoesNotStopIt) {
    Put("orvelle.exe", "MZ");
    RecordHooks();
    ASSERT_TRUE(program->Start());
    mainform& m = Main();
    EXPECT_FALSE(host.splash_shown);
    EXPECT_EQ(calls.size(), 9u);
    EXPECT_EQ(m.Skin(), nullptr);
    EXPECT_EQ(m.syscmd.Skin(), nullptr);
    EXPECT_EQ(m.syscmd.Caption(), "System >>");
    EXPECT_EQ(m.combolng.Text(), "English");
    EXPECT_NE(Log().find("winaquas.skn is missing; the standard look"), std::string::npos);
}

TEST_F(StartupTest, ASkinThatIsNoSkinGivesTheStandardLook) {
    InstallEnglish();
    Put("winaquas.skn", std::string("\x7F"
                                    "ELF\x01\x02",
                                    6));
    ASSERT_TRUE(Start());
    EXPECT_EQ(Main().Skin(), nullptr);
    EXPECT_TRUE(Main().VisualFrame.Visible());
    EXPECT_NE(Log().find("winaquas.skn is unreadable"), std::string::npos);
}

TEST_F(StartupTest, AFailingHookIsSkippedAndLogged) {
    InstallProgram();
    RecordHooks();
    Main().FillDrives = [] { throw std::runtime_error("no drive c:"); };
    Main().FillSystemInformation = [] { throw orv::Error(5, "sysinfo", "access denied"); };
    ASSERT_TRUE(program->Start());
    EXPECT_EQ(calls.size(), 7u);
    EXPECT_FALSE(Main().applymenu.Enabled());
    EXPECT_EQ(Log(),
              "ERROR: 0 at mainform\\Run >>> no drive c:\r\n"
              "ERROR: 5 at mainform\\sysinfo >>> access denied\r\n");
}

// The list shows the files present with the language in use selected; Apply
// stores the choice, the open window keeps its texts, the next window opened
// uses the new language.
TEST_F(StartupTest, TheLanguageListAndItsApply) {
    InstallProgram();
    PutLanguage("Deutsch", "7009=Hauptfenster\r\n1000=System >>\r\n");
    PutLanguage("Arabic", "");
    world.platform.settings.Save("Kadrim", "Language", "lng", "deutsch");
    ASSERT_TRUE(Start());
    mainform& m = Main();
    std::vector<std::string> shown;
    for (const ui::ImageComboItem& item : m.combolng.ComboItems()) {
        shown.push_back(item.text);
        EXPECT_EQ(item.image, 1);
        EXPECT_EQ(item.selected_image, 1);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"English", "Arabic", "Deutsch"}));
    EXPECT_EQ(m.combolng.Text(), "Deutsch");
    EXPECT_EQ(m.Caption(), "Hauptfenster");

    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command7));
    ASSERT_TRUE(host.Choose(m.combolng, 0));
    ASSERT_TRUE(host.Click(m.Applylangcmd));
    EXPECT_EQ(world.platform.settings.Get("Kadrim", "Language", "lng"), "English");
    EXPECT_EQ(m.Caption(), "Hauptfenster");
    std::string title;
    host.on_modal = [&](ui::Form& f) {
        title = f.Caption();
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(m.cpucmd));
    ASSERT_TRUE(host.Click(m.cmdEnum));
    EXPECT_EQ(title, "Process manager");
}

// A file may give its language the name it has in that language; the list
// shows it, Apply still stores the file's name, which is what "lng" has always
// held.
TEST_F(StartupTest, TheListShowsTheNameEachFileGivesItself) {
    InstallProgram();
    Put("languages\\Francais.ini",
        "[Language]\r\nName=Fran\xE7"
        "ais\r\n[Kadrim]\r\n1000=Syst\xE8me >>\r\n");
    Put("languages\\Deutsch.ini", "[Kadrim]\r\n7009=Hauptfenster\r\n");  // no name of its own
    Put("languages\\Cymraeg.ini", "[Language]\r\nName=   \r\n[Kadrim]\r\n");
    world.platform.settings.Save("Kadrim", "Language", "lng", "francais");
    ASSERT_TRUE(Start());
    mainform& m = Main();
    std::vector<std::string> shown;
    for (const ui::ImageComboItem& item : m.combolng.ComboItems()) shown.push_back(item.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"English", "Cymraeg", "Deutsch",
                                               "Fran\xC3\xA7"
                                               "ais"}));
    EXPECT_EQ(m.combolng.SelectedIndex(), 3);

    struct Case {
        int item;
        const char* stored;
    } cases[] = {{3, "Francais"}, {2, "Deutsch"}, {0, "English"}, {1, "Cymraeg"}};
    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command7));
    for (const Case& c : cases) {
        ASSERT_TRUE(host.Choose(m.combolng, c.item));
        ASSERT_TRUE(host.Click(m.Applylangcmd));
        EXPECT_EQ(world.platform.settings.Get("Kadrim", "Language", "lng"), c.stored) << c.item;
    }
}

// The skin and the texts are on the window before its windows are created,
// so the load does not make the host restyle or re-create them.
std::vector<std::string> Pushed(const ui::HeadlessHost& host, ui::Prop which) {
    std::vector<std::string> names;
    for (const auto& [name, prop] : host.pushed)
        if (prop == which) names.push_back(name);
    return names;
}

TEST_F(StartupTest, TheMainWindowIsCreatedInItsFinalLook) {
    InstallProgram();
    ASSERT_TRUE(Start());
    EXPECT_NE(Main().Skin(), nullptr);
    EXPECT_EQ(Main().Caption(), "Orvelle");
    EXPECT_EQ(Pushed(host, ui::Prop::Skin), std::vector<std::string>{});
    // Of the captions the language file gives, only these two are pushed
    // again: cleared and given their text back, as the start-up has always
    // done. Figures the panels fill in at load are not captions of the look.
    std::vector<std::string> translated;
    for (const std::string& name : Pushed(host, ui::Prop::Caption))
        for (const ui::Control* c : Main().Controls())
            if (c->AutomationName() == name && !c->Tag().empty()) translated.push_back(name);
    EXPECT_EQ(translated, (std::vector<std::string>{"syscmd", "cpucmd", "syscmd", "cpucmd"}));
}

// Windows keeps automation names in global atoms, which ignore case: two
// controls of one window whose names differ only in case (a panel's "Label2"
// beside another's "label2") would be one name to a driver.
TEST_F(StartupTest, EveryControlOfTheMainWindowHasItsOwnName) {
    InstallProgram();
    ASSERT_TRUE(Start());
    std::map<std::string, std::string> seen;
    for (const ui::Control* c : Main().Controls()) {
        if (!c->Windowed()) continue;  // no window, so no name to publish
        std::string name = c->AutomationName();
        std::string folded = name;
        for (char& ch : folded)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        auto [it, fresh] = seen.emplace(folded, name);
        EXPECT_TRUE(fresh) << name << " and " << it->second << " name the same window";
    }
}

TEST_F(StartupTest, WithoutASkinTheLoadStillReportsItOnce) {
    InstallEnglish();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Main().Skin(), nullptr);
    EXPECT_EQ(Pushed(host, ui::Prop::Skin), std::vector<std::string>{});
    EXPECT_EQ(Log(), "ERROR: 2 at mainform\\Form_Load >>> Skin file " + Folder() +
                         "\\winaquas.skn is missing; the standard look is used\r\n");
}

// Each tool window takes its title from the language file; the texts here
// differ from the design captions, so a title that is not looked up shows.
TEST_F(StartupTest, ToolWindowsTakeTheirTitlesFromTheLanguage) {
    InstallProgram();
    PutLanguage("Pirate",
                "7002=Crew list\r\n7012=Flag paint\r\n7010=Scurvy check\r\n7004=Letterings\r\n");
    world.platform.settings.Save("Kadrim", "Language", "lng", "Pirate");
    ASSERT_TRUE(Start());
    mainform& m = Main();
    struct Case {
        const char* form;
        std::function<void()> open;
        const char* title;
    } cases[] = {
        {"enumfrm", m.OpenProcessManager, "Crew list"},
        {"syscolors", m.OpenSystemColors, "Flag paint"},
        {"pchealth", m.OpenHealthWindow, "Scurvy check"},
        {"Fontsfrm", m.OpenFonts, "Letterings"},
    };
    for (const Case& c : cases) {
        std::string name, title;
        host.on_modal = [&](ui::Form& f) {
            name = f.Name();
            title = f.Caption();
            host.CloseBox(f);
        };
        c.open();
        EXPECT_EQ(name, c.form);
        EXPECT_EQ(title, c.title) << c.form;
    }
}

TEST_F(StartupTest, ClosingTheMainWindowClosesEveryWindowAndEnds) {
    InstallProgram();
    ASSERT_TRUE(Start());
    mainform& m = Main();
    auto& health = program->Context().forms.Get<HealthPlaceholder>(program->Context(), m);
    health.Show(&m, false);
    host.CloseBox(m);
    EXPECT_FALSE(health.Loaded());
    EXPECT_TRUE(host.quit);
    EXPECT_EQ(host.events, (std::vector<std::string>{"load:mainform", "load:pchealth",
                                                     "unload:pchealth", "unload:mainform"}));
}

}  // namespace
}  // namespace orv::app::testing
