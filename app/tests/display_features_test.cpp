#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

class DisplayFeaturesTest : public ShellTest {
  protected:
    std::string Caption(std::string_view name) {
        auto* c = Main().Find(name);
        return c ? c->Caption() : "<missing>";
    }
    std::string Text(std::string_view name) {
        auto* c = dynamic_cast<ui::TextBox*>(Main().Find(name));
        return c ? c->Text() : "<missing>";
    }
};

TEST_F(DisplayFeaturesTest, StartUpFillsTheDrivesAndSystemPanelsInTheChosenLanguage) {
    InstallProgram();
    PutLanguage("English", "3007=Drive type\r\n3029=Computer Name\r\n5013=Font Smoothing\r\n");
    world.display.font_smoothing = true;
    ASSERT_TRUE(Start());
    EXPECT_EQ(Caption("lblTypeCaption"), "Drive type");
    EXPECT_EQ(Caption("typelbl"), "Fixed Drive");
    EXPECT_EQ(Caption("lblTotal"), "20.0 GB");
    EXPECT_EQ(Caption("SystemSkinLabel"), "Computer Name");
    EXPECT_EQ(Text("txtComputerName"), "SIMPC");
    EXPECT_EQ(Text("txtRAM"), "16 GB");
    auto* smooth = dynamic_cast<ui::CheckBox*>(Main().Find("fsmooth"));
    ASSERT_NE(smooth, nullptr);
    EXPECT_EQ(smooth->Value(), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DisplayFeaturesTest, SystemColorsOpensTheEditorModally) {
    InstallProgram();
    ASSERT_TRUE(Start());
    std::string opened;
    host.on_modal = [&](ui::Form& f) {
        opened = f.Name() + ":" + f.Caption();
        f.Unload();
    };
    host.Click(Main().systemcolorcmd);
    EXPECT_EQ(opened, "syscolors:Colors");
}

TEST_F(DisplayFeaturesTest, IconsOnTheDrivesPanelOpensTheChooserOwnedByTheMainWindow) {
    InstallProgram();
    ASSERT_TRUE(Start());
    std::string opened;
    host.on_modal = [&](ui::Form& f) {
        opened = f.Name() + ":" + f.Caption();
        f.Unload();
    };
    Main().Command5_Click();  // the Drives panel in front
    auto* icons = dynamic_cast<ui::CommandButton*>(Main().Find("iconscmd"));
    ASSERT_NE(icons, nullptr);
    EXPECT_EQ(icons->Caption(), "Icons");
    host.Click(*icons);
    EXPECT_EQ(opened, "iconsfrm:Icons");
}

}  // namespace
}  // namespace orv::app::testing
