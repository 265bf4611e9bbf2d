// The Windows version probe: "Windows NT, version: 10.0", with the family
// prefix the drives panel tests for "98". Built on the real version, so a
// program without a manifest is not told it runs on Windows 8.
#pragma once

#include <optional>
#include <string>

#include "platform/system_info.h"

namespace orv::monitor {

// "Windows 98, version: " (9x family, minor 10 and above, so Me too),
// "Windows 95, version: ", "Windows NT, version: ", or no prefix for another
// family; then "major.minor".
std::string WindowsVersionText(const platform::OsVersion& v);

// The text for the running system; empty when the version cannot be read.
std::string GetWindowsVersion(platform::SystemInfo& info);

}  // namespace orv::monitor
