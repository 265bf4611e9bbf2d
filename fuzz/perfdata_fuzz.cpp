// Any performance-data block: the walk either reads a sample inside the
// bytes given or raises a numbered error, and the sampler over it never
// reads past the block whatever the processor count.
#include <vector>

#include "fuzz.h"
#include "monitor/cpu_load.h"
#include "platform/error.h"
#include "platform/sim/processes.h"
#include "platform/sim/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    std::vector<std::uint8_t> block(data, data + size);
    try {
        monitor::ReadProcessorSample(block);
    } catch (const orv::Error&) {
    }
    sim::SimRegistry reg;
    sim::SimProcesses processes;
    processes.system.number_of_processors = size ? 1u + data[size - 1] % 8 : 1u;
    reg.SetValue(platform::kPerformanceData, "238",
                 platform::RegValue{platform::kRegBinary, block});
    try {
        monitor::CPULoad load(reg, processes);
        load.CollectCPUData();
        load.CollectCPUData();
        for (int i = 0; i < load.GetCPUCount(); ++i) load.GetCPUUsage(i);
    } catch (const orv::Error&) {
    }
    return 0;
}
