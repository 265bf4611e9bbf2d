// Window skinning: each window has its own skin component (`Skin1`) that
// loads "winaquas.skn" from the program folder and draws the window's frame
// with a named element; the controls of every window are drawn through the
// main window's component, with an element chosen by the control's kind.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace orv::ui {
class Control;
class Form;
struct SkinSet;
}  // namespace orv::ui

namespace orv::shell {

inline constexpr std::string_view kSkinFile = "winaquas.skn";
inline constexpr std::string_view kMainWindowElement = "Form";
inline constexpr std::string_view kToolWindowElement = "SmallForm";

// The element a control is drawn with, by kind (first match wins):
// `syscmd` "system", `cpucmd` "cpu" (names compared case-sensitively), other
// command buttons "Button", labels "Label", frames "frame", check boxes
// "check", option buttons "radio", status bars "Statusbar", tab strips "Tab".
// Every other kind keeps the standard look: "".
std::string_view SkinElementFor(const ui::Control& control);

class SkinComponent {
  public:
    // Loads a skin file. A missing or unreadable file leaves the component
    // empty, and an empty component draws nothing: the standard look.
    // Returns 0, or the Win32-style reason the skin is not there (2 missing,
    // 13 not a skin file). A file with the bytes already loaded keeps the set
    // (the same object), so applying it again changes nothing.
    int LoadSkin(platform::Files& files, const std::string& path);
    // Program folder + "\winaquas.skn".
    int LoadProgramSkin(platform::Files& files);

    bool Loaded() const { return set_ != nullptr; }
    const std::shared_ptr<const ui::SkinSet>& Set() const { return set_; }

    void ApplySkin(ui::Form& form, std::string_view element) const;
    void ApplySkin(ui::Control& control, std::string_view element) const;

  private:
    std::shared_ptr<const ui::SkinSet> set_;
    std::string bytes_;  // what set_ was parsed from
};

// The main window's `SkinForm`: every control of `frm` in its control order
// gets the element of its kind from `skin`, whichever window it belongs to.
void SkinControls(ui::Form& frm, const SkinComponent& skin);

}  // namespace orv::shell
