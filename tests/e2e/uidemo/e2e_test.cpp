// Drives uidemo.exe from another process through the automation contract and
// checks that the native host reacts as to a user.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "e2e/driver.h"

namespace orv::e2e {
namespace {

class UiDemo : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Environment("DISPLAY").empty()) {
            GTEST_FAIL() << "DISPLAY is not set: the GUI tests need an X server (Xvfb)";
        }
        Launch({});
    }

    void Launch(const std::vector<std::string>& args) {
        ASSERT_TRUE(demo.Start(ExecutableFolder() + "\\uidemo.exe", args))
            << "uidemo.exe did not start";
        main = FindForm("demomain", 20s, demo.Id());
        ASSERT_TRUE(main) << "no window named demomain";
    }

    Window Control(std::string_view name) {
        Window w = FindControl(main, name);
        EXPECT_TRUE(w) << "no control " << name << " in demomain";
        return w;
    }

    bool TextBecomes(Window w, const std::string& want) {
        return WaitUntil([&] { return Text(w) == want; }, 5s);
    }

    Process demo;
    Window main;
};

TEST_F(UiDemo, EveryControlPublishesItsName) {
    auto names = ControlNames(main);
    for (const char* want :
         {"lblStatus", "fraOptions", "cmdHello", "chkLog", "optSmall", "tabMain", "tabFrame(0)",
          "tabFrame(1)", "cboColour", "sldLevel", "prgLevel", "txtName", "stsBar"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), want), names.end()) << want;
    }
    EXPECT_EQ(KindOf(Control("tabFrame(1)")), "Frame");
    EXPECT_EQ(KindOf(main), "");  // forms carry their name only
    // Timers have no window.
    EXPECT_EQ(std::find(names.begin(), names.end(), "Timer1"), names.end());
}

TEST_F(UiDemo, ClickRunsTheHandler) {
    Window status = Control("lblStatus");
    EXPECT_EQ(Text(status), "Ready");
    ASSERT_TRUE(Click(Control("cmdHello")));
    EXPECT_EQ(Text(status), "Hello number 1");
    ASSERT_TRUE(Click(Control("cmdHello")));
    EXPECT_EQ(Text(status), "Hello number 2");
}

TEST_F(UiDemo, CheckBoxAndOptionButtons) {
    Window check = Control("chkLog"), small = Control("optSmall"), large = Control("optLarge");
    Window status = Control("lblStatus");
    EXPECT_EQ(CheckState(check), 0);
    ASSERT_TRUE(Click(check));
    EXPECT_EQ(CheckState(check), 1);
    EXPECT_EQ(Text(status), "Log on");
    ASSERT_TRUE(Click(check));
    EXPECT_EQ(CheckState(check), 0);
    EXPECT_EQ(Text(status), "Log off");

    EXPECT_EQ(CheckState(small), 1);
    ASSERT_TRUE(Click(large));
    EXPECT_EQ(CheckState(large), 1);
    EXPECT_EQ(CheckState(small), 0);  // one choice per frame
    EXPECT_EQ(Text(status), "Large chosen");
}

TEST_F(UiDemo, HidingAFrameHidesWhatItHolds) {
    Window frame = Control("fraOptions"), hello = Control("cmdHello"),
           toggle = Control("cmdToggle");
    ASSERT_TRUE(Visible(hello));
    ASSERT_TRUE(Click(toggle));
    EXPECT_FALSE(Visible(frame));
    EXPECT_FALSE(Visible(hello));
    EXPECT_FALSE(Visible(Control("chkLog")));
    EXPECT_EQ(Text(toggle), "Show options");
    // A hidden control refuses clicks, as it would for a user.
    Click(hello);
    EXPECT_EQ(Text(Control("lblStatus")), "Ready");
    ASSERT_TRUE(Click(toggle));
    EXPECT_TRUE(Visible(hello));
    EXPECT_EQ(Text(toggle), "Hide options");
}

