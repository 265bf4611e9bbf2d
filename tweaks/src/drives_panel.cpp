#include "tweaks/drives_panel.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "monitor/winver.h"
#include "ui/host.h"

namespace orv::tweaks {

using namespace orv::platform;

namespace {

std::string WithSeparator(std::string s, std::string_view sep) {
    auto dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, sep);
    return s;
}

std::string Printf(const char* pattern, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, v);
    return buf;
}

}  // namespace

std::string ShortNumber(double y, std::string_view sep) {
    if (y < 10) return WithSeparator(Printf("%.2f", y), sep);
    if (y < 100) return WithSeparator(Printf("%.1f", y), sep);
    return Printf("%.0f", std::nearbyint(y));  // the default rounding mode: halves to even
}

std::string DriveSizeText(double x, std::string_view sep) {
    if (x <= 999) return Printf("%.0f", x) + " bytes";
    static constexpr const char* kUnits[] = {" KB", " MB", " GB", " TB", " PB"};
    double unit = 1024;
    for (std::size_t i = 0; i + 1 < std::size(kUnits); ++i, unit *= 1024)
        if (x <= 999 * unit) return ShortNumber(x / unit, sep) + kUnits[i];
    return ShortNumber(x / unit, sep) + kUnits[std::size(kUnits) - 1];
}

std::string PercentText(double share, std::string_view sep) {
    return WithSeparator(Printf("%.2f", share * 100), sep) + "%";
}

int ScriptingDriveType(std::uint32_t t) {
    switch (t) {
        case kDriveRemovable:
            return 1;
        case kDriveFixed:
            return 2;
        case kDriveRemote:
            return 3;
        case kDriveCdRom:
            return 4;
        case kDriveRamDisk:
            return 5;
        default:
            return 0;
    }
}

DrivesPanel::DrivesPanel(ui::Form& form, ui::Frame& frame, Platform& platform)
    : form_(form), frame_(frame), platform_(platform) {
    Drive1.onClick = [this] { Drive1_Change(); };
    formatcmd.onClick = [this] { formatcmd_Click(); };
    defragmentcmd.onClick = [this] { defragmentcmd_Click(); };
    iconscmd.onClick = [this] { iconscmd_Click(); };
}

void DrivesPanel::Fill() {
    quiet_ = true;
    Drive1.Clear();
    int c_drive = -1;
    for (const auto& root : platform_.drives.LogicalDrives()) {
        if (root.size() < 2 || root[1] != ':') continue;
        std::string entry{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))),
                          ':'};
        if (entry == "c:") c_drive = static_cast<int>(Drive1.Items().size());
        Drive1.AddItem(entry);
    }
    if (c_drive < 0) {
        // No C: in the list (a machine booted from another letter): show it
        // anyway, so the panel states what it found there.
        Drive1.AddItem("c:");
        c_drive = static_cast<int>(Drive1.Items().size()) - 1;
    }
    if (Drive1.ListIndex() == c_drive)
        ShowDrive(false);
    else
        Drive1.SetListIndex(c_drive);
    quiet_ = false;
}

void DrivesPanel::Refresh() {
    quiet_ = true;
    ShowDrive(false);
    quiet_ = false;
}

void DrivesPanel::Drive1_Change() {
    ShowDrive(!quiet_);
}

void DrivesPanel::ClearFigures(std::string_view text) {
    for (ui::Label* l : {&lblTotal, &lblFree, &lblUsed, &lblPercentFree, &lblPercentUsed})
        l->SetCaption(std::string(text));
    freebar.SetValue(0);
    usedbar.SetValue(0);
}

void DrivesPanel::ShowDrive(bool report) {
    const std::string drive = Drive1.Drive().substr(0, 2);
    if (drive.size() < 2) return;
    const std::string root = drive + "\\";
    const std::uint32_t raw_type = platform_.drives.DriveType(root);
    const int type = ScriptingDriveType(raw_type);
    switch (type) {
        case 1:
            typelbl.SetCaption("Floppy Drive");
            break;
        case 2:
            typelbl.SetCaption("Fixed Drive");
            break;
        case 3:
            typelbl.SetCaption("Network Drive");
            break;
        case 4:
            typelbl.SetCaption("CD-Rom Drive");
            break;
        case 5:
            typelbl.SetCaption("RAM Disk");
            break;
        default:
            if (raw_type == kDriveNoRootDir) typelbl.SetCaption("Not available");
            break;
    }
    // Only a fixed drive can be defragmented.
    defragmentcmd.SetEnabled(type == 2);

    DiskSpace space;
    const Status s = platform_.drives.FreeSpace(root, space);
    if (s != kSuccess || space.total_bytes == 0) {
        // No medium, a network path that is gone, a letter that vanished.
        if (type == 1 || type == 4) {
            ClearFigures("0");
            if (report)
                form_.GetHost().MessageBox(&form_, type == 1 ? kNoDiskText : kNoCdText,
                                           type == 1 ? kNoDiskTitle : kNoCdTitle,
                                           ui::kMbOk | ui::kMbIconError);
        } else {
            ClearFigures("");
        }
        return;
    }
    const std::string sep = platform_.system_info.DecimalSeparator();
    const double total = static_cast<double>(space.total_bytes);
    const double free = static_cast<double>(space.free_bytes);
    const double used = total - free;
    lblTotal.SetCaption(DriveSizeText(total, sep));
    lblFree.SetCaption(DriveSizeText(free, sep));
    lblUsed.SetCaption(DriveSizeText(used, sep));
    lblPercentFree.SetCaption(PercentText(free / total, sep));
    lblPercentUsed.SetCaption(PercentText(used / total, sep));
    usedbar.SetValue(static_cast<int>(std::lround(used / total * 100)));
    freebar.SetValue(static_cast<int>(std::lround(free / total * 100)));
}

void DrivesPanel::formatcmd_Click() {
    const std::string text = Drive1.Drive();
    if (text.empty()) return;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (letter < 'a' || letter > 'z') return;
    // The shell's own dialog asks before anything is formatted; what it
    // answers (done, cancelled, refused) it has already shown the user.
    platform_.drives.FormatDrive(form_.Handle(), static_cast<unsigned>(letter - 'a'));
}

void DrivesPanel::defragmentcmd_Click() {
    const std::string windows = platform_.files.WindowsFolder();
    const std::string version = monitor::GetWindowsVersion(platform_.system_info);
    std::vector<std::string> commands;
    if (version.find("98") != std::string::npos) {
        commands.push_back("\"" + windows + "\\defrag.exe\" ");
    } else {
        // The management-console snap-in of 2000 and XP; Vista replaced it
        // with a program of its own in the system folder.
        const std::string snap_in = windows + "\\system32\\dfrg.msc";
        if (platform_.files.GetAttributes(snap_in) != kInvalidAttributes)
            commands.push_back("\"" + windows + "\\system32\\mmc.exe\" \"" + snap_in + "\" ");
        commands.push_back("\"" + windows + "\\System32\\dfrgui.exe\"");
    }
    for (const auto& command : commands)
        if (platform_.drives.StartProgram(command, kShowMinimized) == kSuccess) return;
    form_.GetHost().MessageBox(&form_, kNoDefragmenterText, "Defragment",
                               ui::kMbOk | ui::kMbIconWarning);
}

}  // namespace orv::tweaks
