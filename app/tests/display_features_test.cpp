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

TEST_F(DisplayFeaturesTest, ToolButtonsOpenTheirWindowsModally) {
    InstallProgram();
    ASSERT_TRUE(Start());
    struct Case {
        const char* button;
        void (mainform::*panel)();  // the panel the button is on, in front
        const char* opened;
    } cases[] = {
        {"systemcolorcmd", nullptr, "syscolors:Colors"},
        {"fontcmd", nullptr, "Fontsfrm:Fonts"},
        {"iconscmd", &mainform::Command5_Click, "iconsfrm:Icons"},  // the Drives panel
    };
    for (const auto& c : cases) {
        std::string opened;
        if (c.panel) (Main().*c.panel)();
        auto* button = Main().Find(c.button);
        host.on_modal = [&](ui::Form& f) {
            opened = f.Name() + ":" + f.Caption();
            EXPECT_FALSE(host.Reachable(*button)) << "the owner is blocked";
            f.Unload();
        };
        ASSERT_NE(button, nullptr) << c.button;
        host.Click(*button);
        EXPECT_EQ(opened, c.opened) << c.button;
    }
}

}  // namespace
}  // namespace orv::app::testing
