// The main window as a switchboard: panels and heights, the fold-out group,
// the tab strips, and the tool-window launch points.
#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

class NavigationTest : public ShellTest {
  protected:
    void SetUp() override {
        InstallProgram();
        ASSERT_TRUE(Start());
    }
    std::vector<std::string> VisiblePanels() {
        mainform& m = Main();
        std::vector<std::string> names;
        for (ui::Frame* f : {&m.VisualFrame, &m.drivesframe, &m.Inputframe, &m.EXPFrame, &m.SIFrame,
                             &m.langFrame, &m.SMframe})
            if (f->Visible()) names.push_back(f->Name());
        return names;
    }
    using Panels = std::vector<std::string>;
};

TEST_F(NavigationTest, EachButtonShowsItsPanelAlone) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));  // opens the group that holds the buttons
    struct Case {
        ui::CommandButton* button;
        std::string panel;
        int height;  // 0: the height the click before left
    } cases[] = {
        {&m.cpucmd, "SMframe", 8000},       {&m.Command1, "EXPFrame", 0},
        {&m.Command5, "drivesframe", 7000}, {&m.Command7, "langFrame", 0},
        {&m.Command6, "Inputframe", 7000},  {&m.Command2, "SIFrame", 7000},
        {&m.cpucmd, "SMframe", 8000},       {&m.Command7, "langFrame", 0},
        {&m.Command4, "VisualFrame", 7000},
    };
    for (const Case& c : cases) {
        int before = m.Height();
        ASSERT_TRUE(host.Click(*c.button)) << c.button->Name();
        EXPECT_EQ(VisiblePanels(), Panels{c.panel}) << c.button->Name();
        EXPECT_EQ(m.Height(), c.height ? c.height : before) << c.button->Name();
    }
}

TEST_F(NavigationTest, TheGroupFoldsOutAndBackIn) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.cpucmd));
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(m.syscmd.Caption(), "System <<");
    EXPECT_TRUE(m.Frame1.Visible());
    EXPECT_EQ(std::pair(m.Frame1.Left(), m.Frame1.Top()), std::pair(160, 285 + 370));
    EXPECT_EQ(std::pair(m.Frame1.Width(), m.Frame1.Height()), std::pair(1635, 3555));
    EXPECT_EQ(m.cpucmd.Top(), 285 + 370 + 3555);  // right under the group
    EXPECT_EQ(VisiblePanels(), Panels{"VisualFrame"});
    EXPECT_EQ(m.Height(), 7000);

    ASSERT_TRUE(host.Click(m.Command7));
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(m.syscmd.Caption(), "System >>");
    EXPECT_FALSE(m.Frame1.Visible());
    EXPECT_EQ(std::pair(m.Frame1.Left(), m.Frame1.Top()), std::pair(240, 3400));
    EXPECT_EQ(m.cpucmd.Top(), 510 + 285 + 50);
    EXPECT_TRUE(VisiblePanels().empty());  // visual and language panels hidden
}

TEST_F(NavigationTest, TheMarkerDecidesAndIsFlippedInPlace) {
    mainform& m = Main();
    struct Case {
        std::string caption, after;
        bool open_before, open_after;
    } cases[] = {
        {"System >>", "System <<", false, true},
        {"System <<", "System >>", true, false},
        {"Next>> System", "Next<< System", false, true},  // a marker inside the text
        {"a<<b>>", "a<<b<<", false, true},                // both: the one at the end counts
        {"System", "System", true, true},                 // none: the group stays
    };
    for (const Case& c : cases) {
        m.Frame1.SetVisible(c.open_before);
        m.syscmd.SetCaption(c.caption);
        ASSERT_TRUE(host.Click(m.syscmd));
        EXPECT_EQ(m.syscmd.Caption(), c.after) << c.caption;
        EXPECT_EQ(m.Frame1.Visible(), c.open_after) << c.caption;
    }
    // Without a marker the click only shows the visual panel.
    ASSERT_TRUE(host.Click(m.cpucmd));
    int cpucmd_top = m.cpucmd.Top();
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(VisiblePanels(), Panels{"VisualFrame"});
    EXPECT_EQ(m.cpucmd.Top(), cpucmd_top);
}

