#include "platform/settings_store.h"

#include "platform/regvalue.h"

namespace orv::platform {

std::string RegistrySettingsStore::KeyPath(std::string_view app, std::string_view section) {
    std::string path = "Software\\VB and VBA Program Settings\\";
    path += app;
    path += '\\';
    path += section;
    return path;
}

std::string RegistrySettingsStore::Get(std::string_view app, std::string_view section,
                                       std::string_view key, std::string_view fallback) {
    HKey k = 0;
    if (registry_.OpenKey(kCurrentUser, KeyPath(app, section), kKeyQueryValue, k) != kSuccess)
        return std::string(fallback);
    RegValue value;
    Status st = registry_.QueryValue(k, key, value);
    registry_.CloseKey(k);
    // Only text counts as a stored setting; anything else reads as none.
    if (st != kSuccess || (value.type != kRegSz && value.type != kRegExpandSz))
        return std::string(fallback);
    return DataAsText(value);
}

bool RegistrySettingsStore::Save(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view value) {
    HKey k = 0;
    if (registry_.CreateKey(kCurrentUser, KeyPath(app, section), kKeySetValue, k) != kSuccess)
        return false;
    Status st = registry_.SetValue(k, key, MakeSz(value));
    registry_.CloseKey(k);
    return st == kSuccess;
}

}  // namespace orv::platform
