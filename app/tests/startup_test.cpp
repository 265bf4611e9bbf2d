// The start-up: its order, the first view, and what happens when parts of the
// program folder are missing or a panel fails to fill.
#include "shell_fixture.h"

#include "app/placeholders.h"

namespace orv::app::testing {
namespace {

class StartupTest : public ShellTest {
  protected:
    // Fills every hook with a recorder that also notes what the window looked
    // like when the hook ran.
    void RecordHooks() {
        program = std::make_unique<Program>(host, world.platform);
        mainform& m = Main();
        auto record = [this](const char* name) {
            return [this, name] {
                mainform& m = Main();
                calls.push_back(name);
                seen[name] = {m.VisualFrame.Visible(),
                              m.Height(),
                              m.syscmd.Caption(),
                              m.SMframe.Caption(),
                              m.Caption(),
                              m.Skin() != nullptr,
                              m.combolng.ComboItems().size(),
                              m.applymenu.Enabled()};
            };
        };
        m.FillMemoryDisplay = record("FillMemoryDisplay");
        m.FillDrives = record("FillDrives");
        m.FillKeyboardMouse = record("FillKeyboardMouse");
        m.ReadAutoOptimize = record("ReadAutoOptimize");
        m.FillSystemInformation = record("FillSystemInformation");
        m.FillDisplayColour = record("FillDisplayColour");
        m.FillStartMenuDesktop = record("FillStartMenuDesktop");
        m.FillWallpaperPreview = record("FillWallpaperPreview");
        m.RefreshDriveFigures = record("RefreshDriveFigures");
    }

