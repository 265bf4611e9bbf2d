// orvelle.exe from the outside: every check goes through the automation
// contract (names on windows, the messages a user's input sends).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace orv::e2e {
namespace {

int Pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

class Orvelle : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
        exe = WindowsPath(Environment("ORVELLE_EXE"));
        ASSERT_FALSE(exe.empty()) << "ORVELLE_EXE names no orvelle.exe";
        ASSERT_TRUE(program.Start(exe)) << exe;
        main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main) << "no window named mainform";
        ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
        dpi = Dpi(main);
    }

    Window Get(std::string_view name) {
        Window w = FindControl(main, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    std::vector<std::string> VisiblePanels() {
        std::vector<std::string> shown;
        for (const char* panel : {"VisualFrame", "drivesframe", "Inputframe", "EXPFrame", "SIFrame",
                                  "langFrame", "SMframe"})
            if (Visible(FindControl(main, panel))) shown.emplace_back(panel);
        return shown;
    }
    bool HeightIs(int twips) {
        return WaitUntil(
            [&] { return std::abs(WindowRect(main).Height() - Pixels(twips, dpi)) <= 1; }, 3s);
    }

    std::string exe;
    Process program;
    Window main;
    int dpi = 96;
};

TEST_F(Orvelle, FirstViewIsTheVisualPanelInAShortWindow) {
    const std::string want_dpi = Environment("ORVELLE_E2E_DPI");
    if (!want_dpi.empty()) {
        EXPECT_EQ(dpi, std::stoi(want_dpi));
    }
    EXPECT_EQ(Text(main), "Orvelle");
    EXPECT_EQ(VisiblePanels(), std::vector<std::string>{"VisualFrame"});
    EXPECT_FALSE(Visible(Get("Frame1")));
    EXPECT_TRUE(HeightIs(5750)) << WindowRect(main).Height() << " px at " << dpi << " DPI";
    EXPECT_EQ(Text(Get("syscmd")), "System >>");
    EXPECT_EQ(Text(Get("Command1")), "Explorer");
    EXPECT_EQ(Text(Get("SMframe")), "System Monitoring");
    EXPECT_EQ(SelectedTab(Get("TabStrip1")), 1);
    EXPECT_TRUE(Visible(Get("VoptionsFrame(0)")));
    EXPECT_FALSE(Visible(Get("VoptionsFrame(2)")));
    EXPECT_FALSE(Enabled(Get("applymenu")));
    EXPECT_EQ(ItemText(Get("combolng"), 0), "English");

    const std::string shot = Environment("ORVELLE_E2E_SHOT");
    if (!shot.empty()) {
        EXPECT_TRUE(Screenshot(main, WindowsPath(shot)));
    }
}

TEST_F(Orvelle, NavigationShowsOnePanelAtItsHeight) {
    Window syscmd = Get("syscmd"), frame1 = Get("Frame1"), cpucmd = Get("cpucmd");
    ASSERT_TRUE(Click(syscmd));
    EXPECT_TRUE(WaitUntil([&] { return Visible(frame1); }));
    EXPECT_EQ(Text(syscmd), "System <<");
    EXPECT_TRUE(HeightIs(7000));
    EXPECT_NEAR(WindowRect(cpucmd).top, WindowRect(frame1).bottom, 1);  // right under the group

    struct Case {
        const char* button;
        const char* panel;
        int height;  // 0: unchanged
    } cases[] = {
        {"cpucmd", "SMframe", 8000},       {"Command1", "EXPFrame", 0},
        {"Command5", "drivesframe", 7000}, {"Command7", "langFrame", 0},
        {"Command6", "Inputframe", 7000},  {"Command2", "SIFrame", 7000},
        {"Command4", "VisualFrame", 7000},
    };
    for (const Case& c : cases) {
        int before = WindowRect(main).Height();
        ASSERT_TRUE(Click(Get(c.button))) << c.button;
        EXPECT_EQ(VisiblePanels(), std::vector<std::string>{c.panel}) << c.button;
        if (c.height) {
            EXPECT_TRUE(HeightIs(c.height)) << c.button;
        } else {
            EXPECT_EQ(WindowRect(main).Height(), before) << c.button;
        }
    }

    ASSERT_TRUE(Click(syscmd));  // folds back in
    EXPECT_TRUE(WaitUntil([&] { return !Visible(frame1); }));
    EXPECT_EQ(Text(syscmd), "System >>");
    EXPECT_TRUE(VisiblePanels().empty());
    EXPECT_NEAR(WindowRect(cpucmd).top - WindowRect(syscmd).bottom, Pixels(50, dpi), 1);
}

TEST_F(Orvelle, TabStripsSwitchTheirFrames) {
    ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 3));
    Window desktop = Get("VoptionsFrame(2)");
    EXPECT_TRUE(WaitUntil([&] { return Visible(desktop); }));
    EXPECT_TRUE(Enabled(desktop));
    for (const char* other : {"VoptionsFrame(0)", "VoptionsFrame(1)"}) {
        EXPECT_FALSE(Visible(Get(other))) << other;
        EXPECT_FALSE(Enabled(Get(other))) << other;
    }

    ASSERT_TRUE(Click(Get("syscmd")));
    ASSERT_TRUE(Click(Get("Command1")));
    ASSERT_TRUE(ChooseTab(Get("ExpTab"), 2));
    EXPECT_TRUE(WaitUntil([&] { return Visible(Get("OptionsFrame(1)")); }));
    EXPECT_FALSE(Visible(Get("OptionsFrame(0)")));
}

