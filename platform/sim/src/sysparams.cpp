#include "platform/sim/sysparams.h"

#include <filesystem>
#include <string>

#include "platform/regvalue.h"
#include "platform/sim/world.h"

namespace orv::sim {

using namespace orv::platform;

namespace {

struct Stored {
    std::uint32_t get;  // the action that reads the value back
    const char* key;    // below HKCU, where SPIF_UPDATEINIFILE keeps it
    const char* value_name;
};

// Where Windows keeps each value the set actions change (as REG_SZ text).
const Stored* StoredFor(std::uint32_t set_action) {
    static const Stored kKeyboardSpeed{kSpiGetKeyboardSpeed, "Control Panel\\Keyboard",
                                       "KeyboardSpeed"};
    static const Stored kKeyboardDelay{kSpiGetKeyboardDelay, "Control Panel\\Keyboard",
                                       "KeyboardDelay"};
    static const Stored kMouseSpeed{kSpiGetMouseSpeed, "Control Panel\\Mouse", "MouseSensitivity"};
    static const Stored kTrails{kSpiGetMouseTrails, "Control Panel\\Mouse", "MouseTrails"};
    static const Stored kWheel{kSpiGetWheelScrollLines, "Control Panel\\Desktop",
                               "WheelScrollLines"};
    static const Stored kMenu{kSpiGetMenuShowDelay, "Control Panel\\Desktop", "MenuShowDelay"};
    switch (set_action) {
        case kSpiSetKeyboardSpeed:
            return &kKeyboardSpeed;
        case kSpiSetKeyboardDelay:
            return &kKeyboardDelay;
        case kSpiSetMouseSpeed:
            return &kMouseSpeed;
        case kSpiSetMouseTrails:
            return &kTrails;
        case kSpiSetWheelScrollLines:
            return &kWheel;
        case kSpiSetMenuShowDelay:
            return &kMenu;
        default:
            return nullptr;
    }
}

void StoreInProfile(SimRegistry& registry, const char* key, const char* name,
                    const std::string& text) {
    HKey k = 0;
    if (registry.CreateKey(kCurrentUser, key, kKeySetValue, k) != kSuccess) return;
    registry.SetValue(k, name, MakeSz(text));
    registry.CloseKey(k);
}

}  // namespace

SimSystemParameters::SimSystemParameters(SimRegistry& registry) : registry_(registry) {}

bool SimSystemParameters::GetInt(std::uint32_t action, int& value) {
    if (failing.count(action)) return false;
    auto it = values.find(action);
    if (it == values.end()) return false;
    value = it->second;
    return true;
}

bool SimSystemParameters::Set(std::uint32_t action, std::uint32_t ui_param, std::uintptr_t pv,
                              std::uint32_t flags) {
    calls.push_back({action, ui_param, pv, flags});
    if (failing.count(action)) return false;
    int value = 0;
    std::string stored;
    if (action == kSpiSetMouseButtonSwap) {
        buttons_swapped = ui_param != 0;
        if (flags & kSpifUpdateIniFile)
            StoreInProfile(registry_, "Control Panel\\Mouse", "SwapMouseButtons",
                           buttons_swapped ? "1" : "0");
    } else if (const Stored* s = StoredFor(action)) {
        value = action == kSpiSetMouseSpeed ? static_cast<int>(pv) : static_cast<int>(ui_param);
        values[s->get] = value;
        if (flags & kSpifUpdateIniFile)
            StoreInProfile(registry_, s->key, s->value_name, std::to_string(value));
    } else {
        return false;  // an action this machine does not know: ERROR_INVALID_PARAMETER
    }
    if (flags & kSpifSendChange) broadcasts.emplace_back();
    return true;
}

bool SimSystemParameters::SetDoubleClickTime(std::uint32_t ms) {
    if (failing.count(0)) return false;
    double_click_ms = ms == 0 ? 500 : ms;  // 0 restores the system default
    return true;
}

bool SimSystemParameters::ExitSession(std::uint32_t flags, std::uint32_t reason) {
    exits.push_back({flags, reason});
    return !failing.count(kFailExit);
}

void SimSystemParameters::BroadcastSettingChange(std::string_view area) {
    broadcasts.emplace_back(area);
}

std::int32_t SimShell::EmptyRecycleBin(std::uintptr_t owner, std::string_view root,
                                       std::uint32_t flags) {
    empty_requests.push_back({owner, std::string(root), flags});
    if (empty_result != 0 || !files) return empty_result;
    std::filesystem::path bin = files->HostPath(kRecycleBin);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(bin, ec))
        std::filesystem::remove_all(entry.path(), ec);
    return 0;
}

std::string SimShell::BrowseForFolder(std::uintptr_t, std::string_view title) {
    browse_titles.emplace_back(title);
    if (folder_answers.empty()) return {};
    std::string answer = std::move(folder_answers.front());
    folder_answers.pop_front();
    return answer;
}

}  // namespace orv::sim
