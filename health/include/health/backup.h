// Backups of what a check removes, and their restore. One folder per run
// under %LOCALAPPDATA%\Orvelle\Backups, named "<date> <time> <check>":
//   registry.reg   every key tree and value removed (and every value changed,
//                  such as a shortened MRUList) in its earlier state, through
//                  the program's one .reg writer, so it loads back byte for byte;
//   0001.lnk ...   copies of removed files;
//   backup.txt     the manifest (UTF-8), written last: a folder without it is
//                  an unfinished backup and is not offered for restore.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "health/removal.h"
#include "platform/platform.h"

namespace orv::health {

struct BackupInfo {
    std::string folder;  // full path
    std::string check;   // the check's name as the window shows it
    std::string date;    // "2026-12-07 18:30:05"
    int entries = 0;
    struct File {
        std::string copy;  // name inside the folder
        std::uint32_t attributes = 0;
        std::string original;
    };
    std::vector<File> files;
};

struct RestoreOutcome {
    int restored = 0;  // entries back (or already back)
    int failed = 0;
};

// Windows caps the registry at 512 levels; a deeper tree (only a damaged or
// simulated registry has one) cannot be saved and is never removed.
inline constexpr int kMaxKeyDepth = 512;

class BackupStore {
  public:
    explicit BackupStore(platform::Platform& p, std::function<std::tm()> now = {});

    // "<LOCALAPPDATA>\Orvelle\Backups", or "" when the variable is not set.
    std::string Root();
    // Saves `removals` completely or not at all (kSuccess and `out` filled,
    // else the first failure and nothing offered for restore).
    platform::Status Write(std::string_view check, const std::vector<Removal>& removals,
                           BackupInfo& out);
    // Finished backups, newest first.
    std::vector<BackupInfo> List();
    // Puts back what the backup holds; a second restore changes nothing more.
    RestoreOutcome Restore(const BackupInfo& backup);

  private:
    platform::Platform& p_;
    std::function<std::tm()> now_;
};

}  // namespace orv::health
