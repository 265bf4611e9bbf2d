// Installing a font file: copied under its own name into the machine's fonts
// folder, listed under HKLM's font list, added to the session's font table and
// announced with WM_FONTCHANGE. Where the machine's folder or list cannot be
// written (a standard user) and Windows can (10 1809, build 17763, and later),
// the font is installed for the user alone instead: the user's fonts folder
// and HKCU's list, which holds the full path. A step that fails undoes the
// steps before it, so a refused or failed install leaves nothing behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orv::tools {

inline constexpr std::string_view kFontsKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
// Larger than any real font; such a file is refused by its size, unread.
inline constexpr std::uint64_t kMaxFontFileBytes = 512ull * 1024 * 1024;
// The first Windows that loads fonts installed for one user (10 1809).
inline constexpr std::uint32_t kPerUserFontsBuild = 17763;

enum class InstallOutcome {
    Installed,         // for every user
    InstalledForUser,  // for this user only
    Unreadable,        // the chosen file could not be read
    TooLarge,
    NotAFont,
    FileExists,      // the fonts folder has a file of that name
    NameRegistered,  // a font of that name is installed already
    NotAllowed,      // the machine refused and Windows is too old to install per user
    Failed,          // a step failed; what was done before it is undone
};

struct InstallResult {
    InstallOutcome outcome = InstallOutcome::Failed;
    std::string family;       // the (first) font's family: its name in the face list
    std::string value_name;   // "<Full name> (TrueType)"
    std::string file_name;    // the chosen file's own name, kept in the fonts folder
    std::string destination;  // where the file went (or was to go)
    std::string step;         // for Failed: the step that failed
    // What the user is told.
    std::string Message() const;
};

// `strPath`: the chosen file.
InstallResult InstallFonts(platform::Platform& platform, std::string_view strPath);

}  // namespace orv::tools
