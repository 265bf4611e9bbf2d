#include "platform/regvalue.h"
#include "platform/sim/machine.h"

namespace orv::sim {

using namespace orv::platform;

SimDisplay::SimDisplay(Registry& registry) : registry_(registry) {
    modes = {{800, 600, 32, 60}, {1024, 768, 32, 60}, {1152, 864, 32, 60}, {1280, 1024, 32, 60}};
    current = modes[1];
    // The classic Windows scheme, enough that every index reads a colour.
    for (int i = 0; i < kColorCount; ++i) colors[i] = 0xC0C0C0;
    colors[kColorDesktop] = 0x808000;
    colors[2] = 0x800000;
    colors[9] = 0xFFFFFF;
}

bool SimDisplay::EnumMode(std::uint32_t index, DisplayMode& mode) {
    if (fail || index >= modes.size()) return false;
    mode = modes[index];
    return true;
}

std::int32_t SimDisplay::ChangeMode(std::uint32_t width, std::uint32_t height) {
    if (fail) return kDispChangeFailed;
    for (const auto& m : modes) {
        if (m.width == width && m.height == height) {
            current.width = width;
            current.height = height;
            ++mode_changes;
            return kDispChangeSuccessful;
        }
    }
    return kDispChangeBadMode;
}

std::uint32_t SimDisplay::GetSysColor(int index) {
    if (index < 0 || index >= kColorCount) return 0;
    return colors[index];
}

bool SimDisplay::SetSysColors(std::span<const int> indices, std::span<const std::uint32_t> c) {
    if (fail || indices.size() != c.size()) return false;
    for (int i : indices)
        if (i < 0 || i >= kColorCount) return false;
    for (std::size_t i = 0; i < indices.size(); ++i) colors[indices[i]] = c[i] & 0xFFFFFF;
    return true;
}

bool SimDisplay::SetWallpaper(std::string_view path) {
    if (fail) return false;
    HKey k = 0;
    if (registry_.CreateKey(kCurrentUser, "Control Panel\\Desktop", kKeyAllAccess, k) != kSuccess)
        return false;
    Status s = registry_.SetValue(k, "Wallpaper", MakeSz(path));
    registry_.CloseKey(k);
    return s == kSuccess;
}

std::optional<bool> SimDisplay::GetFontSmoothing() {
    if (fail) return std::nullopt;
    return font_smoothing;
}

bool SimDisplay::SetFontSmoothing(bool on) {
    if (fail) return false;
    font_smoothing = on;
    ++smoothing_sets;
    return true;
}

}  // namespace orv::sim
