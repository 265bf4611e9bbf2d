// What a check removes, one entry at a time, and how each is carried out.
// The backup (backup.h) saves exactly these entries before any is removed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace orv::health {

struct Removal {
    enum class Kind { kKeyTree, kValue, kFile };
    Kind kind = Kind::kValue;
    platform::HKey root = 0;
    std::string key;    // kKeyTree, kValue: the key path below the root
    std::string value;  // kValue: the value name ("" = default value)
    std::string path;   // kFile: the file's full path
    // kValue in a most-recently-used list: the value's letter also leaves the
    // key's "MRUList", so the list never names an entry that is gone.
    bool in_mru_list = false;
};

inline constexpr std::string_view kMruListValue = "MRUList";

// RegOpenKeyEx with query, set, create-subkey, enumerate, notify and
// create-link rights, then RegDeleteValue.
platform::Status DeleteRegistryValue(platform::Registry& registry, platform::HKey root,
                                     std::string_view key, std::string_view value);

// `mru` without the letter `entry` (a one-letter value name), or `mru` as it
// is when the name is not one letter.
std::string WithoutMruEntry(std::string_view mru, std::string_view entry);

// Carries out one removal; true when the entry is gone. A file is made
// normal first (read-only, hidden and system cleared) and gets its
// attributes back when it cannot be deleted.
bool CarryOut(platform::Platform& p, const Removal& r);

}  // namespace orv::health
