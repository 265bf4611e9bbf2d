// The font viewer: the screen fonts in the system's order, a sample of the
// selected one at a chosen size with strikeout, bold and italic, and the
// installer of a new font file (see font_install.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shell/app_context.h"
#include "shell/skinning.h"
#include "tools/font_install.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tools {

inline constexpr std::string_view kSampleText = "\r\nABCXYZabcxyz";
inline constexpr int kMinSampleSize = 6;
inline constexpr int kMaxSampleSize = 144;
inline constexpr int kStartSampleSize = 12;
// A typed size above this is taken for a slip, not a wish.
inline constexpr int kLargestTypedSize = 1000;
inline constexpr std::string_view kFontFilter =
    "Font files (*.ttf, *.otf, *.ttc)|*.ttf;*.otf;*.ttc";

// The sample size a size text asks for: its leading number (blanks before it
// skipped, a fraction rounded), or nothing for a text that starts with no
// number, a size under 1 point or over kLargestTypedSize.
std::optional<int> SampleSize(std::string_view text);

class Fontsfrm : public ui::Form {
  public:
    Fontsfrm(shell::AppContext& ctx, shell::MainWindow& main);

    void Form_Load() override;
    void lstSystemFonts_Click();
    void UpDown1_Change();
    void Check1_Click();    // strikeout
    void Check2_Click();    // bold
    void Check3_Click();    // italic
    void Command1_Click();  // Install new fonts
    void Command2_Click() { Unload(); }

    ui::ListBox lstSystemFonts{*this, "lstSystemFonts", {"", "", 240, 240, 3255, 3570}};
    ui::TextBox Label1{*this, "Label1", {"", "", 3720, 240, 3375, 1935}};
    ui::Frame FontFrame1{*this, "FontFrame1", {"Font Properties", "2002", 3720, 2340, 3375, 1470}};
    ui::TextBox sizetxt{*this, "sizetxt", {"", "", 240, 480, 735, 315}, &FontFrame1};
    ui::UpDown UpDown1{*this, "UpDown1", {"", "", 975, 480, 255, 315}, &FontFrame1};
    ui::CheckBox Check1{*this, "Check1", {"Strikeout", "5005", 1560, 300, 1575, 255}, &FontFrame1};
    ui::CheckBox Check2{*this, "Check2", {"Bold", "5006", 1560, 660, 1575, 255}, &FontFrame1};
    ui::CheckBox Check3{*this, "Check3", {"Italic", "5007", 1560, 1020, 1575, 255}, &FontFrame1};
    ui::CommandButton Command1{
        *this, "Command1", {"Install new fonts", "1017", 240, 4020, 2175, 375}};
    ui::CommandButton Command2{*this, "Command2", {"Close", "1018", 5760, 4020, 1335, 375}};
    ui::CommonDialog CommonDialog1{*this, "CommonDialog1"};
    shell::SkinComponent Skin1;

  private:
    void FillFontList();
    void ApplySize();
    // A box's style: on for 1, off for 0; a greyed box (2) leaves it.
    void ApplyStyle(const ui::CheckBox& box, bool ui::ControlFont::*style);
    void ChangeSample(const std::function<void(ui::ControlFont&)>& change);

    shell::AppContext& ctx_;
    shell::MainWindow& main_;
};

}  // namespace orv::tools
