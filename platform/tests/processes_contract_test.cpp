// The processes, memory and version group on both backends.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "backend.h"
#include "platform/processes.h"

namespace orv::testing {
namespace {

using namespace orv::platform;

bool Listed(Processes& p, std::uint32_t id) {
    std::vector<ProcessEntry> all;
    if (p.SnapshotProcesses(all) != kSuccess) return false;
    return std::any_of(all.begin(), all.end(), [&](const ProcessEntry& e) { return e.id == id; });
}

TEST(ProcessesContract, MachineFigures) {
    auto b = MakeTestBackend();
    Processes& p = b->P().processes;
    MemoryStatus m;
    ASSERT_EQ(p.GetMemoryStatus(m), kSuccess);
    EXPECT_GT(m.total_phys, 0u);
    EXPECT_LE(m.avail_phys, m.total_phys);
    EXPECT_LE(m.memory_load, 100u);
    SystemInfoRecord si;
    p.GetSystemInfo(si);
    EXPECT_GE(si.number_of_processors, 1u);
    VersionRecord v;
    ASSERT_EQ(p.GetVersion(v), kSuccess);
    EXPECT_EQ(v.platform_id, 2u);
    EXPECT_GE(v.major, 5u);
    ProcessorTimes t;
    ASSERT_EQ(p.GetProcessorTimes(t), kSuccess);
    EXPECT_GE(t.kernel, t.idle);  // kernel time counts idle time in
}

TEST(ProcessesContract, FindAskAndEndAProcess) {
    auto b = MakeTestBackend();
    Processes& p = b->P().processes;
    const std::uint32_t id = b->StartChild();
    ASSERT_NE(id, 0u);
    std::vector<ProcessEntry> all;
    ASSERT_EQ(p.SnapshotProcesses(all), kSuccess);
    auto it =
        std::find_if(all.begin(), all.end(), [&](const ProcessEntry& e) { return e.id == id; });
    ASSERT_NE(it, all.end());
    EXPECT_NE(it->exe_file.find("orv_test_child.exe"), std::string::npos) << it->exe_file;

    ProcessHandle h = 0;
    ASSERT_EQ(p.OpenProcess(kProcessTerminate | kProcessQueryInformation, id, h), kSuccess);
    std::uint32_t code = 0;
    ASSERT_EQ(p.GetExitCode(h, code), kSuccess);
    EXPECT_EQ(code, kStillActive);
    std::int64_t created = 0, again = 0;
    ASSERT_EQ(p.CreationTime(h, created), kSuccess);
    EXPECT_GT(created, 0);
    ProcessHandle h2 = 0;
    ASSERT_EQ(p.OpenProcess(kProcessQueryLimitedInformation, id, h2), kSuccess);
    ASSERT_EQ(p.CreationTime(h2, again), kSuccess);
    EXPECT_EQ(again, created);  // the same process, the same start
    EXPECT_EQ(p.CloseHandle(h2), kSuccess);

    ASSERT_EQ(p.Terminate(h, 7), kSuccess);
    for (int i = 0; i < 50 && Listed(p, id); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(Listed(p, id));
    ASSERT_EQ(p.GetExitCode(h, code), kSuccess);
    EXPECT_EQ(code, 7u);
    ORV_KNOWN_WINE_GAP(*b, "terminating a process that has ended succeeds") {
        EXPECT_EQ(p.Terminate(h, 7), kAccessDenied);
    }
    EXPECT_EQ(p.CloseHandle(h), kSuccess);
    EXPECT_NE(p.CloseHandle(h), kSuccess);
}

}  // namespace
}  // namespace orv::testing
