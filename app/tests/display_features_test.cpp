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

TEST_F(DisplayFeaturesTest, VisualOptionsButtonsOpenTheirToolWindowsModally) {
    InstallProgram();
    ASSERT_TRUE(Start());
    struct Case {
        const char* button;
        const char* opened;
    } cases[] = {{"systemcolorcmd", "syscolors:Colors"}, {"fontcmd", "Fontsfrm:Fonts"}};
    for (const auto& c : cases) {
        std::string opened;
        host.on_modal = [&](ui::Form& f) {
            opened = f.Name() + ":" + f.Caption();
            EXPECT_FALSE(host.Reachable(*Main().Find("applyvisualcmd"))) << "the owner is blocked";
            f.Unload();
        };
        auto* button = Main().Find(c.button);
        ASSERT_NE(button, nullptr) << c.button;
        host.Click(*button);
        EXPECT_EQ(opened, c.opened) << c.button;
    }
}

}  // namespace
}  // namespace orv::app::testing