TEST_F(UiDemo, TabStripSwitchesItsFrames) {
    Window tabs = Control("tabMain"), page0 = Control("tabFrame(0)"),
           page1 = Control("tabFrame(1)");
    EXPECT_EQ(SelectedTab(tabs), 1);
    EXPECT_TRUE(Visible(page0));
    EXPECT_FALSE(Visible(page1));
    EXPECT_FALSE(Visible(Control("tabFrame(2)")));
    ASSERT_TRUE(ChooseTab(tabs, 2));
    EXPECT_TRUE(WaitUntil([&] { return Visible(page1); }));
    EXPECT_FALSE(Visible(page0));
    EXPECT_FALSE(Enabled(page0));
    EXPECT_TRUE(Enabled(page1));
    EXPECT_TRUE(Visible(Control("sldLevel")));
    ASSERT_TRUE(ChooseTab(tabs, 1));
    EXPECT_TRUE(WaitUntil([&] { return Visible(page0) && !Visible(page1); }));
}

TEST_F(UiDemo, ComboListSliderAndText) {
    Window combo = Control("cboColour");
    EXPECT_EQ(ItemCount(combo), 3);
    EXPECT_EQ(ItemText(combo, 2), "Blue");
    ASSERT_TRUE(ChooseItem(combo, 2));
    EXPECT_EQ(SelectedItem(combo), 2);
    EXPECT_TRUE(TextBecomes(Control("lblColourShown"), "Colour: Blue"));

    ASSERT_TRUE(ChooseItem(Control("lstItems"), 1));
    EXPECT_TRUE(TextBecomes(Control("lblStatus"), "Item: Drives"));

    ASSERT_TRUE(ChooseTab(Control("tabMain"), 2));
    ASSERT_TRUE(SetPosition(Control("sldLevel"), 75));
    EXPECT_EQ(Position(Control("prgLevel")), 75);  // the handler moved it
    ASSERT_TRUE(SetText(Control("txtName"), "Zoë"));
    EXPECT_TRUE(TextBecomes(Control("lblEcho"), "Name: Zoë"));  // UTF-8 both ways
}

TEST_F(UiDemo, ListViewImageComboAndUpDown) {
    ASSERT_TRUE(ChooseTab(Control("tabMain"), 3));
    Window list = Control("lvwItems"), more = Control("lblMore");
    ASSERT_TRUE(WaitUntil([&] { return Visible(list); }));
    EXPECT_EQ(ListViewCount(list), 3);
    EXPECT_EQ(ListViewText(list, 1), "orvelle.exe");
    EXPECT_EQ(ListViewText(list, 1, 1), "6 MB");
    ASSERT_TRUE(SelectListViewItem(list, 2));
    EXPECT_TRUE(TextBecomes(more, "Process: winlogon.exe"));
    ASSERT_TRUE(ChooseItem(Control("imgDrive"), 1));
    EXPECT_TRUE(TextBecomes(more, "Drive: D: Data"));
    ASSERT_TRUE(SetPosition(Control("updCount"), 7));
    EXPECT_TRUE(TextBecomes(more, "Count: 7"));
    EXPECT_EQ(Position(Control("updCount")), 7);

    ASSERT_TRUE(Click(Control("cmdRefresh")));
    EXPECT_TRUE(WaitUntil([&] { return ListViewCount(list) == 4; })) << ListViewCount(list);
    EXPECT_EQ(ListViewText(list, 0, 1), "25 MB");
    EXPECT_EQ(ListViewText(list, 3), "notepad.exe");
    EXPECT_TRUE(TextBecomes(more, "Process: notepad.exe"));  // selected by the handler
}

