// Listing the subkeys and values of a key through the handle-based registry
// interface, with each value's data turned into something a scan can compare.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/environment.h"
#include "platform/registry.h"

namespace orv::registry {

// Subkey names in enumeration order, each also findable by name (without
// regard to case, as the registry compares them).
class KeyList {
  public:
    void Add(std::string name);
    std::size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    const std::string& operator[](std::size_t i) const { return names_[i]; }
    auto begin() const { return names_.begin(); }
    auto end() const { return names_.end(); }
    bool Contains(std::string_view name) const;

  private:
    std::vector<std::string> names_;
    std::map<std::string, std::size_t> index_;  // folded name -> position
};

// Element 1 of a value pair: nothing (a type the scans do not read), a number
// (REG_DWORD, signed 32 bits: 0xFFFFFFFF is -1, as RegRead gives it), or a text.
using ValueData = std::variant<std::monostate, std::int64_t, std::string>;

struct ValueItem {
    std::string name;  // "" for the default value
    ValueData data;
};
using ValueList = std::vector<ValueItem>;

class RegistryRoutines {
  public:
    RegistryRoutines(platform::Registry& registry, platform::Environment& environment)
        : registry_(registry), environment_(environment) {}

    // An empty key name enumerates `root` itself. A key that cannot be opened
    // gives an empty list.
    KeyList EnumRegistryKeys(platform::HKey root, std::string_view key_name);
    ValueList EnumRegistryValues(platform::HKey root, std::string_view key_name);

    // The conversion applied to each value's data.
    ValueData Convert(const platform::RegValue& value);

  private:
    platform::Registry& registry_;
    platform::Environment& environment_;
};

// Cuts `item` before its first NUL (in place) and returns it.
std::string TrimNull(std::string& item);

}  // namespace orv::registry
