// What the icon windows write: a drive's icon through "icon=" in the
// [autorun] section of its autorun.inf, a folder's through Desktop.ini and
// the icon file IconX.ico beside it, then Explorer told to read icons again.
// Every file is written beside its target first and then moved over it, so
// a medium that refuses the change (write-protected, not ready, access
// denied) is reported and leaves the files as they were.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/host.h"

namespace orv::tools {

inline constexpr std::string_view kIconTaskTitle = "ardenosoft task";
inline constexpr std::string_view kNotValidIcon = "Not valid icon file, try another one";
inline constexpr std::string_view kFixedDrivesOnly = "This command only supports fixed drives";
inline constexpr std::string_view kFixedDrivesTitle = "IconX - ActiveX Control by Grey Vellum";
inline constexpr std::string_view kFolderIconFile = "IconX.ico";
inline constexpr std::string_view kIconSizeKey = "Control Panel\\desktop\\WindowMetrics";
inline constexpr std::string_view kIconSizeValue = "Shell icon size";

// A path as typed, without the pair of double quotes around it.
std::string Unquoted(std::string_view path);

// The bytes of a valid icon file for the picture at `path` (quotes around
// it allowed): a .ico file as it is when it parses as an icon and is at
// most kMaxIconFileBytes; any other picture the system decodes, converted.
std::optional<std::string> IconFileFor(platform::Platform& platform, std::string_view path);
// The picture to preview for `path`, or nothing when it is not a picture.
std::optional<platform::PictureData> IconPreview(platform::Platform& platform,
                                                 std::string_view path);

// Short words for the reasons a change is refused ("the drive is not ready").
std::string ReasonText(platform::Status status);

class IconWriter {
  public:
    IconWriter(platform::Platform& platform, ui::Host& host, ui::Form* owner)
        : platform_(platform), host_(host), owner_(owner) {}

    // `drive` is "c:"; `icon_path` goes into autorun.inf as typed.
    bool ChangeDriveIcon(std::string_view drive, std::string_view icon_path);

    // TargetFolder without a trailing backslash (a drive root may keep it).
    // IconSaveType is accepted for callers that pass one and not used: a
    // converted picture always holds every size. False when nothing changed.
    bool ChangeFolderIcon(std::string_view TargetFolder, std::string_view PictFile,
                          std::string_view FolderComments, bool CopyIcon,
                          std::string_view PictIndex, int IconSaveType, std::string_view ErrorMsg);

    // Explorer reads its icons again: the association-change notice, then
    // "Shell icon size" raised by one and put back exactly as it was (type
    // and bytes), each change broadcast. A value that is missing, empty or
    // not a number is left alone.
    void RefreshIconCache();

  private:
    void Report(std::string_view path, platform::Status status);
    platform::Status Replace(const std::string& path, std::string_view bytes);
    bool ReadExisting(const std::string& path, std::optional<std::string>& bytes);
    platform::Platform& platform_;
    ui::Host& host_;
    ui::Form* owner_;
};

}  // namespace orv::tools