TEST_F(NavigationTest, ATabShowsEnablesAndRaisesOnlyItsFrame) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command1));
    std::vector<ui::Frame*> visual(m.VoptionsFrame, m.VoptionsFrame + 3);
    std::vector<ui::Frame*> explorer(m.OptionsFrame, m.OptionsFrame + 2);
    struct Case {
        ui::TabStrip* tabs;
        int tab;
        std::vector<ui::Frame*>* frames;
    } cases[] = {{&m.TabStrip1, 3, &visual},
                 {&m.TabStrip1, 2, &visual},
                 {&m.TabStrip1, 1, &visual},
                 {&m.ExpTab, 2, &explorer},
                 {&m.ExpTab, 1, &explorer}};
    for (const Case& c : cases) {
        ASSERT_TRUE(host.Click(c.tabs == &m.TabStrip1 ? m.Command4 : m.Command1));
        ASSERT_TRUE(host.ChooseTab(*c.tabs, c.tab));
        ui::Frame* chosen = (*c.frames)[c.tab - 1];
        for (ui::Frame* f : *c.frames) {
            std::string where =
                c.tabs->Name() + " " + std::to_string(c.tab) + " " + f->AutomationName();
            EXPECT_EQ(f->Visible(), f == chosen) << where;
            EXPECT_EQ(f->Enabled(), f == chosen) << where;
            EXPECT_GE(chosen->ZSerial(), f->ZSerial()) << where;
        }
        EXPECT_GT(chosen->ZSerial(), c.tabs->ZSerial());
    }
}

TEST_F(NavigationTest, ToolWindowsOpenModallyOwnedByTheMainWindow) {
    mainform& m = Main();
    std::vector<std::string> opened;
    host.on_modal = [&](ui::Form& f) {
        EXPECT_EQ(f.OwnerForm(), &m);
        EXPECT_FALSE(host.Reachable(m.cpucmd));  // the main window is inert
        EXPECT_EQ(f.SkinElement(), "SmallForm") << f.Name();
        opened.push_back(f.Name() + ":" + f.Caption() + ":" +
                         std::to_string(VisiblePanels().size()));
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(m.systemcolorcmd));  // on the first view's tab
    ASSERT_TRUE(host.Click(m.cpucmd));
    ASSERT_TRUE(host.Click(m.cmdEnum));
    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command3));  // hides every panel before its window opens
    EXPECT_TRUE(VisiblePanels().empty());
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    ASSERT_TRUE(host.ClickSkinElement(m, "about"));  // names compare case-sensitively
    EXPECT_EQ(opened, (std::vector<std::string>{"syscolors:Colors:1", "enumfrm:Process manager:1",
                                                "pchealth:System Health:0", "frmabout:About:0"}));
    EXPECT_TRUE(host.Reachable(m.cpucmd));
}

TEST_F(NavigationTest, HelpOpensMaximisedOrSaysWhyNot) {
    mainform& m = Main();
    ASSERT_TRUE(host.ClickSkinElement(m, "help"));
    ASSERT_EQ(world.shell.opened.size(), 1u);
    const sim::SimShell::Opened& o = world.shell.opened[0];
    EXPECT_EQ(o.owner, m.Handle());
    EXPECT_EQ(o.file, Folder() + "\\newhelp.chm");
    EXPECT_EQ(o.directory, "C:\\");
    EXPECT_EQ(o.show, 3);
    ASSERT_EQ(host.messages.size(), 1u);  // the file is missing
    EXPECT_NE(host.messages[0].text.find("newhelp.chm"), std::string::npos);

    Put("newhelp.chm", "ITSF");
    ASSERT_TRUE(host.ClickSkinElement(m, "help"));
    EXPECT_EQ(world.shell.opened.size(), 2u);
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace orv::app::testing
