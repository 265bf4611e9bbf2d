#include "tweaks/input.h"

#include <algorithm>
#include <string>

#include "readback.h"

namespace orv::tweaks {

using namespace orv::platform;

namespace {

constexpr std::string_view kMouseSensitivity = "HKCU\\Control Panel\\mouse\\MouseSensitivity";
constexpr std::string_view kKeyboardSpeed = "HKCU\\Control Panel\\Keyboard\\KeyboardSpeed";
constexpr std::string_view kKeyboardDelay = "HKCU\\Control Panel\\Keyboard\\KeyboardDelay";
constexpr std::string_view kSwapButtons =
    "HKEY_CURRENT_USER\\Control Panel\\Mouse\\SwapMouseButtons";
constexpr std::string_view kDoubleClickSpeed =
    "HKEY_CURRENT_USER\\Control Panel\\Mouse\\DoubleClickSpeed";

constexpr std::string_view kTrailsApp = "ardenosoft utilities";
constexpr std::string_view kSwapApp = "Velmora utilities";
constexpr std::string_view kMouseSection = "mouse";

// Store in the profile and tell running programs.
constexpr std::uint32_t kUpdateAndSend = kSpifUpdateIniFile | kSpifSendChange;
constexpr std::uint32_t kTrailCount = 5;

void Range(ui::Slider& s, int min, int max) {
    s.SetRange(min, max);
    s.SetValue(min);
}

}  // namespace

int DoubleClickPosition(std::uint32_t ms) {
    const std::int64_t p =
        (1100 - static_cast<std::int64_t>(std::min<std::uint32_t>(ms, 5000)) + 50) / 100;
    return static_cast<int>(std::clamp<std::int64_t>(p, 2, 9));
}

InputPanel::InputPanel(ui::Form& form, platform::Platform& platform, ui::Frame& panel)
    : form_(form),
      platform_(platform),
      reg_(platform.registry, platform.environment),
      KeyboardFrame{form, "KeyboardFrame", {"Keyboard", "2004", 240, 360, 3255, 1935}, &panel},
      lblrepeat{form, "lblrepeat", {"Repeat Rate", "3023", 120, 300, 3015, 255}, &KeyboardFrame},
      Repeatslider{form, "Repeatslider", {"", "", 120, 570, 3015, 435}, &KeyboardFrame},
      lbldelay{form, "lbldelay", {"Repeat Delay", "3024", 120, 1110, 3015, 255}, &KeyboardFrame},
      Delayslider{form, "Delayslider", {"", "", 120, 1380, 3015, 435}, &KeyboardFrame},
      MouseFrame{form, "MouseFrame", {"Mouse", "2003", 3600, 360, 3255, 1935}, &panel},
      lblspeed{form, "lblspeed", {"Mouse Pointer Speed", "3021", 120, 300, 3015, 255}, &MouseFrame},
      SpeedSlider{form, "SpeedSlider", {"", "", 120, 570, 3015, 435}, &MouseFrame},
      lbldouble{
          form, "lbldouble", {"Double click speed", "7017", 120, 1110, 3015, 255}, &MouseFrame},
      DoubleSlider{form, "DoubleSlider", {"", "", 120, 1380, 3015, 435}, &MouseFrame},
      swapm{form, "swapm", {"Swap mouse buttons", "5009", 360, 2490, 3015, 255}, &panel},
      trails{form, "trails", {"Show pointer trails", "5010", 360, 2850, 3015, 255}, &panel},
      RecycleFrame{form, "RecycleFrame", {"Recycle Bin", "2013", 3600, 2400, 3255, 735}, &panel},
      recycle{form, "recycle", {"Empty Recycle Bin", "5008", 120, 330, 3015, 255}, &RecycleFrame},
      inputcmd{form, "inputcmd", {"Apply", "1016", 5760, 4200, 1095, 375}, &panel} {
    Range(Repeatslider, 0, 31);
    Range(Delayslider, 0, 3);
    Range(SpeedSlider, 1, 20);
    Range(DoubleSlider, 2, 9);
    DoubleSlider.onChange = [this] {
        if (!loading_) double_moved_ = true;
    };
    inputcmd.onClick = [this] { inputcmd_Click(); };
}

void InputPanel::Load() {
    loading_ = true;
    LoadPosition(reg_, kMouseSensitivity, SpeedSlider);
    LoadPosition(reg_, kKeyboardSpeed, Repeatslider);
    LoadPosition(reg_, kKeyboardDelay, Delayslider);
    LoadState(reg_, kSwapButtons, swapm);
    const std::string stored = platform_.settings.Get(kTrailsApp, kMouseSection, "trails");
    if (stored == "0" || stored == "1") trails.SetValue(stored == "1" ? 1 : 0);
    DoubleSlider.SetValue(DoubleClickPosition(platform_.sysparams.GetDoubleClickTime()));
    double_moved_ = false;
    loading_ = false;
}

void InputPanel::inputcmd_Click() {
    if (recycle.Value() == 1) {
        platform_.shell.EmptyRecycleBin(form_.Handle(), "", kSherbNoConfirmation);
        platform_.shell.UpdateRecycleBinIcon();
        // Once is what was asked: a later Apply must not empty the bin again.
        recycle.SetValue(0);
    }
    SystemParameters& sp = platform_.sysparams;
    sp.Set(kSpiSetMouseSpeed, 0, static_cast<std::uintptr_t>(SpeedSlider.Value()), kUpdateAndSend);
    sp.Set(kSpiSetKeyboardSpeed, static_cast<std::uint32_t>(Repeatslider.Value()), 0,
           kUpdateAndSend);
    sp.Set(kSpiSetKeyboardDelay, static_cast<std::uint32_t>(Delayslider.Value()), 0,
           kUpdateAndSend);
    if (double_moved_) {
        const std::uint32_t ms = DoubleClickTimeAt(DoubleSlider.Value());
        reg_.ApplyText(kDoubleClickSpeed, std::to_string(ms));
        sp.SetDoubleClickTime(ms);
        double_moved_ = false;
    }
    const bool swap = swapm.Value() == 1;
    sp.Set(kSpiSetMouseButtonSwap, swap ? 1 : 0, 0, kUpdateAndSend);
    platform_.settings.Save(kSwapApp, kMouseSection, "swap", swap ? "1" : "0");
    const bool trail = trails.Value() == 1;
    sp.Set(kSpiSetMouseTrails, trail ? kTrailCount : 0, 0, kUpdateAndSend);
    platform_.settings.Save(kTrailsApp, kMouseSection, "trails", trail ? "1" : "0");
}

}  // namespace orv::tweaks
