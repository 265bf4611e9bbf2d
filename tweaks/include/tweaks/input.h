// The Input panel: keyboard repeat rate and delay, mouse pointer speed,
// double-click time, button swapping, pointer trails, and emptying the
// Recycle Bin. One Apply sets them all through the system parameters, which
// also store each one in the user's profile.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"
#include "registry/regpath.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tweaks {

// Double-click time of a slider position: the right end is the fastest.
constexpr std::uint32_t DoubleClickTimeAt(int position) {
    return static_cast<std::uint32_t>(1100 - 100 * position);
}
// The position nearest to a time, inside the slider's range 2..9.
int DoubleClickPosition(std::uint32_t ms);

class InputPanel {
  public:
    InputPanel(ui::Form& form, platform::Platform& platform, ui::Frame& panel);

    // The read-back of the window's load.
    void Load();
    void inputcmd_Click();

  private:
    ui::Form& form_;
    platform::Platform& platform_;
    registry::RegistryPaths reg_;
    bool loading_ = false;
    // The double-click time is applied only after the user moved its slider,
    // so that an Apply never sets a time nobody chose.
    bool double_moved_ = false;

  public:
    ui::Frame KeyboardFrame;
    ui::Label lblrepeat;
    ui::Slider Repeatslider;
    ui::Label lbldelay;
    ui::Slider Delayslider;
    ui::Frame MouseFrame;
    ui::Label lblspeed;
    ui::Slider SpeedSlider;
    ui::Label lbldouble;
    ui::Slider DoubleSlider;
    ui::CheckBox swapm;
    ui::CheckBox trails;
    ui::Frame RecycleFrame;
    ui::CheckBox recycle;
    ui::CommandButton inputcmd;
};

}  // namespace orv::tweaks
