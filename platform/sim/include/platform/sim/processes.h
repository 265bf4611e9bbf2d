// Processes, memory and version of the simulated machine: state a test seeds
// (the process table, memory figures, processor times, version) and calls it
// can make fail.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace orv::sim {

class SimProcesses : public platform::Processes {
  public:
    struct Process {
        platform::ProcessEntry entry;
        std::int64_t creation_time = 0;
        std::uint32_t exit_code = platform::kStillActive;
        // The access rights an OpenProcess may have; more is refused (5).
        std::uint32_t grantable = 0x1FFFFF;
    };

    platform::Status SnapshotProcesses(std::vector<platform::ProcessEntry>& out) override;
    platform::Status OpenProcess(std::uint32_t access, std::uint32_t id,
                                 platform::ProcessHandle& out) override;
    platform::Status GetExitCode(platform::ProcessHandle process, std::uint32_t& code) override;
    platform::Status Terminate(platform::ProcessHandle process, std::uint32_t exit_code) override;
    platform::Status CreationTime(platform::ProcessHandle process, std::int64_t& time) override;
    platform::Status CloseHandle(platform::ProcessHandle process) override;
    platform::Status GetMemoryStatus(platform::MemoryStatus& out) override;
    void GetSystemInfo(platform::SystemInfoRecord& out) override;
    platform::Status GetVersion(platform::VersionRecord& out) override;
    platform::Status GetProcessorTimes(platform::ProcessorTimes& out) override;
    std::string ThousandsSeparator() override { return thousands_separator; }

    // Test set-up. Processes run until terminated; creation times default to
    // a running counter so every start is a distinct process.
    Process& Start(std::uint32_t id, std::string exe_file);
    void End(std::uint32_t id);
    const Process* Find(std::uint32_t id) const;
    // Every later call of `operation` ("SnapshotProcesses", "OpenProcess",
    // "GetExitCode", "Terminate", "CreationTime", "CloseHandle",
    // "GetMemoryStatus", "GetVersion", "GetProcessorTimes") returns `status`;
    // kSuccess lets it work again.
    void Fail(const std::string& operation, platform::Status status);
    // Handles still open (a leak shows here).
    std::size_t OpenHandles() const { return handles_.size(); }
    // Exit codes that Terminate was given, by process id.
    std::map<std::uint32_t, std::uint32_t> terminated;

    std::vector<Process> table;  // in snapshot order
    platform::MemoryStatus memory{30,         1ull << 31, 1ull << 30, 1ull << 32,
                                  1ull << 31, 1ull << 47, 1ull << 46};
    platform::SystemInfoRecord system{2, 4096, 9};
    platform::VersionRecord version{10, 0, 19045, 2, ""};
    platform::ProcessorTimes processor_times;
    std::string thousands_separator = ",";

  private:
    platform::Status Failing(const std::string& operation) const;
    Process* ByHandle(platform::ProcessHandle h, platform::Status& st);
    std::map<std::string, platform::Status> failing_;
    std::map<platform::ProcessHandle, std::pair<std::uint32_t, std::int64_t>> handles_;
    platform::ProcessHandle next_handle_ = 0x400;
    std::int64_t next_creation_ = 132'000'000'000'000'000;
};

}  // namespace orv::sim
