// The Drives panel of the main window: for the drive chosen in `Drive1`, its
// type, total, free and used space as sizes and shares, two bars, and the
// launchers of the shell's format dialog and of the system's defragmenter.
// A drive without a medium, a network drive or a letter that vanished gives
// a clear outcome on the panel; only an empty floppy or CD drive asks for a
// disk, as users of the panel know it to.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tweaks {

// The panel's size text: " bytes" up to 999, then KB, MB, GB, TB and PB, each
// while the count is at most 999 of that unit, in the short number form.
// 1000 -> "0.98 KB", 20 GiB -> "20.0 GB", 4e12 -> "3.64 TB".
std::string DriveSizeText(double bytes, std::string_view decimal_separator);
// "0.00" below 10, "0.0" below 100, whole (halves to even) above.
std::string ShortNumber(double y, std::string_view decimal_separator);
// The share as a percentage with two decimals: 0.25 -> "25.00%".
std::string PercentText(double share, std::string_view decimal_separator);

// The scripting drive-type number the panel works with (1 removable, 2 fixed,
// 3 network, 4 CD-ROM, 5 RAM disk, 0 unknown) from a GetDriveType result.
int ScriptingDriveType(std::uint32_t drive_type);

inline constexpr std::string_view kNoDiskText = "There is no disk in the floppy drive!!";
inline constexpr std::string_view kNoDiskTitle = "Insert Disk";
inline constexpr std::string_view kNoCdText = "There is no CD in the drive!!";
inline constexpr std::string_view kNoCdTitle = "Insert CD-Rom";
inline constexpr std::string_view kNoDefragmenterText =
    "The defragmenter of this system could not be started.";

class DrivesPanel {
  public:
    DrivesPanel(ui::Form& form, ui::Frame& frame, platform::Platform& platform);

    // Start-up: the drive list, "c:" chosen, its figures shown without messages.
    void Fill();
    // The figures again for the drive now chosen, without messages.
    void Refresh();

    void Drive1_Change();
    void formatcmd_Click();
    void defragmentcmd_Click();
    void iconscmd_Click() {
        if (OpenIcons) OpenIcons();
    }
    // Opens the icon windows; set by the program (they live in tools/).
    std::function<void()> OpenIcons;

  private:
    void ShowDrive(bool report);
    void ClearFigures(std::string_view text);

    ui::Form& form_;
    ui::Frame& frame_;
    platform::Platform& platform_;
    bool quiet_ = false;

  public:
    ui::DriveList Drive1{form_, "Drive1", {"", "", 240, 360, 2535, 315}, &frame_};
    ui::Label lblTypeCaption{
        form_, "lblTypeCaption", {"Drive type", "3007", 240, 960, 1695, 255}, &frame_};
    ui::Label typelbl{form_, "typelbl", {"", "", 2040, 960, 2295, 255}, &frame_};
    ui::Label lblTotalCaption{
        form_, "lblTotalCaption", {"Total Size", "3002", 240, 1380, 1695, 255}, &frame_};
    ui::Label lblTotal{form_, "lblTotal", {"", "", 2040, 1380, 1455, 255}, &frame_};
    ui::Label lblFreeCaption{
        form_, "lblFreeCaption", {"Free Space", "3006", 240, 1800, 1695, 255}, &frame_};
    ui::Label lblFree{form_, "lblFree", {"", "", 2040, 1800, 1455, 255}, &frame_};
    ui::Label lblPercentFree{form_, "lblPercentFree", {"", "", 3600, 1800, 1095, 255}, &frame_};
    ui::Label lblUsedCaption{
        form_, "lblUsedCaption", {"Used Space", "3005", 240, 2220, 1695, 255}, &frame_};
    ui::Label lblUsed{form_, "lblUsed", {"", "", 2040, 2220, 1455, 255}, &frame_};
    ui::Label lblPercentUsed{form_, "lblPercentUsed", {"", "", 3600, 2220, 1095, 255}, &frame_};
    ui::Label lblFreeBar{form_, "lblFreeBar", {"Free", "3008", 240, 2760, 855, 255}, &frame_};
    ui::ProgressBar freebar{form_, "freebar", {"", "", 1140, 2730, 5535, 315}, &frame_};
    ui::Label lblUsedBar{form_, "lblUsedBar", {"Used", "3009", 240, 3240, 855, 255}, &frame_};
    ui::ProgressBar usedbar{form_, "usedbar", {"", "", 1140, 3210, 5535, 315}, &frame_};
    ui::CommandButton formatcmd{
        form_, "formatcmd", {"Format", "1011", 4080, 4080, 1215, 375}, &frame_};
    ui::CommandButton defragmentcmd{
        form_, "defragmentcmd", {"Defragment", "1012", 5460, 4080, 1335, 375}, &frame_};
    ui::CommandButton iconscmd{
        form_, "iconscmd", {"Icons", "7007", 2700, 4080, 1215, 375}, &frame_};
};

}  // namespace orv::tweaks
