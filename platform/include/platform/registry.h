// Registry group: handle-based access to the registry tree (advapi32 shape).
// Names cross the seam as UTF-8; value data crosses as the bytes the wide API
// stores, so text values are UTF-16LE exactly as Windows keeps them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

// An open key or one of the predefined roots. The roots carry their Win32
// numbers so a handle written in a test reads like the real thing.
using HKey = std::uint64_t;

inline constexpr HKey kClassesRoot = 0x80000000;
inline constexpr HKey kCurrentUser = 0x80000001;
inline constexpr HKey kLocalMachine = 0x80000002;
inline constexpr HKey kUsers = 0x80000003;
inline constexpr HKey kPerformanceData = 0x80000004;
inline constexpr HKey kCurrentConfig = 0x80000005;
inline constexpr HKey kDynData = 0x80000006;

inline constexpr bool IsPredefinedRoot(HKey k) {
    return k >= kClassesRoot && k <= kDynData;
}

enum RegType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegDwordBigEndian = 5,
    kRegLink = 6,
    kRegMultiSz = 7,
    kRegResourceList = 8,
    kRegFullResourceDescriptor = 9,
    kRegResourceRequirementsList = 10,
    kRegQword = 11,
};

// Access masks as Win32 defines them.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyCreateLink = 0x0020;
inline constexpr std::uint32_t kDelete = 0x00010000;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

struct RegValue {
    std::uint32_t type = kRegNone;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValue&) const = default;
};

struct RegKeyInfo {
    std::uint32_t subkeys = 0;
    std::uint32_t values = 0;
    std::uint32_t max_subkey_len = 0;      // characters, without terminator
    std::uint32_t max_value_name_len = 0;  // characters, without terminator
    std::uint32_t max_value_len = 0;       // bytes
};

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyEx: an empty subkey opens a new handle to `parent` itself.
    virtual Status OpenKey(HKey parent, std::string_view subkey, std::uint32_t access,
                           HKey& out) = 0;
    // RegCreateKeyEx: opens the key, creating every missing key on the path.
    virtual Status CreateKey(HKey parent, std::string_view subkey, std::uint32_t access, HKey& out,
                             bool* created = nullptr) = 0;
    // Closing a predefined root is a no-op that succeeds, as on Windows.
    virtual Status CloseKey(HKey key) = 0;

    virtual Status QueryInfoKey(HKey key, RegKeyInfo& info) = 0;
    // RegQueryValueEx with a buffer sized to fit: the whole data, whatever its size.
    virtual Status QueryValue(HKey key, std::string_view name, RegValue& out) = 0;
    virtual Status SetValue(HKey key, std::string_view name, const RegValue& value) = 0;
    virtual Status DeleteValue(HKey key, std::string_view name) = 0;
    // RegDeleteKey: refuses (access denied) a key that still has subkeys.
    virtual Status DeleteKey(HKey parent, std::string_view subkey) = 0;

    // RegEnumKeyEx / RegEnumValue by index; kNoMoreItems past the end. Buffers
    // are the backend's business: names and data come back whole.
    virtual Status EnumKey(HKey key, std::uint32_t index, std::string& name) = 0;
    virtual Status EnumValue(HKey key, std::uint32_t index, std::string& name, RegValue& value) = 0;
};

}  // namespace orv::platform
