// The "System Information" panel of the main window: eleven facts about the
// machine in read-only fields, filled once at start-up from Windows itself
// (names, memory as 64-bit counts, the real version, the product name, the
// firmware's date and version from the hardware description, the rated
// processor speed). A fact that cannot be read leaves its field empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::monitor {

// The panel's size text: divided by 1024 while more than one of the next unit
// is left, each step kept to four decimals; up to four decimals, trailing
// zeros dropped, then " Bytes", " KB", " MB", " GB", " TB" or " PB".
// 536870912 -> "512 MB", 1048576 -> "1024 KB", 1000 -> "0.9766 KB".
std::string SystemSizeText(std::uint64_t bytes);

// What "Compatible" shows: the instruction set the system runs programs for.
std::string ArchitectureName(std::uint16_t architecture);

// Registry paths the panel reads (below HKEY_LOCAL_MACHINE).
inline constexpr std::string_view kCurrentVersionKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kBiosKey = "HARDWARE\\DESCRIPTION\\System\\BIOS";
inline constexpr std::string_view kSystemKey = "HARDWARE\\DESCRIPTION\\System";
inline constexpr std::string_view kProcessorKey =
    "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

class SystemInfoPanel {
  public:
    SystemInfoPanel(ui::Form& form, ui::Frame& frame, platform::Platform& platform);

    // The start-up fill, field by field in the panel's order.
    void Fill();

    // The product name ("Windows 11 Pro" on build 22000 and later, where the
    // registry still says "Windows 10").
    std::optional<std::string> OperatingSystemName();
    std::optional<std::string> OperatingSystemId();
    std::optional<std::string> ProcessorSpeed();
    std::optional<std::string> BiosDate();
    std::optional<std::string> BiosVersion();

  private:
    // REG_SZ, REG_EXPAND_SZ (unexpanded), REG_MULTI_SZ (joined by blanks) or a
    // number; nothing for a missing or empty value.
    std::optional<std::string> ReadMachineText(std::string_view key, std::string_view value);
    ui::Form& form_;
    ui::Frame& frame_;
    platform::Platform& platform_;

  public:
    // Caption labels and fields, in the panel's order.
    ui::Label SystemSkinLabel{
        form_, "SystemSkinLabel", {"Computer Name", "3029", 240, 360, 2400, 255}, &frame_};
    ui::TextBox txtComputerName{form_, "txtComputerName", {"", "", 2760, 330, 4095, 285}, &frame_};
    ui::Label UserSkinLabel{
        form_, "UserSkinLabel", {"User Name", "3030", 240, 720, 2400, 255}, &frame_};
    ui::TextBox txtUSerName{form_, "txtUSerName", {"", "", 2760, 690, 4095, 285}, &frame_};
    ui::Label RAMSkinLabel{
        form_, "RAMSkinLabel", {"Total Installed RAM", "3031", 240, 1080, 2400, 255}, &frame_};
    ui::TextBox txtRAM{form_, "txtRAM", {"", "", 2760, 1050, 4095, 285}, &frame_};
    ui::Label totalSkinLabel{
        form_, "totalSkinLabel", {"Total Paging File", "3032", 240, 1440, 2400, 255}, &frame_};
    ui::TextBox txtPagingFile{form_, "txtPagingFile", {"", "", 2760, 1410, 4095, 285}, &frame_};
    ui::Label VerSkinLabel{
        form_, "VerSkinLabel", {"Operaing System Ver", "3034", 240, 1800, 2400, 255}, &frame_};
    ui::TextBox txtOSversion{form_, "txtOSversion", {"", "", 2760, 1770, 4095, 285}, &frame_};
    ui::Label OperatingSkinLabel{
        form_, "OperatingSkinLabel", {"Operating System", "3033", 240, 2160, 2400, 255}, &frame_};
    ui::TextBox txtOS{form_, "txtOS", {"", "", 2760, 2130, 4095, 285}, &frame_};
    ui::Label IDSkinLabel{
        form_, "IDSkinLabel", {"Operating System ID", "3035", 240, 2520, 2400, 255}, &frame_};
    ui::TextBox txtOSID{form_, "txtOSID", {"", "", 2760, 2490, 4095, 285}, &frame_};
    ui::Label ComSkinLabel{
        form_, "ComSkinLabel", {"Compatible", "3039", 240, 2880, 2400, 255}, &frame_};
    ui::TextBox txtCompatible{form_, "txtCompatible", {"", "", 2760, 2850, 4095, 285}, &frame_};
    ui::Label PSSkinLabel{
        form_, "PSSkinLabel", {"Processor Speed", "3036", 240, 3240, 2400, 255}, &frame_};
    ui::TextBox normspeed{form_, "normspeed", {"", "", 2760, 3210, 4095, 285}, &frame_};
    ui::Label DateSkinLabel{
        form_, "DateSkinLabel", {"Bios Date", "3038", 240, 3600, 2400, 255}, &frame_};
    ui::TextBox biosdate{form_, "biosdate", {"", "", 2760, 3570, 4095, 285}, &frame_};
    ui::Label VersionSkinLabel{
        form_, "VersionSkinLabel", {"Bios Version", "3037", 240, 3960, 2400, 255}, &frame_};
    ui::TextBox biosver{form_, "biosver", {"", "", 2760, 3930, 4095, 285}, &frame_};
};

}  // namespace orv::monitor
