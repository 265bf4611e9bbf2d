// Files and drives, the volume side: which drives exist, what kind each is,
// how large and how full, and the two programs the drives panel starts (the
// shell's format dialog and a command line).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

// GetDriveType results.
inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemovable = 2;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;
inline constexpr std::uint32_t kDriveCdRom = 5;
inline constexpr std::uint32_t kDriveRamDisk = 6;

// ShowWindow commands used to start programs.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;

struct DiskSpace {
    std::uint64_t total_bytes = 0;
    std::uint64_t free_bytes = 0;  // on the volume, not the caller's quota
};

class Drives {
  public:
    virtual ~Drives() = default;
    // GetLogicalDriveStrings: "C:\", "D:\", ... in letter order.
    virtual std::vector<std::string> LogicalDrives() = 0;
    // GetDriveType of a root ("C:\").
    virtual std::uint32_t DriveType(std::string_view root) = 0;
    // GetDiskFreeSpaceEx; kNotReady for a drive without a medium, other
    // codes for a letter that does not exist or a network path that is gone.
    virtual Status FreeSpace(std::string_view path, DiskSpace& space) = 0;
    // SHFormatDrive: the shell's own dialog, which asks before it formats.
    virtual std::uint32_t FormatDrive(std::uintptr_t owner, unsigned drive) = 0;
    // CreateProcess of a command line, not waited for; kSuccess or the
    // reason it could not start (kFileNotFound, kPathNotFound, ...).
    virtual Status StartProgram(std::string_view command_line, int show) = 0;
};

}  // namespace orv::platform
