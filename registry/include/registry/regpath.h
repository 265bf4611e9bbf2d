// Registry values named by one full textual path, the way a user types them
// into a registry editor: "HKCU\Control Panel\Desktop\MenuShowDelay", or with
// a trailing backslash for a key's default value. Two operations, RegRead and
// RegWrite, with the data kinds a tweak uses: a number or a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/environment.h"
#include "platform/registry.h"

namespace orv::registry {

struct RegPath {
    platform::HKey root = 0;
    std::string key;    // below the root, may be empty
    std::string value;  // empty: the key's default value
};

// Roots by full name (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT,
// HKEY_USERS, HKEY_CURRENT_CONFIG) or short form (HKCU, HKLM, HKCR), without
// regard to case; the root must be followed by a backslash. A path that does
// not parse makes RegRead and RegWrite fail with ERROR_PATH_NOT_FOUND, as the
// scripting object does for an invalid root.
std::optional<RegPath> ParseRegPath(std::string_view path);

// What a read gives back: a number for REG_DWORD (signed 32 bits, so
// 0xFFFFFFFF reads -1, as the enumeration routines give it) and REG_QWORD, a text for the
// text types (expanded for REG_EXPAND_SZ, ended at the first NUL).
using RegData = std::variant<std::int64_t, std::string>;

// A read either has data or a Win32 status saying why not. There is no
// default: a caller that wants one has to write it.
class ReadResult {
  public:
    ReadResult(platform::Status status) : status_(status) {}  // NOLINT: failure
    ReadResult(RegData data) : data_(std::move(data)) {}      // NOLINT: success
    explicit operator bool() const { return data_.has_value(); }
    platform::Status Status() const { return status_; }
    const RegData& Data() const { return *data_; }
    // The data as the number a control holds; nothing when it is not one
    // (a text that is not a number, or a number outside 16 bits: a check box
    // or list position never is).
    std::optional<int> AsInt16() const;
    std::optional<std::int64_t> AsNumber() const;
    // Numbers become their decimal digits.
    std::string AsText() const;

  private:
    platform::Status status_ = platform::kSuccess;
    std::optional<RegData> data_;
};

class RegistryPaths {
  public:
    RegistryPaths(platform::Registry& registry, platform::Environment& environment)
        : registry_(registry), environment_(environment) {}

    ReadResult RegRead(std::string_view path);
    // `type` "" (text) or "REG_DWORD"; "REG_SZ", "REG_EXPAND_SZ" and "REG_BINARY"
    // are understood too. Missing keys are created; an existing value is
    // replaced whatever its type was.
    platform::Status RegWrite(std::string_view path, const RegData& data,
                              std::string_view type = {});

    // The program's own text read: "Error" when the read fails, the data is
    // empty, or the value is neither a number nor a single text.
    std::string RegReadValue(std::string_view path);

    // The load and apply patterns the panels are written with. A load leaves
    // the control alone when the read fails (its design state stands) and
    // says whether it set it.
    // A check box has three states (cleared, checked, grey); any other number
    // is no state at all, and taking it would have the next Apply write it back.
    template <class CheckLike>
    bool LoadCheck(std::string_view path, CheckLike& box) {
        auto n = RegRead(path).AsInt16();
        if (!n || *n < 0 || *n > 2) return false;
        box.SetValue(*n);
        return true;
    }
    template <class Setter>
    bool LoadNumber(std::string_view path, Setter&& set) {
        auto n = RegRead(path).AsInt16();
        if (!n) return false;
        set(*n);
        return true;
    }
    template <class Setter>
    bool LoadText(std::string_view path, Setter&& set) {
        std::string t = RegReadValue(path);
        if (t == "Error") return false;
        set(t);
        return true;
    }
    platform::Status ApplyCheck(std::string_view path, int state) {
        return RegWrite(path, RegData{std::int64_t{state}}, "REG_DWORD");
    }
    platform::Status ApplyText(std::string_view path, std::string_view text) {
        return RegWrite(path, RegData{std::string(text)});
    }
    // One setting for the current user and for the default profile:
    // "HKCU\<rest>" then "HKEY_USERS\.DEFAULT\<rest>". Both are attempted; the
    // first failure is returned.
    platform::Status ApplyBothProfiles(std::string_view rest, const RegData& data,
                                       std::string_view type = {});

  private:
    platform::Registry& registry_;
    platform::Environment& environment_;
};

}  // namespace orv::registry
