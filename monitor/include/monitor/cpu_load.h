// The processor load sampler. On the NT family it reads the registry's
// performance-data block for the Processor object (title index 238) and
// turns two samples of each processor's idle-time counter (title index 6)
// into a load in percent; on the 9x family it reads the kernel's CPUUsage
// statistic under HKEY_DYN_DATA. Failures are raised as orv::Error with the
// numbers below.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/processes.h"
#include "platform/registry.h"

namespace orv::monitor {

inline constexpr std::int32_t kErrVersion = static_cast<std::int32_t>(0x80041F41);
inline constexpr std::int32_t kErrStartStat = static_cast<std::int32_t>(0x80041F42);
inline constexpr std::int32_t kErrCpuIndex = static_cast<std::int32_t>(0x80041F43);
inline constexpr std::int32_t kErrNoProcessorObject = static_cast<std::int32_t>(0x80041F44);
inline constexpr std::int32_t kErrNoCounter = static_cast<std::int32_t>(0x80041F45);
inline constexpr std::int32_t kErrPerfData = static_cast<std::int32_t>(0x80041F46);
// The language runtime's numbers for the two arithmetic faults a sample can
// meet: an instance number past the processor count, a result out of range.
inline constexpr std::int32_t kErrSubscript = 9;
inline constexpr std::int32_t kErrOverflow = 6;

inline constexpr std::uint32_t kProcessorObject = 238;
inline constexpr std::uint32_t kIdleTimeCounter = 6;

// One processor instance's idle-time counter read from a block.
struct ProcessorReading {
    std::int64_t index = 0;
    std::int64_t idle = 0;
};

struct ProcessorSample {
    std::int64_t time = 0;  // the block's SystemTime as 100-ns units since 1601
    std::vector<ProcessorReading> readings;
};

// Walks a performance-data block as returned for the Processor object.
// Every header, name, counter definition, counter block and counter value is
// checked against the bytes present: a block that points outside itself, a
// zero length that would never move the walk on, or a SystemTime that is no
// date raises kErrPerfData rather than reading past the data. Instances with
// a non-numeric name (the total) are skipped.
ProcessorSample ReadProcessorSample(std::span<const std::uint8_t> block);

// SystemTimeToFileTime over the eight 16-bit fields of a SYSTEMTIME (year,
// month, day of week, day, hour, minute, second, milliseconds); nullopt for a
// time that is no valid date, as the call fails there.
std::optional<std::int64_t> SystemTimeToFileTime(std::span<const std::uint16_t, 8> st);

class CPULoad {
  public:
    // Reads the version record; kErrVersion when it cannot.
    CPULoad(platform::Registry& registry, platform::Processes& processes);
    ~CPULoad();
    CPULoad(const CPULoad&) = delete;
    CPULoad& operator=(const CPULoad&) = delete;

    // Takes one sample. A failed sample changes no counter or sample time.
    void CollectCPUData();
    std::int32_t GetCPUCount();
    // The load of one processor (zero-based) over the last two samples, in
    // percent, rounded half to even; not clamped.
    std::int32_t GetCPUUsage(std::int32_t cpu_index);

    bool NtFamily() const { return nt_; }
    std::int32_t BufferSize() const { return buffer_size_; }

  private:
    void CollectNt();
    void Collect9x();

    platform::Registry& registry_;
    platform::Processes& processes_;
    std::int32_t count_ = -1;
    std::int32_t buffer_size_ = 4096;
    bool nt_ = false;
    bool started_ = false;
    std::uint32_t load9x_ = 0;
    platform::HKey stat_key_ = 0;
    platform::VersionRecord version_;
    std::int64_t time_ = 0;
    std::int64_t prev_time_ = 0;
    std::vector<std::int64_t> values_;
    std::vector<std::int64_t> prev_values_;
};

}  // namespace orv::monitor
