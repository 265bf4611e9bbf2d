// Processes, memory and version: Toolhelp snapshots, opening, ending and
// asking a process, the machine's memory status, its processor count and
// processor times, and the version record. Results carry Win32 codes (the
// thread's last error where Windows gives only a BOOL).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

// An open process; 0 is never a valid one.
using ProcessHandle = std::uint64_t;

inline constexpr std::uint32_t kProcessTerminate = 0x0001;
inline constexpr std::uint32_t kProcessQueryInformation = 0x0400;
inline constexpr std::uint32_t kProcessQueryLimitedInformation = 0x1000;
// GetExitCodeProcess of a process that is still running.
inline constexpr std::uint32_t kStillActive = 259;

// One PROCESSENTRY32 of a snapshot; `exe_file` is szExeFile up to its first
// NUL (a bare name on NT, a full path on the 9x family).
struct ProcessEntry {
    std::uint32_t id = 0;
    std::uint32_t parent_id = 0;
    std::uint32_t threads = 0;
    std::string exe_file;
};

// GlobalMemoryStatusEx: 64-bit byte counts, so machines past 4 GB report
// their real figures.
struct MemoryStatus {
    std::uint32_t memory_load = 0;  // percent in use
    std::uint64_t total_phys = 0;
    std::uint64_t avail_phys = 0;
    std::uint64_t total_page_file = 0;
    std::uint64_t avail_page_file = 0;
    std::uint64_t total_virtual = 0;
    std::uint64_t avail_virtual = 0;
};

struct SystemInfoRecord {
    std::uint32_t number_of_processors = 0;
    std::uint32_t page_size = 0;
    std::uint16_t processor_architecture = 0;
};

// OSVERSIONINFO: platform id 1 is the 9x family, 2 the NT family.
struct VersionRecord {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint32_t platform_id = 0;
    std::string csd_version;
};

// GetSystemTimes: the whole machine's times summed over its processors, in
// 100-ns units. Kernel time includes idle time.
struct ProcessorTimes {
    std::int64_t idle = 0;
    std::int64_t kernel = 0;
    std::int64_t user = 0;
};

class Processes {
  public:
    virtual ~Processes() = default;

    // CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0) walked with
    // Process32First/Next; the entries in snapshot order.
    virtual Status SnapshotProcesses(std::vector<ProcessEntry>& out) = 0;

    virtual Status OpenProcess(std::uint32_t access, std::uint32_t id, ProcessHandle& out) = 0;
    virtual Status GetExitCode(ProcessHandle process, std::uint32_t& code) = 0;
    virtual Status Terminate(ProcessHandle process, std::uint32_t exit_code) = 0;
    // GetProcessTimes: the creation time, 100-ns units since 1601-01-01 UTC.
    // With the id it names a process for as long as that process lives.
    virtual Status CreationTime(ProcessHandle process, std::int64_t& time) = 0;
    virtual Status CloseHandle(ProcessHandle process) = 0;

    virtual Status GetMemoryStatus(MemoryStatus& out) = 0;
    virtual void GetSystemInfo(SystemInfoRecord& out) = 0;
    virtual Status GetVersion(VersionRecord& out) = 0;
    virtual Status GetProcessorTimes(ProcessorTimes& out) = 0;
    // The user's digit-grouping symbol (GetLocaleInfoEx LOCALE_STHOUSAND),
    // which the memory figures are written with.
    virtual std::string ThousandsSeparator() = 0;
};

}  // namespace orv::platform
