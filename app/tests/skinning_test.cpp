#include "shell/skinning.h"

#include "shell_fixture.h"
#include "ui/controls.h"

namespace orv::app::testing {
namespace {

class Kinds : public ui::Form {
  public:
    explicit Kinds(ui::Host& host) : ui::Form(host, "Kinds", "", 3000, 3000) {}
    ui::CommandButton syscmd{*this, "syscmd", {}};
    ui::CommandButton cpucmd{*this, "cpucmd", {}};
    ui::CommandButton cmdEnum{*this, "cmdEnum", {}};
    ui::CommandButton upper{*this, "SYSCMD", {}};  // names compare case-sensitively
    ui::Label label{*this, "label", {}};
    ui::Frame frame{*this, "frame", {}};
    ui::CheckBox check{*this, "check", {}};
    ui::OptionButton option{*this, "option", {}};
    ui::TabStrip tabs{*this, "tabs", {}, {"one"}};
    ui::TextBox text{*this, "text", {}};
    ui::Slider slider{*this, "slider", {}};
    ui::ListView list_view{*this, "list_view", {}};
    ui::Timer timer{*this, "timer", 100};
    ui::ComboBox combo{*this, "combo", {}};
    ui::ProgressBar progress{*this, "progress", {}};
    ui::Picture picture{*this, "picture", {}};
    ui::ImageList images{*this, "images"};
};

TEST(SkinElement, ChosenByKindAndForTwoButtonsByName) {
    ui::HeadlessHost host;
    Kinds form(host);
    struct Case {
        ui::Control* control;
        std::string_view want;
    } cases[] = {
        {&form.syscmd, "system"}, {&form.cpucmd, "cpu"},   {&form.cmdEnum, "Button"},
        {&form.upper, "Button"},  {&form.label, "Label"},  {&form.frame, "frame"},
        {&form.check, "check"},   {&form.option, "radio"}, {&form.tabs, "Tab"},
        {&form.text, ""},         {&form.slider, ""},      {&form.list_view, ""},
        {&form.timer, ""},        {&form.combo, ""},       {&form.progress, ""},
        {&form.picture, ""},      {&form.images, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::SkinElementFor(*c.control), c.want) << c.control->Name();
}

class SkinTest : public ShellTest {};

TEST_F(SkinTest, AMissingOrBrokenSkinGivesTheStandardLook) {
    struct Case {
        const char* what;
        std::optional<std::string> file;
        int status;
    } cases[] = {
        {"missing", std::nullopt, 2},
        {"empty", std::string(), 13},
        {"binary", std::string("\x00\x01\xFF\xFE garbage", 12), 13},
        {"good", std::string(kTestSkin), 0},
    };
    for (const Case& c : cases) {
        std::string path = Folder() + "\\" + c.what + ".skn";
        if (c.file) world.files.WriteFile(path, *c.file);
        shell::SkinComponent skin;
        EXPECT_EQ(skin.LoadSkin(world.files, path), c.status) << c.what;
        EXPECT_EQ(skin.Loaded(), c.status == 0) << c.what;
        Kinds form(host);
        skin.ApplySkin(form, shell::kToolWindowElement);
        shell::SkinControls(form, skin);
        EXPECT_EQ(form.Skin() != nullptr, c.status == 0) << c.what;
        EXPECT_EQ(form.cmdEnum.Skin() != nullptr, c.status == 0) << c.what;
    }
}

}  // namespace
}  // namespace orv::app::testing