TEST_F(UiDemo, OpenFileDialog) {
    ASSERT_TRUE(ChooseTab(Control("tabMain"), 3));
    Window open = Control("cmdOpen"), more = Control("lblMore");
    ASSERT_TRUE(WaitUntil([&] { return Visible(open); }));
    // Cancelled: the handler hears false.
    ASSERT_TRUE(PostClick(open));
    Window dialog = FindDialog(demo.Id());
    ASSERT_TRUE(dialog) << "no open dialog";
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(main); }));  // modal to the form
    ASSERT_TRUE(PressDialogButton(dialog, 2));
    EXPECT_TRUE(TextBecomes(more, "Open cancelled"));
    // A file typed into the name box (edt1, or the combo cmb13 of newer dialogs).
    ASSERT_TRUE(PostClick(open));
    dialog = FindDialog(demo.Id());
    ASSERT_TRUE(dialog);
    Window name = DialogItem(dialog, 0x480);
    if (!name) name = DialogItem(dialog, 0x47C);
    ASSERT_TRUE(name) << "no file name box";
    ASSERT_TRUE(SetText(name, "C:\\windows\\win.ini"));
    ASSERT_TRUE(PressDialogButton(dialog, 1));
    EXPECT_TRUE(WaitUntil([&] { return Text(more).rfind("File: ", 0) == 0; })) << Text(more);
    EXPECT_NE(Text(more).find("win.ini"), std::string::npos) << Text(more);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(main); }));
}

TEST_F(UiDemo, ModalWindowDisablesItsOwnerUntilClosed) {
    ASSERT_TRUE(PostClick(Control("cmdModal")));
    Window tool = FindForm("demotool", 10s, demo.Id());
    ASSERT_TRUE(tool);
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(main); }));
    Window status = Control("lblStatus");
    EXPECT_EQ(Text(status), "Tool window open");
    // The owner ignores what a user could not do while it is disabled.
    Click(Control("cmdHello"));
    ASSERT_TRUE(ChooseTab(Control("tabMain"), 2));
    EXPECT_EQ(Text(status), "Tool window open");
    EXPECT_EQ(SelectedTab(Control("tabMain")), 1);

    ASSERT_TRUE(PostClick(FindControl(tool, "cmdClose")));
    EXPECT_TRUE(WaitGone(tool));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(main); }));
    EXPECT_TRUE(TextBecomes(status, "Tool window closed"));  // Show returned after the close
    ASSERT_TRUE(Click(Control("cmdHello")));
    EXPECT_EQ(Text(status), "Hello number 1");
}

TEST_F(UiDemo, SkinElementsOnTheCaptionBar) {
    EXPECT_FALSE(ClickSkinElement(main, "about"));  // names are exact
    EXPECT_FALSE(ClickSkinElement(main, "nothing"));
    ASSERT_TRUE(ClickSkinElement(main, "help"));
    EXPECT_TRUE(TextBecomes(Control("lblStatus"), "Help requested"));
    ASSERT_TRUE(ClickSkinElement(main, "About"));
    Window about = FindForm("demoabout", 10s, demo.Id());
    ASSERT_TRUE(about);
    EXPECT_FALSE(ClickSkinElement(main, "help"));  // the owner is disabled now
    ASSERT_TRUE(Close(about));
    EXPECT_TRUE(WaitGone(about));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(main); }));
}

TEST_F(UiDemo, LayoutFollowsTheDpi) {
    const int dpi = Dpi(main);
    const std::string want = Environment("ORVELLE_E2E_DPI");
    if (!want.empty()) {
        EXPECT_EQ(dpi, std::atoi(want.c_str()));
    }
    // 520 x 400 pixels at 96 DPI, the whole window.
    Rect r = WindowRect(main);
    EXPECT_NEAR(r.Width(), 520 * dpi / 96, 1);
    EXPECT_NEAR(r.Height(), 400 * dpi / 96, 1);
    Rect button = WindowRect(Control("cmdHello"));
    EXPECT_NEAR(button.Width(), 120 * dpi / 96, 1);
    EXPECT_NEAR(button.Height(), 26 * dpi / 96, 1);
    // Frames are containers: the button sits inside its frame.
    Rect frame = WindowRect(Control("fraOptions"));
    EXPECT_GE(button.left, frame.left);
    EXPECT_LE(button.right, frame.right);
}

