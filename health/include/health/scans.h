// The six scans: each reads its source and returns the entries it judges
// stale, in the order it found them, without changing anything. The window
// (pchealth.h) backs them up, removes them and shows the counts.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "health/removal.h"
#include "platform/platform.h"

namespace orv::health {

inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::string_view kAppPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
inline constexpr std::string_view kOpenSaveMruKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
inline constexpr std::string_view kHtmlHelpKey = "Software\\Microsoft\\Windows\\HTML Help";
inline constexpr std::string_view kHelpKey = "Software\\Microsoft\\Windows\\Help";
inline constexpr std::string_view kSharedDllsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

struct ScanResult {
    std::vector<std::string> candidates;  // what was tested, in source order
    std::vector<Removal> stale;           // what should go, in the order found
    int skipped = 0;                      // entries that could not be judged (kept)
    int unreadable_folders = 0;           // the shortcut walk only
};

// Progress: the position of the item in hand among `count`.
using Progress = std::function<void(std::size_t index, std::size_t count)>;

// Uninstall entries offering no way to uninstall: no value whose name holds
// "uninstallstring", no product code in braces, and not a component of
// something else (SystemComponent = 1, ParentKeyName, WindowsInstaller = 1).
// A key that cannot be read is kept.
ScanResult ScanUninstall(platform::Platform& p, const Progress& progress);
// Application paths whose default value names a program that is gone.
ScanResult ScanAppPaths(platform::Platform& p, const Progress& progress);
// Open/save dialog history values naming files that are gone.
ScanResult ScanHistory(platform::Platform& p, const Progress& progress);
// HTML Help and classic Help registers naming files that are gone.
ScanResult ScanHelpFiles(platform::Platform& p);
// Shared-library usage counts for libraries that are gone.
ScanResult ScanSharedDlls(platform::Platform& p, const Progress& progress);

// The shortcut walk: every folder below `root` ("C:\"), never through a
// junction or symbolic link, going on past folders it cannot list. `entering`
// is called with each folder as the walk enters it (the window shows it and
// lets pending events run). Candidates are sorted without regard to case.
ScanResult ScanShortcuts(platform::Platform& p, std::string_view root,
                         const std::function<void(const std::string&)>& entering);

}  // namespace orv::health
