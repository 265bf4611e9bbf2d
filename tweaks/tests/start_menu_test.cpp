#include "tweaks/start_menu.h"

#include "fixture.h"

namespace orv::tweaks::testing {
namespace {

#define POLICY "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
constexpr const char* kStartMenu = "C:\\Users\\test\\Start Menu";
const std::string kPanelName = "Control Panel." + std::string(kControlPanelClsid);

class StartMenuTest : public TweaksTest {
  protected:
    void Build() {
        pages = std::make_unique<StartMenuPages>(window, platform, window.VoptionsFrame1,
                                                 window.VoptionsFrame2, window.applymenu,
                                                 [this] { ++reskins; });
        Show();
    }
    void SetStartMenu() {
        Text(std::string(kStartMenuFolderPath), kStartMenu);
        world.files.WriteFile(std::string(kStartMenu) + "\\Programs\\x.lnk", "");
    }
    // The start-up: the read-back, then the window disables the page's Apply.
    void Load() {
        Build();
        pages->Load();
        window.applymenu.SetEnabled(false);
    }
    int ValueOf(const char* name) { return static_cast<ui::CheckBox*>(window.Find(name))->Value(); }
    std::unique_ptr<StartMenuPages> pages;
    int reskins = 0;
};

TEST_F(StartMenuTest, FreshProfileShowsNothingSetAndTheFullLists) {
    Load();
    EXPECT_EQ(pages->mdelaycombo.Text(), "Choose");
    EXPECT_EQ(pages->wheelcombo.Text(), "Choose");
    ASSERT_EQ(pages->mdelaycombo.Items().size(), 999u);
    EXPECT_EQ(pages->mdelaycombo.Items().front(), "1");
    EXPECT_EQ(pages->mdelaycombo.Items().back(), "999");
    ASSERT_EQ(pages->wheelcombo.Items().size(), 100u);
    EXPECT_EQ(pages->wheelcombo.Items().back(), "100");
    for (const char* box : {"expandcp", "denydisplay", "shutchk", "runchk", "findchk", "recentchk",
                            "favchk", "taskbarchk", "hideall", "ieiconchk", "dskrightchk"})
        EXPECT_EQ(ValueOf(box), 0) << box;
    EXPECT_FALSE(window.applymenu.Enabled());
    EXPECT_TRUE(recorder.writes.empty());
}

TEST_F(StartMenuTest, EachStoredValueReachesItsControl) {
    struct Case {
        const char* name;
        const char* path;
        std::int64_t number;  // stored as REG_DWORD unless `text` is given
        const char* text;
        const char* control;
        int expected;
    };
    const Case cases[] = {
        {"display lock", POLICY "System\\NoDispCPL", 1, nullptr, "denydisplay", 1},
        {"shut down", POLICY "Explorer\\NoClose", 1, nullptr, "shutchk", 1},
        {"grayed", POLICY "Explorer\\NoClose", 2, nullptr, "shutchk", 2},
        {"not a state", POLICY "Explorer\\NoClose", 5, nullptr, "shutchk", 0},
        {"run", POLICY "Explorer\\NoRun", 1, nullptr, "runchk", 1},
        {"run as text digits", POLICY "Explorer\\NoRun", 0, "1", "runchk", 1},
        {"run as words", POLICY "Explorer\\NoRun", 0, "yes", "runchk", 0},
        {"find", POLICY "Explorer\\NoFind", 1, nullptr, "findchk", 1},
        {"recent", POLICY "Explorer\\NoRecentDocsMenu", 1, nullptr, "recentchk", 1},
        {"favourites", POLICY "Explorer\\NoFavoritesMenu", 1, nullptr, "favchk", 1},
        {"tray", POLICY "Explorer\\NoTrayContextMenu", 1, nullptr, "taskbarchk", 1},
        {"desktop", POLICY "Explorer\\NoDesktop", 1, nullptr, "hideall", 1},
        {"ie icon", POLICY "Explorer\\NoInternetIcon", 1, nullptr, "ieiconchk", 1},
        {"right click", POLICY "Explorer\\NoViewContextMenu", 1, nullptr, "dskrightchk", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow w(host);
        StartMenuPages p(w, platform, w.VoptionsFrame1, w.VoptionsFrame2, w.applymenu, nullptr);
        if (c.text)
            Text(c.path, c.text);
        else
            Dword(c.path, c.number);
        p.Load();
        EXPECT_EQ(static_cast<ui::CheckBox*>(w.Find(c.control))->Value(), c.expected);
        auto parsed = registry::ParseRegPath(c.path);
        platform::HKey k = 0;
        world.registry.OpenKey(parsed->root, parsed->key, platform::kKeyAllAccess, k);
        world.registry.DeleteValue(k, parsed->value);
        world.registry.CloseKey(k);
    }
}

TEST_F(StartMenuTest, CombosShowTheStoredTextAlsoOutsideTheirLists) {
    Text("HKCU\\Control Panel\\Desktop\\MenuShowDelay", "2000");
    Dword("HKCU\\Control Panel\\Desktop\\WheelScrollLines", 3);
    Load();
    EXPECT_EQ(pages->mdelaycombo.Text(), "2000");
    EXPECT_EQ(pages->wheelcombo.Text(), "3");
    EXPECT_FALSE(window.applymenu.Enabled());
}

TEST_F(StartMenuTest, ExpandingControlPanelIsFoundByItsExtension) {
    struct Case {
        const char* name;
        bool store_folder;
        const char* entry;  // a folder created in the Start Menu folder, or none
        int expected;
    };
    const Case cases[] = {
        {"no Start Menu value", false, nullptr, 0},
        {"folder not on disk", true, nullptr, 0},
        {"usual name", true, "Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}", 1},
        {"any name", true, "Settings.{21ec2020-3aea-1069-a2dd-08002b30309d}", 1},
        {"other identifier", true, "Printers.{2227A280-3AEA-1069-A2DE-08002B30309D}", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::World w(world.files.HostPath("C:\\").parent_path() / c.name);
        platform::Platform p{w.registry, w.environment, *w.settings, w.profiles,
                             w.files,    w.shell,       w.sysparams, w.processes};
        registry::RegistryPaths reg(w.registry, w.environment);
        if (c.store_folder)
            reg.RegWrite(kStartMenuFolderPath, registry::RegData{std::string(kStartMenu)});
        if (c.entry) w.files.WriteFile(std::string(kStartMenu) + "\\" + c.entry + "\\x", "");
        TestWindow win(host);
        StartMenuPages pages(win, p, win.VoptionsFrame1, win.VoptionsFrame2, win.applymenu,
                             nullptr);
        reg.RegWrite(POLICY "Explorer\\NoRun", registry::RegData{std::int64_t{1}}, "REG_DWORD");
        pages.Load();
        EXPECT_EQ(pages.expandcp.Value(), c.expected);
        EXPECT_EQ(pages.runchk.Value(), 1) << "the load goes on";
    }
}

TEST_F(StartMenuTest, AnyChangeOnTheStartMenuPageEnablesApply) {
    Load();
    EXPECT_TRUE(host.Choose(pages->wheelcombo, 4));
    EXPECT_TRUE(window.applymenu.Enabled());
    window.applymenu.SetEnabled(false);
    EXPECT_TRUE(host.Click(pages->favchk));
    EXPECT_TRUE(window.applymenu.Enabled());
}

TEST_F(StartMenuTest, YesWritesEverythingInOrderThenLogsOff) {
    SetStartMenu();
    Text("HKCU\\Control Panel\\Desktop\\MenuShowDelay", "400");
    Load();
    host.Choose(pages->mdelaycombo, 99);  // "100"
    host.Click(pages->expandcp);
    host.Click(pages->shutchk);
    host.Click(pages->taskbarchk);
    host.message_answers.push_back(ui::kIdYes);
    ASSERT_TRUE(host.Click(window.applymenu));

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Are you sure to restart?");
    EXPECT_EQ(host.messages[0].title, "Orvelle");
    EXPECT_EQ(host.messages[0].style, ui::kMbYesNo);
    const std::string p = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\";
    const std::vector<std::string> expected = {
        "HKCU\\Control Panel\\Desktop\\MenuShowDelay",
        "HKU\\.DEFAULT\\Control Panel\\Desktop\\MenuShowDelay",
        p + "System\\NoDispCPL",
        p + "Explorer\\NoClose",
        p + "Explorer\\NoRun",
        p + "Explorer\\NoFind",
        p + "Explorer\\NoRecentDocsMenu",
        p + "Explorer\\NoFavoritesMenu",
        p + "Explorer\\NoTrayContextMenu",
    };
    EXPECT_EQ(recorder.writes, expected) << "WheelScrollLines still reads \"Choose\"";
    EXPECT_EQ(TextAt("HKEY_USERS\\.DEFAULT\\Control Panel\\Desktop\\MenuShowDelay"), "100");
    EXPECT_EQ(Raw("HKCU\\Control Panel\\Desktop\\MenuShowDelay")->type, platform::kRegSz);
    EXPECT_EQ(DwordAt(p + "Explorer\\NoClose"), 1u);
    EXPECT_EQ(DwordAt(p + "Explorer\\NoRun"), 0u);
    EXPECT_EQ(DwordAt(p + "Explorer\\NoTrayContextMenu"), 1u);
    EXPECT_TRUE(Exists(std::string(kStartMenu) + "\\" + kPanelName));
    ASSERT_EQ(world.sysparams.exits.size(), 1u);
    EXPECT_EQ(world.sysparams.exits[0], (sim::SimSystemParameters::ExitRequest{0, 2}));
}

TEST_F(StartMenuTest, YesPutsTheControlPanelFolderInTheWantedState) {
    struct Case {
        const char* name;
        const char* present;  // folder in the Start Menu folder before Apply
        bool wanted;
        const char* after_present;
        const char* after_absent;
    };
    const Case cases[] = {
        {"remove any name", "Settings.{21EC2020-3AEA-1069-A2DD-08002B30309D}", false, nullptr,
         "Settings.{21EC2020-3AEA-1069-A2DD-08002B30309D}"},
        {"keep the existing one", "Settings.{21EC2020-3AEA-1069-A2DD-08002B30309D}", true,
         "Settings.{21EC2020-3AEA-1069-A2DD-08002B30309D}",
         "Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}"},
        {"create", nullptr, true, "Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}", nullptr},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string menu = std::string(kStartMenu) + std::to_string(++n);
        Text(std::string(kStartMenuFolderPath), menu);
        world.files.WriteFile(menu + "\\Programs\\x.lnk", "");
        if (c.present) world.files.WriteFile(menu + "\\" + c.present + "\\desktop.ini", "");
        if (c.present) world.files.RemoveFile(menu + "\\" + c.present + "\\desktop.ini");
        TestWindow w(host);
        StartMenuPages p(w, platform, w.VoptionsFrame1, w.VoptionsFrame2, w.applymenu, nullptr);
        p.Load();
        p.expandcp.SetValue(c.wanted ? 1 : 0);
        host.message_answers.push_back(ui::kIdYes);
        p.applymenu_Click();
        if (c.after_present) {
            EXPECT_TRUE(Exists(menu + "\\" + c.after_present));
        }
        if (c.after_absent) {
            EXPECT_FALSE(Exists(menu + "\\" + c.after_absent));
        }
    }
}

TEST_F(StartMenuTest, NoWritesNothingAndRestoresTheStoredRestrictions) {
    SetStartMenu();
    Dword(POLICY "Explorer\\NoClose", 1);
    Dword(POLICY "System\\NoDispCPL", 1);
    Text("HKCU\\Control Panel\\Desktop\\MenuShowDelay", "400");
    Load();
    host.Click(pages->shutchk);      // 1 -> 0
    host.Click(pages->favchk);       // 0 -> 1
    host.Click(pages->denydisplay);  // 1 -> 0
    host.Click(pages->expandcp);     // 0 -> 1
    host.Choose(pages->mdelaycombo, 9);
    host.message_answers.push_back(ui::kIdNo);
    ASSERT_TRUE(host.Click(window.applymenu));

    EXPECT_TRUE(recorder.writes.empty());
    EXPECT_TRUE(world.sysparams.exits.empty());
    EXPECT_EQ(pages->shutchk.Value(), 1);
    EXPECT_EQ(pages->denydisplay.Value(), 1);
    EXPECT_EQ(pages->expandcp.Value(), 0);
    EXPECT_EQ(pages->favchk.Value(), 1);
    EXPECT_EQ(pages->mdelaycombo.Text(), "10");
    EXPECT_EQ(reskins, 1);
    EXPECT_TRUE(window.applymenu.Enabled());
    EXPECT_FALSE(Exists(std::string(kStartMenu) + "\\" + kPanelName));
}

TEST_F(StartMenuTest, RefusedWritesAreSkippedAndTheLogOffStillFollows) {
    SetStartMenu();
    Load();
    world.registry.Deny(platform::kCurrentUser,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                        platform::kKeySetValue);
    world.files.FailUnder(kStartMenu, platform::kAccessDenied);
    pages->denydisplay.SetValue(1);
    pages->taskbarchk.SetValue(1);
    pages->expandcp.SetValue(1);
    host.message_answers.push_back(ui::kIdYes);
    ASSERT_TRUE(host.Click(window.applymenu));
    EXPECT_EQ(DwordAt(POLICY "System\\NoDispCPL"), 1u);
    EXPECT_FALSE(DwordAt(POLICY "Explorer\\NoTrayContextMenu"));
    EXPECT_EQ(world.sysparams.exits.size(), 1u);
}

TEST_F(StartMenuTest, BothDesktopButtonsWriteAllThreeValues) {
    for (const char* button : {"applydesktop", "desktopCommand"}) {
        SCOPED_TRACE(button);
        TestWindow w(host);
        StartMenuPages p(w, platform, w.VoptionsFrame1, w.VoptionsFrame2, w.applymenu, nullptr);
        host.ShowForm(w, nullptr, false);
        p.Load();
        recorder.writes.clear();
        p.ieiconchk.SetValue(1);
        ASSERT_TRUE(host.Click(*w.Find(button)));
        const std::string e =
            "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\";
        EXPECT_EQ(recorder.writes, (std::vector<std::string>{e + "NoDesktop", e + "NoInternetIcon",
                                                             e + "NoViewContextMenu"}));
        EXPECT_EQ(DwordAt(e + "NoDesktop"), 0u);
        EXPECT_EQ(DwordAt(e + "NoInternetIcon"), 1u);
        EXPECT_TRUE(host.messages.empty());
        host.CloseForm(w);
    }
}

}  // namespace
}  // namespace orv::tweaks::testing
