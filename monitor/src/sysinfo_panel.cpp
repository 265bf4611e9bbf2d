#include "monitor/sysinfo_panel.h"

#include <cmath>
#include <cstdio>

#include "monitor/winver.h"
#include "platform/regvalue.h"
#include "platform/text.h"

namespace orv::monitor {

using namespace orv::platform;

namespace {

double RoundToFourDecimals(double v) {
    return std::round(v * 10000.0) / 10000.0;
}

// Up to four decimals, trailing zeros and a bare point dropped.
std::string FourDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

}  // namespace

std::string SystemSizeText(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {" Bytes", " KB", " MB", " GB", " TB", " PB"};
    constexpr int kLimit = 5;
    double value = static_cast<double>(bytes);
    double test = value;
    int unit = 0;
    while (test > 1 && unit != kLimit) {
        ++unit;
        value = RoundToFourDecimals(value / 1024.0);
        test = value / 1024.0;
    }
    return FourDecimals(value) + kUnits[unit];
}

std::string ArchitectureName(std::uint16_t architecture) {
    switch (architecture) {
        case kArchX86:
            return "x86";
        case kArchAmd64:
            return "x64";
        case kArchArm:
            return "ARM";
        case kArchArm64:
            return "ARM64";
        case kArchIa64:
            return "Itanium";
        default:
            return "Unknown (" + std::to_string(architecture) + ")";
    }
}

SystemInfoPanel::SystemInfoPanel(ui::Form& form, ui::Frame& frame, Platform& platform)
    : form_(form), frame_(frame), platform_(platform) {}

std::optional<std::string> SystemInfoPanel::ReadMachineText(std::string_view key,
                                                            std::string_view value) {
    HKey k = 0;
    if (platform_.registry.OpenKey(kLocalMachine, key, kKeyRead, k) != kSuccess)
        return std::nullopt;
    RegValue v;
    Status s = platform_.registry.QueryValue(k, value, v);
    platform_.registry.CloseKey(k);
    if (s != kSuccess) return std::nullopt;
    std::string text;
    switch (v.type) {
        case kRegSz:
        case kRegExpandSz:
            text = DataAsText(v);
            break;
        case kRegMultiSz: {
            // Several lines of firmware text ("ACPI...", "BIOS Date: ..."): one line.
            std::u16string all = DataAsUtf16(v);
            std::string joined;
            std::size_t start = 0;
            while (start < all.size()) {
                std::size_t end = all.find(u'\0', start);
                if (end == std::u16string::npos) end = all.size();
                if (end > start) {
                    if (!joined.empty()) joined += ' ';
                    joined += text::Utf16ToUtf8(all.substr(start, end - start));
                }
                start = end + 1;
            }
            text = joined;
            break;
        }
        case kRegDword:
            if (v.data.size() >= 4)
                text = std::to_string(static_cast<std::uint32_t>(v.data[0]) |
                                      (static_cast<std::uint32_t>(v.data[1]) << 8) |
                                      (static_cast<std::uint32_t>(v.data[2]) << 16) |
                                      (static_cast<std::uint32_t>(v.data[3]) << 24));
            break;
        default:
            break;
    }
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<std::string> SystemInfoPanel::OperatingSystemName() {
    auto name = ReadMachineText(kCurrentVersionKey, "ProductName");
    auto v = platform_.system_info.Version();
    if (!name) {
        if (!v) return std::nullopt;
        return WindowsVersionText(*v);
    }
    // Windows 11 kept the product name of Windows 10; only the build tells.
    if (v && v->major == 10 && v->build >= 22000 && name->rfind("Windows 10", 0) == 0)
        name->replace(0, 10, "Windows 11");
    return name;
}

std::optional<std::string> SystemInfoPanel::OperatingSystemId() {
    auto v = platform_.system_info.Version();
    if (!v) return std::nullopt;
    std::string id = std::to_string(v->build);
    if (auto ubr = ReadMachineText(kCurrentVersionKey, "UBR")) id += "." + *ubr;
    return id;
}

std::optional<std::string> SystemInfoPanel::ProcessorSpeed() {
    auto mhz = ReadMachineText(kProcessorKey, "~MHz");
    if (!mhz) return std::nullopt;
    return *mhz + " MHz";
}

std::optional<std::string> SystemInfoPanel::BiosDate() {
    if (auto d = ReadMachineText(kBiosKey, "BIOSReleaseDate")) return d;
    return ReadMachineText(kSystemKey, "SystemBiosDate");
}

std::optional<std::string> SystemInfoPanel::BiosVersion() {
    if (auto d = ReadMachineText(kBiosKey, "BIOSVersion")) return d;
    return ReadMachineText(kSystemKey, "SystemBiosVersion");
}

void SystemInfoPanel::Fill() {
    auto put = [](ui::TextBox& box, const std::optional<std::string>& text) {
        if (text) box.SetText(*text);
    };
    SystemInfo& info = platform_.system_info;
    put(txtComputerName, info.ComputerName());
    put(txtUSerName, info.UserName());
    auto memory = info.Memory();
    if (memory) {
        txtRAM.SetText(SystemSizeText(memory->total_physical));
        txtPagingFile.SetText(SystemSizeText(memory->total_page_file));
    }
    auto v = info.Version();
    if (v)
        txtOSversion.SetText(std::to_string(v->major) + "." + std::to_string(v->minor) + "." +
                             std::to_string(v->build));
    put(txtOS, OperatingSystemName());
    put(txtOSID, OperatingSystemId());
    txtCompatible.SetText(ArchitectureName(info.ProcessorArchitecture()));
    put(normspeed, ProcessorSpeed());
    put(biosdate, BiosDate());
    put(biosver, BiosVersion());
}

}  // namespace orv::monitor
