#include "readback.h"

#include <algorithm>

namespace orv::tweaks {

bool LoadState(registry::RegistryPaths& reg, std::string_view path, ui::CheckBox& box) {
    auto n = reg.RegRead(path).AsInt16();
    if (!n || *n < 0 || *n > 2) return false;
    box.SetValue(*n);
    return true;
}

bool LoadPosition(registry::RegistryPaths& reg, std::string_view path, ui::Slider& slider) {
    auto n = reg.RegRead(path).AsNumber();
    if (!n || *n < slider.Min() || *n > slider.Max()) return false;
    slider.SetValue(static_cast<int>(*n));
    return true;
}

bool IsWholeNumber(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace orv::tweaks
