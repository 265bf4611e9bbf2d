#include "monitor/winver.h"

namespace orv::monitor {

std::string WindowsVersionText(const platform::OsVersion& v) {
    std::string prefix;
    if (v.platform_id == 1)
        prefix = v.minor >= 10 ? "Windows 98, version: " : "Windows 95, version: ";
    else if (v.platform_id == 2)
        prefix = "Windows NT, version: ";
    return prefix + std::to_string(v.major) + "." + std::to_string(v.minor);
}

std::string GetWindowsVersion(platform::SystemInfo& info) {
    auto v = info.Version();
    return v ? WindowsVersionText(*v) : std::string();
}

}  // namespace orv::monitor
