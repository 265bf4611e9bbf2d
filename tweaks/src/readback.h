// What the tweak pages share when they read a stored value into a control.
#pragma once

#include <string_view>

#include "registry/regpath.h"
#include "ui/controls.h"

namespace orv::tweaks {

// A check box takes a stored 0, 1 or 2; anything else (another number, a
// text, no value) leaves it as it is. Says whether it was set.
bool LoadState(registry::RegistryPaths& reg, std::string_view path, ui::CheckBox& box);

// A slider takes a stored number inside its range; outside the range, or not
// a number, it stays where it is.
bool LoadPosition(registry::RegistryPaths& reg, std::string_view path, ui::Slider& slider);

// Digits only: what a numeric combo may write ("Choose" may not).
bool IsWholeNumber(std::string_view text);

}  // namespace orv::tweaks
