// What the monitor spends on each tick, and a process-list refresh of a
// crowded machine, on the simulated platform.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "monitor/enumfrm.h"
#include "monitor/memory_monitor.h"
#include "platform/sim/perf_block.h"
#include "platform/sim/world.h"
#include "ui/headless.h"

namespace {

using namespace orv;

struct Machine {
    Machine() : sandbox(std::filesystem::temp_directory_path() / "orvelle-bench"), world(sandbox) {}
    ~Machine() {
        std::error_code ec;
        std::filesystem::remove_all(sandbox, ec);
    }
    std::filesystem::path sandbox;
    sim::World world;
    ui::HeadlessHost host;
    shell::ErrorLog log{world.files};
    ui::Forms forms;
    shell::AppContext ctx{host, world.platform, forms, log};
};

struct Window : ui::Form {
    explicit Window(ui::Host& h) : ui::Form(h, "mainform", "Orvelle", 9000, 8000) {}
    ui::Frame SMframe{*this, "SMframe", {"System Monitoring", "", 2025, 240, 5055, 5910}};
};

// One processor tick over a performance-data block of `cpus` processors.
void BM_ProcessorTick(benchmark::State& state) {
    Machine m;
    const int cpus = static_cast<int>(state.range(0));
    m.world.processes.system.number_of_processors = static_cast<std::uint32_t>(cpus);
    std::vector<std::vector<std::uint8_t>> blocks;
    for (int s = 0; s < 2; ++s) {
        sim::PerfBlockLayout layout;
        layout.system_time[6] = static_cast<std::uint16_t>(s);
        layout.instances = sim::ProcessorInstances(std::vector<std::int64_t>(cpus, s * 5'000'000));
        blocks.push_back(sim::BuildPerfBlock(layout));
    }
    Window w(m.host);
    monitor::MonitorPanel panel(w, w.SMframe, m.ctx);
    m.host.ShowForm(w, nullptr, false);
    panel.FillMemoryDisplay();
    int n = 0;
    for (auto _ : state) {
        m.world.registry.SetValue(platform::kPerformanceData, "238",
                                  platform::RegValue{platform::kRegBinary, blocks[++n % 2]});
        panel.Timer1_Timer();
    }
}
BENCHMARK(BM_ProcessorTick)->Arg(2)->Arg(64);

void BM_MemoryTick(benchmark::State& state) {
    Machine m;
    Window w(m.host);
    monitor::MonitorPanel panel(w, w.SMframe, m.ctx);
    m.host.ShowForm(w, nullptr, false);
    panel.FillMemoryDisplay();
    for (auto _ : state) panel.Timer2_Timer();
}
BENCHMARK(BM_MemoryTick);

// A refresh of the process manager with N processes, one of them replaced
// each time so the list really changes.
void BM_ProcessListRefresh(benchmark::State& state) {
    Machine m;
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i)
        m.world.processes.Start(static_cast<std::uint32_t>(8 + 4 * i),
                                "process" + std::to_string(i) + ".exe");
    struct NoSkin : shell::MainWindow {
        void SkinForm(ui::Form&) override {}
    } main;
    monitor::enumfrm f(m.ctx, main);
    m.host.ShowForm(f, nullptr, false);
    std::uint32_t next = 100000;
    for (auto _ : state) {
        m.world.processes.End(m.world.processes.table.front().entry.id);
        m.world.processes.Start(next += 4, "newcomer.exe");
        f.Display();
    }
}
BENCHMARK(BM_ProcessListRefresh)->Arg(500);

}  // namespace

BENCHMARK_MAIN();