    struct Seen {
        bool visual_shown;
        int height;
        std::string syscmd, smframe, title;
        bool skinned;
        std::size_t languages;
        bool applymenu_enabled;
    };
    std::vector<std::string> calls;
    std::map<std::string, Seen> seen;
};

TEST_F(StartupTest, RunsItsStepsInOrder) {
    InstallProgram();
    RecordHooks();
    ASSERT_TRUE(program->Start());

    std::vector<std::string> want = {"FillMemoryDisplay",     "FillDrives",
                                     "FillKeyboardMouse",     "ReadAutoOptimize",
                                     "FillSystemInformation", "FillDisplayColour",
                                     "FillStartMenuDesktop",  "FillWallpaperPreview",
                                     "RefreshDriveFigures"};
    EXPECT_EQ(calls, want);
    // By the first panel hook the window is skinned, translated and titled,
    // with the visual panel in the short window.
    const Seen& first = seen["FillMemoryDisplay"];
    EXPECT_TRUE(first.visual_shown);
    EXPECT_EQ(first.height, kStartHeight);
    EXPECT_TRUE(first.skinned);
    EXPECT_EQ(first.syscmd, "System >>");
    EXPECT_EQ(first.smframe, "System Monitoring");
    EXPECT_EQ(first.title, "Orvelle");
    // The language list comes just before the second pass over the drives,
    // and applymenu is disabled after everything.
    EXPECT_EQ(seen["FillWallpaperPreview"].languages, 0u);
    EXPECT_EQ(seen["RefreshDriveFigures"].languages, 1u);
    EXPECT_TRUE(seen["RefreshDriveFigures"].applymenu_enabled);
    EXPECT_FALSE(Main().applymenu.Enabled());
    EXPECT_EQ(host.splash, "BMsplash");
    EXPECT_EQ(host.events, std::vector<std::string>{"load:mainform"});
}

TEST_F(StartupTest, ShowsTheVisualPanelFoldedInAShortWindow) {
    InstallProgram();
    ASSERT_TRUE(Start());
    mainform& m = Main();
    EXPECT_EQ(m.Height(), kStartHeight);
    EXPECT_TRUE(m.VisualFrame.Visible());
    for (ui::Frame* f : {&m.drivesframe, &m.Inputframe, &m.EXPFrame, &m.SIFrame, &m.langFrame,
                         &m.SMframe, &m.Frame1})
        EXPECT_FALSE(f->Visible()) << f->Name();
    EXPECT_EQ(m.syscmd.Caption(), "System >>");
    EXPECT_EQ(m.cpucmd.Caption(), "CPU && Memory");
    EXPECT_EQ(m.Command1.Caption(), "Explorer");
    EXPECT_EQ(m.Caption(), "Orvelle");
    EXPECT_EQ(m.drivesframe.Caption(), "Drives");
    EXPECT_EQ(m.Inputframe.Caption(), "Input");
    EXPECT_EQ(m.SIFrame.Caption(), "System Information");  // untagged: design text
    EXPECT_EQ(m.SkinElement(), "Form");
    EXPECT_EQ(m.syscmd.SkinElement(), "system");
    EXPECT_EQ(m.cpucmd.SkinElement(), "cpu");
    EXPECT_EQ(m.cmdEnum.SkinElement(), "Button");
    EXPECT_EQ(m.combolng.SkinElement(), "");
}

TEST_F(StartupTest, ASecondCopyEndsWithoutAWindow) {
    InstallProgram();
    world.shell.held_instances.emplace_back(kInstanceName);
    RecordHooks();
    EXPECT_FALSE(program->Start());
    EXPECT_FALSE(Main().Loaded());
    EXPECT_TRUE(host.quit);
    EXPECT_FALSE(host.splash_shown);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(host.events, (std::vector<std::string>{"load:mainform", "unload:mainform"}));
}

TEST_F(StartupTest, MissingSplashSkinAndLanguagesDoNotStopIt) {
    // A program folder with nothing beside the program: no splash, no skin,
    // no language files.
    Put("orvelle.exe", "MZ");
    RecordHooks();
    ASSERT_TRUE(program->Start());
    mainform& m = Main();
    EXPECT_FALSE(host.splash_shown);
    EXPECT_EQ(calls.size(), 9u);
    EXPECT_EQ(m.Skin(), nullptr);
    EXPECT_EQ(m.syscmd.Skin(), nullptr);
    EXPECT_EQ(m.syscmd.Caption(), "System >>");  // the built-in English texts
    EXPECT_EQ(m.combolng.Text(), "English");
    EXPECT_NE(Log().find("winaquas.skn is missing; the standard look is used"), std::string::npos);
}

TEST_F(StartupTest, ACorruptSkinGivesTheStandardLook) {
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
    auto throws = [](const char* what) { return [what] { throw std::runtime_error(what); }; };
    Main().FillDrives = throws("no drive c:");
    Main().FillSystemInformation = throws("no system information");
    ASSERT_TRUE(program->Start());
    EXPECT_EQ(calls.size(), 7u);
    EXPECT_FALSE(Main().applymenu.Enabled());
    std::string log = Log();
    EXPECT_NE(log.find("at Host\\Run >>> no drive c:"), std::string::npos) << log;
    EXPECT_NE(log.find("at Host\\Run >>> no system information"), std::string::npos) << log;
}

TEST_F(StartupTest, LanguageListShowsTheFilesAndSelectsTheChoiceInUse) {
    InstallProgram();
    PutLanguage("Deutsch", "7009=Hauptfenster\r\n1000=System >>\r\n");
    PutLanguage("Arabic", "");
    world.platform.settings.Save("Kadrim", "Language", "lng", "deutsch");
    ASSERT_TRUE(Start());
    mainform& m = Main();
    ASSERT_EQ(m.combolng.ComboItems().size(), 3u);
    EXPECT_EQ(m.combolng.ComboItems()[0].text, "English");
    EXPECT_EQ(m.combolng.ComboItems()[1].text, "Arabic");
    EXPECT_EQ(m.combolng.ComboItems()[0].image, 1);
    EXPECT_EQ(m.combolng.ComboItems()[0].selected_image, 1);
    EXPECT_EQ(m.combolng.Text(), "Deutsch");
    EXPECT_EQ(m.Caption(), "Hauptfenster");
}

// Apply stores the choice; the open window keeps its texts, the next window
// opened uses the new language.
TEST_F(StartupTest, ApplyingALanguageTakesEffectInWindowsOpenedLater) {
    InstallProgram();
    PutLanguage("Deutsch", "7002=Prozesse\r\n");
    ASSERT_TRUE(Start());
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command7));
    ASSERT_TRUE(host.Choose(m.combolng, 1));
    ASSERT_TRUE(host.Click(m.Applylangcmd));
    EXPECT_EQ(world.platform.settings.Get("Kadrim", "Language", "lng"), "Deutsch");
    EXPECT_EQ(m.Caption(), "Orvelle");

    std::string title;
    host.on_modal = [&](ui::Form& f) {
        title = f.Caption();
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(m.cpucmd));
    ASSERT_TRUE(host.Click(m.cmdEnum));
    EXPECT_EQ(title, "Prozesse");
}

TEST_F(StartupTest, ClosingTheMainWindowClosesEveryWindowAndEnds) {
    InstallProgram();
    ASSERT_TRUE(Start());
    mainform& m = Main();
    auto& health = program->Context().forms.Get<HealthPlaceholder>(program->Context(), m);
    health.Show(&m, false);
    ASSERT_TRUE(health.Loaded());
    host.CloseBox(m);
    EXPECT_FALSE(health.Loaded());
    EXPECT_FALSE(m.Loaded());
    EXPECT_TRUE(host.quit);
    EXPECT_EQ(host.events, (std::vector<std::string>{"load:mainform", "load:pchealth",
                                                     "unload:pchealth", "unload:mainform"}));
}

}  // namespace
}  // namespace orv::app::testing