TEST_F(UiDemo, TabKeyFollowsTheControlOrder) {
    // The first control in the form's order has the focus when it opens.
    Window hello = Control("cmdHello");
    ASSERT_TRUE(WaitUntil([&] { return Focused(main) == hello; })) << NameOf(Focused(main));
    for (const char* next : {"chkLog", "optSmall", "optLarge", "cmdToggle"}) {
        ASSERT_TRUE(PressKey(Focused(main), 0x09));  // VK_TAB
        EXPECT_TRUE(WaitUntil([&] { return NameOf(Focused(main)) == next; }))
            << "after Tab: " << NameOf(Focused(main)) << ", not " << next;
    }
    // Space on a focused button is a click.
    ASSERT_TRUE(PressKey(Focused(main), 0x20));
    EXPECT_TRUE(WaitUntil([&] { return !Visible(Control("fraOptions")); }));
}

TEST_F(UiDemo, TimerTicks) {
    Window ticks = Control("lblTicks");
    EXPECT_TRUE(WaitUntil([&] { return Text(ticks) != "Timer: 0 ticks"; }, 5s)) << Text(ticks);
}

TEST_F(UiDemo, ClosingTheMainWindowEndsTheProgram) {
    ASSERT_TRUE(PostClick(Control("cmdModal")));
    ASSERT_TRUE(FindForm("demotool", 10s, demo.Id()));
    // WM_CLOSE (what the system sends at log-off or "End task") reaches the
    // main window while a modal one is open; its QueryUnload closes the
    // others, and the last window gone ends the message loop.
    ASSERT_TRUE(Close(main));
    auto code = demo.Wait(10s);
    ASSERT_TRUE(code.has_value()) << "uidemo.exe still runs";
    EXPECT_EQ(*code, 0u);
}

TEST_F(UiDemo, Screenshot) {
    const std::string path = Environment("ORVELLE_E2E_SHOT");
    if (path.empty()) GTEST_SKIP() << "ORVELLE_E2E_SHOT names no file";
    ASSERT_TRUE(Click(Control("chkLog")));
    ASSERT_TRUE(ChooseItem(Control("cboColour"), 2));
    ASSERT_TRUE(WaitUntil([&] { return Text(Control("lblTicks")) != "Timer: 0 ticks"; }));
    EXPECT_TRUE(Screenshot(main, path));
    // With a second name, the whole screen with the tool window open.
    const std::string tool_path = Environment("ORVELLE_E2E_SHOT_TOOL");
    if (tool_path.empty()) return;
    ASSERT_TRUE(PostClick(Control("cmdModal")));
    Window tool = FindForm("demotool", 10s, demo.Id());
    ASSERT_TRUE(tool);
    ASSERT_TRUE(WaitUntil([&] { return Visible(tool) && !Enabled(main); }));
    EXPECT_TRUE(Screenshot({}, tool_path));
}

class UiDemoSplash : public UiDemo {
  protected:
    void SetUp() override {}
};

TEST_F(UiDemoSplash, SplashShowsDuringTheLoadAndGoesWithTheFirstWindow) {
    if (Environment("DISPLAY").empty()) GTEST_FAIL() << "DISPLAY is not set";
    ASSERT_TRUE(demo.Start(ExecutableFolder() + "\\uidemo.exe", {"--splash-wait", "3000"}));
    Window splash = FindForm("Splash", 10s, demo.Id());
    ASSERT_TRUE(splash) << "no splash window";
    EXPECT_TRUE(Visible(splash));
    main = FindForm("demomain", 20s, demo.Id());
    ASSERT_TRUE(main);
    EXPECT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
    EXPECT_TRUE(WaitGone(splash));
}

}  // namespace
}  // namespace orv::e2e
