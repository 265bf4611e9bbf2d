// Processes, memory and version: the facts of the machine the system
// information panel shows. The version is the real one (RtlGetVersion), not
// what GetVersionEx tells a program without a compatibility manifest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orv::platform {

struct MemoryFigures {
    std::uint64_t total_physical = 0;
    std::uint64_t total_page_file = 0;  // the commit limit, as GlobalMemoryStatusEx counts it
};

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platform_id = 0;  // 1 the 9x family, 2 NT
};

// GetNativeSystemInfo's wProcessorArchitecture.
inline constexpr std::uint16_t kArchX86 = 0;
inline constexpr std::uint16_t kArchArm = 5;
inline constexpr std::uint16_t kArchIa64 = 6;
inline constexpr std::uint16_t kArchAmd64 = 9;
inline constexpr std::uint16_t kArchArm64 = 12;

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual std::optional<std::string> ComputerName() = 0;
    virtual std::optional<std::string> UserName() = 0;
    virtual std::optional<MemoryFigures> Memory() = 0;
    virtual std::optional<OsVersion> Version() = 0;
    virtual std::uint16_t ProcessorArchitecture() = 0;
    // The user's decimal separator (LOCALE_SDECIMAL), "." when it cannot be read.
    virtual std::string DecimalSeparator() = 0;
};

}  // namespace orv::platform
