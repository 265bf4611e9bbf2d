#include "tools/frmabout.h"

#include "../../app/tests/shell_fixture.h"

namespace orv::tools {
namespace {

TEST(VersionText, TheThirdPlaceIsAlwaysZero) {
    struct Case {
        app::BuildInfo build;
        std::string want;
    } cases[] = {
        {{"x", 4, 1, 0, 17}, "Version 4.1.0.17"},
        {{"x", 4, 1, 3, 17}, "Version 4.1.0.17"},
        {{"x", 1, 0, 0, 1}, "Version 1.0.0.1"},
        {{"x", 10, 20, 30, 400}, "Version 10.20.0.400"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::VersionText(c.build), c.want);
    app::BuildInfo self = app::ThisBuild();
    EXPECT_EQ(self.product, "Orvelle");
    EXPECT_EQ(app::VersionText(self), "Version 1.0.0.1");
}

class AboutTest : public app::testing::ShellTest {
  protected:
    void SetUp() override {
        InstallProgram();
        ASSERT_TRUE(Start());
    }
};

TEST_F(AboutTest, ShowsTheBuildAndClosesWithOk) {
    app::mainform& m = Main();
    bool checked = false;
    host.on_modal = [&](ui::Form& f) {
        ASSERT_EQ(f.Name(), "frmabout");
        auto& about = static_cast<frmabout&>(f);
        EXPECT_EQ(about.Caption(), "About");
        EXPECT_EQ(about.lblTitle.Caption(), "Orvelle");
        EXPECT_EQ(about.lblVersion.Caption(), "Version 1.0.0.1");
        EXPECT_EQ(about.lblDisclaimer.Caption().substr(0, 1), " ");
        EXPECT_EQ(about.SkinLabel1.Caption().rfind("Contact Info.\n", 0), 0u);
        // Its own component draws its frame, the main window's its controls.
        EXPECT_EQ(about.SkinElement(), "SmallForm");
        EXPECT_EQ(about.Skin(), about.Skin1.Set());
        EXPECT_NE(about.Skin(), m.Skin1.Set());
        EXPECT_EQ(about.cmdOK.Skin(), m.Skin1.Set());
        EXPECT_EQ(about.cmdOK.SkinElement(), "Button");
        EXPECT_EQ(about.lblTitle.SkinElement(), "Label");
        EXPECT_FALSE(host.Reachable(m.syscmd));
        EXPECT_TRUE(host.Click(about.cmdOK));
        checked = true;
    };
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(host.Reachable(m.syscmd));
    EXPECT_EQ(host.events.back(), "unload:frmabout");
}

TEST_F(AboutTest, AFreshWindowEachOpeningWithAnotherBuild) {
    app::mainform& m = Main();
    frmabout about(program->Context(), m, {"Other", 4, 1, 3, 17});
    about.Show(&m, false);
    EXPECT_EQ(about.lblVersion.Caption(), "Version 4.1.0.17");
    EXPECT_EQ(about.lblTitle.Caption(), "Other");

    int opened = 0;
    const ui::Form* first = nullptr;
    host.on_modal = [&](ui::Form& f) {
        if (opened++ == 0)
            first = &f;
        else
            EXPECT_NE(&f, first);
        host.CloseBox(f);
    };
    about.Unload();
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    EXPECT_EQ(opened, 2);
}

}  // namespace
}  // namespace orv::tools
