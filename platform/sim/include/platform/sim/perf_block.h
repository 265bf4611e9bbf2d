// Performance-data blocks as HKEY_PERFORMANCE_DATA returns them for the
// Processor object: the data block header, optionally other objects before
// it, the object with its counter definitions (the user-time counter, then
// the processor-time counter whose raw value is idle time), and one instance
// per processor plus the total, each with its counter block. The simulated
// root serves these; tests build recorded blocks from them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv::sim {

struct PerfInstance {
    std::u16string name;  // "0", "1", ..., "_Total"
    std::int64_t idle = 0;
};

struct PerfBlockLayout {
    std::array<std::uint16_t, 8> system_time{2026, 12, 1, 7, 18, 0, 0, 0};
    std::vector<PerfInstance> instances;
    std::uint32_t object_index = 238;
    std::uint32_t counter_index = 6;
    // Objects of another kind before the processor object.
    int other_objects = 0;
    bool with_object = true;
};

// Instances "0" .. count-1 with the given idle times, then "_Total".
std::vector<PerfInstance> ProcessorInstances(const std::vector<std::int64_t>& idle);

std::vector<std::uint8_t> BuildPerfBlock(const PerfBlockLayout& layout);

// Offsets inside a block that BuildPerfBlock made, for tests that corrupt one field.
inline constexpr std::size_t kPerfHeaderLength = 88;
inline constexpr std::size_t kPerfObjectSize = 64;
inline constexpr std::size_t kPerfCounterSize = 40;

}  // namespace orv::sim
