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
    std::vector<ui::Frame*> Panels() {
        mainform& m = Main();
        return {&m.VisualFrame, &m.drivesframe, &m.Inputframe, &m.EXPFrame,
                &m.SIFrame,     &m.langFrame,   &m.SMframe};
    }
    std::vector<std::string> VisiblePanels() {
        std::vector<std::string> names;
        for (ui::Frame* f : Panels())
            if (f->Visible()) names.push_back(f->Name());
        return names;
    }
};

TEST_F(NavigationTest, EachButtonShowsItsPanelAlone) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));  // opens the group that holds the buttons
    struct Case {
        ui::CommandButton* button;
        std::string panel;
        int height;  // 0: the height stays what the click before left
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
        EXPECT_EQ(VisiblePanels(), std::vector<std::string>{c.panel}) << c.button->Name();
        EXPECT_EQ(m.Height(), c.height ? c.height : before) << c.button->Name();
    }
}

TEST_F(NavigationTest, SystemHealthHidesEveryPanelBeforeItsWindowOpens) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));
    std::vector<std::string> while_open;
    ui::Form* opened = nullptr;
    host.on_modal = [&](ui::Form& f) {
        opened = &f;
        while_open = VisiblePanels();
        EXPECT_FALSE(host.Reachable(m.Command4));  // the main window is inert
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(m.Command3));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->Name(), "pchealth");
    EXPECT_EQ(opened->Caption(), "System Health");
    EXPECT_EQ(opened->OwnerForm(), &m);
    EXPECT_TRUE(while_open.empty());
    EXPECT_TRUE(VisiblePanels().empty());
    EXPECT_TRUE(host.Reachable(m.Command4));
}

TEST_F(NavigationTest, TheGroupFoldsOutAndBackIn) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.cpucmd));  // some other panel showing
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(m.syscmd.Caption(), "System <<");
    EXPECT_TRUE(m.Frame1.Visible());
    EXPECT_EQ(m.Frame1.Left(), 160);
    EXPECT_EQ(m.Frame1.Top(), 285 + 370);
    EXPECT_EQ(m.Frame1.Width(), 1635);
    EXPECT_EQ(m.Frame1.Height(), 3555);
    EXPECT_EQ(m.cpucmd.Top(), m.Frame1.Top() + m.Frame1.Height());  // right under the group
    EXPECT_TRUE(m.VisualFrame.Visible());
    EXPECT_FALSE(m.SMframe.Visible());
    EXPECT_EQ(m.Height(), 7000);

    ASSERT_TRUE(host.Click(m.Command7));  // the language panel, then fold back in
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(m.syscmd.Caption(), "System >>");
    EXPECT_FALSE(m.Frame1.Visible());
    EXPECT_EQ(m.Frame1.Left(), 240);
    EXPECT_EQ(m.Frame1.Top(), 3400);
    EXPECT_EQ(m.cpucmd.Top(), m.syscmd.Top() + m.syscmd.Height() + 50);
    EXPECT_TRUE(VisiblePanels().empty());  // visual and language panels hidden
    EXPECT_EQ(m.Height(), 7000);
}

TEST_F(NavigationTest, TheMarkerDecidesAndIsFlippedInPlace) {
    mainform& m = Main();
    struct Case {
        std::string caption, after;
        bool frame1_before, frame1_after;
    } cases[] = {
        {"System >>", "System <<", false, true},
        {"System <<", "System >>", true, false},
        {"Next>> System", "Next<< System", false, true},  // a marker inside the text
        {"a<<b>>", "a<<b<<", false, true},                // both: the one at the end counts
        {">>", "<<", false, true},
    };
    for (const Case& c : cases) {
        m.Frame1.SetVisible(c.frame1_before);
        m.syscmd.SetCaption(c.caption);
        ASSERT_TRUE(host.Click(m.syscmd));
        EXPECT_EQ(m.syscmd.Caption(), c.after) << c.caption;
        EXPECT_EQ(m.Frame1.Visible(), c.frame1_after) << c.caption;
    }
}

TEST_F(NavigationTest, WithoutAMarkerTheClickOnlyShowsTheVisualPanel) {
    PutLanguage("English", "1000=System\r\n");
    mainform& m = Main();
    m.syscmd.SetCaption("System");
    ASSERT_TRUE(host.Click(m.cpucmd));
    int cpucmd_top = m.cpucmd.Top();
    ASSERT_TRUE(host.Click(m.syscmd));
    EXPECT_EQ(VisiblePanels(), std::vector<std::string>{"VisualFrame"});
    EXPECT_FALSE(m.Frame1.Visible());
    EXPECT_EQ(m.cpucmd.Top(), cpucmd_top);
    EXPECT_EQ(m.Height(), 7000);
}

TEST_F(NavigationTest, ATabShowsEnablesAndRaisesOnlyItsFrame) {
    mainform& m = Main();
    ASSERT_TRUE(host.Click(m.syscmd));
    ASSERT_TRUE(host.Click(m.Command1));
    struct Case {
        ui::TabStrip* tabs;
        int tab;
        std::vector<ui::Frame*> frames;
    } cases[] = {
        {&m.TabStrip1, 3, {m.VoptionsFrame[0], m.VoptionsFrame[1], m.VoptionsFrame[2]}},
        {&m.TabStrip1, 2, {m.VoptionsFrame[0], m.VoptionsFrame[1], m.VoptionsFrame[2]}},
        {&m.TabStrip1, 1, {m.VoptionsFrame[0], m.VoptionsFrame[1], m.VoptionsFrame[2]}},
        {&m.ExpTab, 2, {m.OptionsFrame[0], m.OptionsFrame[1]}},
        {&m.ExpTab, 1, {m.OptionsFrame[0], m.OptionsFrame[1]}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(host.Click(c.tabs == &m.TabStrip1 ? m.Command4 : m.Command1));
        ASSERT_TRUE(host.ChooseTab(*c.tabs, c.tab));
        ui::Frame* chosen = c.frames[c.tab - 1];
        for (ui::Frame* f : c.frames) {
            EXPECT_EQ(f->Visible(), f == chosen) << c.tabs->Name() << c.tab << f->AutomationName();
            EXPECT_EQ(f->Enabled(), f == chosen) << c.tabs->Name() << c.tab << f->AutomationName();
            if (f != chosen) {
                EXPECT_GT(chosen->ZSerial(), f->ZSerial());
            }
        }
        EXPECT_GT(chosen->ZSerial(), c.tabs->ZSerial());
    }
    EXPECT_EQ(m.VoptionsFrame[2]->AutomationName(), "VoptionsFrame(2)");
}

TEST_F(NavigationTest, ToolWindowsOpenModallyOwnedByTheMainWindow) {
    mainform& m = Main();
    std::vector<std::string> opened;
    host.on_modal = [&](ui::Form& f) {
        EXPECT_EQ(f.OwnerForm(), &m);
        EXPECT_TRUE(f.Modal());
        EXPECT_EQ(f.SkinElement(), "SmallForm") << f.Name();
        opened.push_back(f.Name() + ":" + f.Caption());
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(m.systemcolorcmd));  // on the first view's tab
    ASSERT_TRUE(host.Click(m.cpucmd));
    ASSERT_TRUE(host.Click(m.cmdEnum));
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    ASSERT_TRUE(host.ClickSkinElement(m, "about"));  // names compare case-sensitively
    ASSERT_TRUE(host.ClickSkinElement(m, "Minimize"));
    EXPECT_EQ(opened, (std::vector<std::string>{"syscolors:Colors", "enumfrm:Process manager",
                                                "frmabout:About"}));
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