TEST_F(Orvelle, AboutOpensModallyAndClosesWithOk) {
    EXPECT_FALSE(ClickSkinElement(main, "about"));  // names are exact
    ASSERT_TRUE(ClickSkinElement(main, "About"));
    Window about = FindForm("frmabout", 10s, program.Id());
    ASSERT_TRUE(about);
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(main); }));
    EXPECT_EQ(Text(about), "About");
    EXPECT_EQ(Text(FindControl(about, "lblTitle")), "Orvelle");
    EXPECT_EQ(Text(FindControl(about, "lblVersion")), ORVELLE_VERSION_TEXT);
    ASSERT_TRUE(PostClick(FindControl(about, "cmdOK")));
    EXPECT_TRUE(WaitGone(about));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(main); }));
}

TEST_F(Orvelle, ASecondCopyEndsAtOnceWithoutAWindow) {
    Process second;
    ASSERT_TRUE(second.Start(exe));
    auto code = second.Wait(20s);
    ASSERT_TRUE(code.has_value()) << "the second copy still runs";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(FindForm("mainform", 0ms, second.Id()));
    EXPECT_TRUE(Visible(main));  // the first copy is untouched
}

TEST_F(Orvelle, ClosingTheMainWindowEndsTheProgram) {
    ASSERT_TRUE(ClickSkinElement(main, "About"));
    ASSERT_TRUE(FindForm("frmabout", 10s, program.Id()));
    ASSERT_TRUE(Close(main));
    auto code = program.Wait(20s);
    ASSERT_TRUE(code.has_value()) << "orvelle.exe still runs";
    EXPECT_EQ(*code, 0u);
}

// A copy of the program with its language file but no skin file: the
// standard look, where the caption bar's elements live in the window menu.
TEST(StandardLook, AboutStaysReachableWithoutTheSkinFile) {
    ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
    const std::string exe = WindowsPath(Environment("ORVELLE_PLAIN_EXE"));
    ASSERT_FALSE(exe.empty()) << "ORVELLE_PLAIN_EXE names no copy of orvelle.exe";
    Process program;
    ASSERT_TRUE(program.Start(exe)) << exe;
    Window main = FindForm("mainform", 30s, program.Id());
    ASSERT_TRUE(main);
    ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
    EXPECT_EQ(Text(FindControl(main, "syscmd")), "System >>");
    ASSERT_TRUE(ClickSkinElement(main, "About"));
    Window about = FindForm("frmabout", 10s, program.Id());
    ASSERT_TRUE(about);
    ASSERT_TRUE(WaitUntil([&] { return Visible(FindControl(about, "cmdOK")); }, 10s));
    ASSERT_TRUE(PostClick(FindControl(about, "cmdOK")));
    EXPECT_TRUE(WaitGone(about));
    ASSERT_TRUE(Close(main));
    EXPECT_TRUE(program.Wait(20s).has_value());
}

}  // namespace
}  // namespace orv::e2e
