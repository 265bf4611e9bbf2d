// The system colours editor: one of thirteen display elements, its current
// colour in a swatch, the colour chooser (starting from the swatch), and
// Apply, which changes the element at once and stores it in the user's
// "Control Panel\Colors" so the change outlives the log-on.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tools {

struct ColourElement {
    std::string_view text;
    int index;                  // GetSysColor index
    std::string_view reg_name;  // the value under HKCU\Control Panel\Colors
};

// In list order.
inline constexpr std::array<ColourElement, 13> kColourElements = {{
    {"Active Window Caption", 2, "ActiveTitle"},
    {"Inactive Window Caption", 3, "InactiveTitle"},
    {"Active Window Caption Text", 9, "TitleText"},
    {"Inctive Window Caption Text", 19, "InactiveTitleText"},
    {"Active Window Border", 10, "ActiveBorder"},
    {"Inactive Window Border", 11, "InactiveBorder"},
    {"Gray Text (Disabled)", 17, "GrayText"},
    {"Button Caption", 18, "ButtonText"},
    {"Highlight", 13, "Hilight"},
    {"Highlight Text", 14, "HilightText"},
    {"Menu", 4, "Menu"},
    {"Menu Text", 7, "MenuText"},
    {"Background", 1, "Background"},
}};

inline constexpr std::string_view kColorsKey = "HKEY_CURRENT_USER\\Control Panel\\Colors\\";

// Windows' own form of a stored colour: "R G B" in decimal (0x00BBGGRR in).
std::string RegistryColourText(std::uint32_t colour);

class syscolors : public ui::Form {
  public:
    syscolors(shell::AppContext& ctx, shell::MainWindow& main);

    void Form_Load() override;
    void List1_Click();
    void Command1_Click();  // Apply
    void Command2_Click();  // Choose Color
    void Command3_Click() { Unload(); }

    // The selected element's GetSysColor index (0, the scroll bar, until a
    // row is clicked) and the swatch colour (0x00BBGGRR).
    int selected = 0;
    std::uint32_t swatch = 0;

    ui::Label SkinLabel1{*this, "SkinLabel1", {"Item", "3027", 240, 240, 2895, 255}};
    ui::ListBox List1{*this, "List1", {"", "", 240, 540, 2895, 2985}};
    ui::Label SkinLabel2{*this, "SkinLabel2", {"Colors", "3028", 3360, 240, 1575, 255}};
    ui::Picture Picture1{*this, "Picture1", {"", "", 3360, 540, 1575, 1095}};
    ui::CommandButton Command2{*this, "Command2", {"Choose Color", "1025", 3360, 1800, 1575, 375}};
    ui::CommandButton Command1{*this, "Command1", {"Apply", "1016", 3360, 2520, 1575, 375}};
    ui::CommandButton Command3{*this, "Command3", {"Close", "1013", 3360, 3150, 1575, 375}};
    ui::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    shell::SkinComponent Skin1;

  private:
    void ShowSwatch();
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
};

}  // namespace orv::tools
