#include "tools/frmabout.h"

#include "shell_fixture.h"

namespace orv::tools {
namespace {

TEST(VersionText, TheThirdPlaceIsAlwaysZero) {
    struct Case {
        shell::BuildInfo build;
        std::string want;
    } cases[] = {
        {{"x", 4, 1, 0, 17}, "Version 4.1.0.17"},
        {{"x", 4, 1, 3, 17}, "Version 4.1.0.17"},
        {{"x", 10, 20, 30, 400}, "Version 10.20.0.400"},
    };
    for (const Case& c : cases) EXPECT_EQ(shell::VersionText(c.build), c.want);
    EXPECT_EQ(shell::ThisBuild().product, "Orvelle");
    // The build's version is the project's, whatever it is today.
    const shell::BuildInfo b = shell::ThisBuild();
    EXPECT_EQ(std::to_string(b.major) + "." + std::to_string(b.minor) + "." +
                  std::to_string(b.patch) + "." + std::to_string(b.revision),
              ORVELLE_PROJECT_VERSION);
}

class AboutTest : public app::testing::ShellTest {};

TEST_F(AboutTest, ShowsTheBuildIsSkinnedAndClosesWithOk) {
    InstallProgram();
    ASSERT_TRUE(Start());
    app::mainform& m = Main();
    std::vector<const ui::Form*> opened;
    host.on_modal = [&](ui::Form& f) {
        ASSERT_EQ(f.Name(), "frmabout");
        auto& about = static_cast<frmabout&>(f);
        opened.push_back(&f);
        EXPECT_EQ(about.Caption(), "About");
        EXPECT_EQ(about.lblTitle.Caption(), "Orvelle");
        EXPECT_EQ(about.lblVersion.Caption(), shell::VersionText(shell::ThisBuild()));
        EXPECT_EQ(about.lblDisclaimer.Caption()[0], ' ');
        EXPECT_EQ(about.SkinLabel1.Caption().rfind("Contact Info.\n", 0), 0u);
        // Its own component draws its frame, the main window's its controls.
        EXPECT_EQ(about.SkinElement(), "SmallForm");
        EXPECT_EQ(about.Skin(), about.Skin1.Set());
        EXPECT_NE(about.Skin(), m.Skin1.Set());
        EXPECT_EQ(about.cmdOK.Skin(), m.Skin1.Set());
        EXPECT_EQ(about.cmdOK.SkinElement(), "Button");
        EXPECT_EQ(about.lblTitle.SkinElement(), "Label");
        EXPECT_TRUE(host.Click(about.cmdOK));
    };
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    ASSERT_TRUE(host.ClickSkinElement(m, "About"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_NE(opened[0], opened[1]);  // a fresh window each opening
    EXPECT_TRUE(host.Reachable(m.syscmd));
    EXPECT_EQ(host.events.back(), "unload:frmabout");
}

// An unloaded window is released: a hundred openings do not keep a hundred
// window objects.
TEST_F(AboutTest, OpeningItAgainAndAgainKeepsNoOldWindows) {
    InstallProgram();
    ASSERT_TRUE(Start());
    host.on_modal = [&](ui::Form& f) { EXPECT_TRUE(host.Click(static_cast<frmabout&>(f).cmdOK)); };
    ASSERT_TRUE(host.ClickSkinElement(Main(), "About"));
    const std::size_t after_one = ui::Form::Alive();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(host.ClickSkinElement(Main(), "About"));
    EXPECT_LE(ui::Form::Alive(), after_one + 1);
}

}  // namespace
}  // namespace orv::tools
