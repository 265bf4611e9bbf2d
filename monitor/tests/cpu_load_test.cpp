#include "monitor/cpu_load.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/error.h"
#include "platform/sim/perf_block.h"
#include "platform/sim/processes.h"
#include "platform/sim/registry.h"

namespace orv::monitor {
namespace {

using namespace orv::platform;
using sim::BuildPerfBlock;
using sim::PerfBlockLayout;
using sim::ProcessorInstances;

constexpr std::int64_t kSecond = 10'000'000;

std::optional<std::int32_t> ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const orv::Error& e) {
        return e.Number();
    }
    return std::nullopt;
}

class CpuLoadTest : public ::testing::Test {
  protected:
    void Serve(const std::vector<std::uint8_t>& block) {
        registry.SetValue(kPerformanceData, "238", RegValue{kRegBinary, block});
    }
    // A block at `second` seconds past 18:00 with these idle times.
    void Serve(int second, const std::vector<std::int64_t>& idle) {
        PerfBlockLayout layout;
        layout.system_time[6] = static_cast<std::uint16_t>(second);
        layout.instances = ProcessorInstances(idle);
        Serve(BuildPerfBlock(layout));
    }
    sim::SimRegistry registry;
    sim::SimProcesses processes;
};

TEST_F(CpuLoadTest, LoadsFromTwoSamplesPerProcessor) {
    struct Case {
        const char* name;
        int cpus;
        std::vector<std::int64_t> first, second;  // idle times, one second apart
        std::vector<std::int32_t> expect;
    };
    std::vector<std::int64_t> idle64a(64), idle64b(64);
    std::vector<std::int32_t> expect64(64);
    for (int i = 0; i < 64; ++i) {
        idle64a[static_cast<std::size_t>(i)] = 1000 * kSecond;
        idle64b[static_cast<std::size_t>(i)] = 1000 * kSecond + (100 - i) * kSecond / 100;
        expect64[static_cast<std::size_t>(i)] = i;
    }
    const Case cases[] = {
        {"one processor", 1, {5 * kSecond}, {5 * kSecond + kSecond / 4}, {75}},
        {"two processors", 2, {0, 7}, {kSecond, 7 + kSecond / 10}, {0, 90}},
        {"sixty-four processors", 64, idle64a, idle64b, expect64},
        {"idle beyond elapsed is negative", 1, {0}, {3 * kSecond / 2}, {-50}},
        {"half rounds to even", 2, {0, 0}, {kSecond * 125 / 1000, kSecond * 375 / 1000}, {88, 62}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        processes.system.number_of_processors = static_cast<std::uint32_t>(c.cpus);
        CPULoad load(registry, processes);
        Serve(0, c.first);
        load.CollectCPUData();
        Serve(1, c.second);
        load.CollectCPUData();
        ASSERT_EQ(load.GetCPUCount(), c.cpus);
        for (int i = 0; i < c.cpus; ++i)
            EXPECT_EQ(load.GetCPUUsage(i), c.expect[static_cast<std::size_t>(i)]) << "cpu " << i;
    }
}

TEST_F(CpuLoadTest, FirstSampleMeasuresAgainstZeroAndEqualTimesGiveZero) {
    processes.system.number_of_processors = 1;
    CPULoad load(registry, processes);
    Serve(0, {kSecond});
    EXPECT_EQ(load.GetCPUUsage(0), 100);  // takes the first sample itself
    load.CollectCPUData();                // same SystemTime again
    EXPECT_EQ(load.GetCPUUsage(0), 0);
}

// Blocks that must be refused with a numbered error, leaving the sampler's
// last good sample in place.
TEST_F(CpuLoadTest, MalformedBlocksRaiseAndKeepTheLastSample) {
    auto good = [] {
        PerfBlockLayout s;
        s.instances = ProcessorInstances({kSecond, kSecond});
        return s;
    };
    const std::size_t object = sim::kPerfHeaderLength;
    const std::size_t counter6 = object + sim::kPerfObjectSize + sim::kPerfCounterSize;
    const std::size_t instance = object + sim::kPerfObjectSize + 2 * sim::kPerfCounterSize;
    auto patch = [](std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
        return b;
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> block;
        std::int32_t error;
    };
    PerfBlockLayout no_object = good();
    no_object.with_object = false;
    no_object.other_objects = 2;
    PerfBlockLayout wrong_counter = good();
    wrong_counter.counter_index = 7;
    PerfBlockLayout three = good();
    three.instances = ProcessorInstances({1, 2, 3});
    PerfBlockLayout bad_date = good();
    bad_date.system_time[1] = 13;
    const auto base = BuildPerfBlock(good());
    std::vector<std::uint8_t> truncated(base.begin(), base.end() - 12);
    std::vector<std::uint8_t> bad_signature = base;
    bad_signature[0] = 'Q';
    const Case cases[] = {
        {"no processor object", BuildPerfBlock(no_object), kErrNoProcessorObject},
        {"no idle-time counter", BuildPerfBlock(wrong_counter), kErrNoCounter},
        {"bad signature", bad_signature, kErrPerfData},
        {"empty block", {}, kErrPerfData},
        {"truncated block", truncated, kErrPerfData},
        {"instance beyond the processor count", BuildPerfBlock(three), kErrSubscript},
        {"SystemTime no date", BuildPerfBlock(bad_date), kErrPerfData},
        {"header length past the end", patch(base, 24, 0x7FFFFFF0), kErrPerfData},
        {"object count beyond the objects", patch(BuildPerfBlock(no_object), 28, 9), kErrPerfData},
        {"object longer than the block", patch(base, object, 0x10000), kErrPerfData},
        {"counter of zero length",
         patch(patch(base, counter6 - sim::kPerfCounterSize + 4, 9),
               counter6 - sim::kPerfCounterSize, 0),
         kErrPerfData},
        {"counter offset outside its block", patch(base, counter6 + 36, 4000), kErrPerfData},
        {"instance count beyond the data", patch(base, object + 40, 1000), kErrPerfData},
        {"instance name outside the instance", patch(base, instance + 16, 0xFFFFFFF0),
         kErrPerfData},
        {"instance length zero", patch(base, instance, 0), kErrPerfData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        processes.system.number_of_processors = 2;
        CPULoad load(registry, processes);
        Serve(0, {0, 0});
        load.CollectCPUData();
        Serve(1, {kSecond / 2, kSecond / 4});
        load.CollectCPUData();
        Serve(c.block);
        EXPECT_EQ(ErrorOf([&] { load.CollectCPUData(); }), c.error);
        EXPECT_EQ(load.GetCPUUsage(0), 50);
        EXPECT_EQ(load.GetCPUUsage(1), 75);
    }
}

TEST_F(CpuLoadTest, ProcessorIndexAndVersionErrors) {
    processes.system.number_of_processors = 2;
    Serve(0, {0, 0});
    CPULoad nt(registry, processes);
    EXPECT_EQ(ErrorOf([&] { nt.GetCPUUsage(-1); }), kErrCpuIndex);
    EXPECT_EQ(ErrorOf([&] { nt.GetCPUUsage(2); }), kErrCpuIndex);
    EXPECT_EQ(ErrorOf([&] { nt.GetCPUUsage(1); }), std::nullopt);

    processes.Fail("GetVersion", kInvalidParameter);
    EXPECT_EQ(ErrorOf([&] { CPULoad broken(registry, processes); }), kErrVersion);
}

TEST_F(CpuLoadTest, NineXFamilyReadsTheKernelStatistic) {
    processes.version = {4, 10, 2222, 1, ""};
    auto put = [&](const char* key, std::uint32_t value) {
        HKey k = 0;
        registry.CreateKey(kDynData, key, kKeyAllAccess, k);
        registry.SetValue(k, "KERNEL\\CPUUsage",
                          RegValue{kRegBinary, {static_cast<std::uint8_t>(value), 0, 0, 0}});
        registry.CloseKey(k);
    };
    {
        CPULoad load(registry, processes);
        EXPECT_FALSE(load.NtFamily());
        EXPECT_EQ(ErrorOf([&] { load.CollectCPUData(); }), kErrStartStat);
        put("PerfStats\\StartStat", 0);
        EXPECT_EQ(ErrorOf([&] { load.CollectCPUData(); }), kErrPerfData);
        put("PerfStats\\StatData", 42);
        EXPECT_EQ(load.GetCPUUsage(0), 42);
        EXPECT_EQ(ErrorOf([&] { load.GetCPUUsage(1); }), kErrCpuIndex);
        put("PerfStats\\StopStat", 0);
    }
    EXPECT_EQ(registry.OpenHandles(), 0u);
}

TEST(SystemTimeTest, ConvertsValidDatesOnly) {
    struct Case {
        const char* name;
        std::array<std::uint16_t, 8> st;
        std::optional<std::int64_t> expect;
    };
    const Case cases[] = {
        {"epoch of the count", {1601, 1, 1, 1, 0, 0, 0, 0}, 0},
        {"unix epoch", {1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000},
        {"leap day with milliseconds", {2000, 2, 2, 29, 0, 0, 1, 5}, 125962560010050000},
        {"no leap day in 1900", {1900, 2, 3, 29, 0, 0, 0, 0}, std::nullopt},
        {"month 13", {2020, 13, 0, 1, 0, 0, 0, 0}, std::nullopt},
        {"hour 24", {2020, 1, 0, 1, 24, 0, 0, 0}, std::nullopt},
        {"before 1601", {1600, 12, 0, 31, 0, 0, 0, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SystemTimeToFileTime(c.st), c.expect);
    }
}

}  // namespace
}  // namespace orv::monitor
