// What the health scans will spend their time on: walking large keys and
// writing backups of them.
#include <benchmark/benchmark.h>

#include "platform/regvalue.h"
#include "platform/sim/world.h"
#include "registry/regfile.h"
#include "registry/routines.h"

namespace {

using namespace orv;

// An uninstall-like tree: `keys` subkeys of eight values each.
void Fill(sim::SimRegistry& reg, int keys) {
    for (int i = 0; i < keys; ++i) {
        platform::HKey k = 0;
        reg.CreateKey(platform::kLocalMachine, "SOFTWARE\\Uninstall\\App" + std::to_string(i),
                      platform::kKeyAllAccess, k);
        reg.SetValue(k, "DisplayName", platform::MakeSz("Application number " + std::to_string(i)));
        reg.SetValue(k, "UninstallString",
                     platform::MakeSz("C:\\Program Files\\App\\unins.exe /x"));
        reg.SetValue(k, "InstallLocation",
                     platform::MakeSz("%ProgramFiles%\\App", platform::kRegExpandSz));
        reg.SetValue(k, "EstimatedSize", platform::MakeDword(static_cast<std::uint32_t>(i)));
        reg.SetValue(k, "NoModify", platform::MakeDword(1));
        reg.SetValue(k, "Blob", platform::MakeBinary(std::vector<std::uint8_t>(64, 0xA5)));
        reg.SetValue(k, "Tags", platform::MakeMultiSz({"one", "two", "three"}));
        reg.SetValue(k, "", platform::MakeSz("default"));
        reg.CloseKey(k);
    }
}

void BM_EnumerateTree(benchmark::State& state) {
    sim::SimRegistry reg;
    sim::SimEnvironment env;
    Fill(reg, static_cast<int>(state.range(0)));
    registry::RegistryRoutines routines(reg, env);
    for (auto _ : state) {
        std::size_t n = 0;
        for (const auto& key :
             routines.EnumRegistryKeys(platform::kLocalMachine, "SOFTWARE\\Uninstall"))
            n += routines.EnumRegistryValues(platform::kLocalMachine, "SOFTWARE\\Uninstall\\" + key)
                     .size();
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EnumerateTree)->Arg(100)->Arg(2000);

void BM_ExportBackup(benchmark::State& state) {
    sim::SimRegistry reg;
    Fill(reg, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string text =
            registry::ExportRegText(reg, platform::kLocalMachine, "SOFTWARE\\Uninstall");
        benchmark::DoNotOptimize(registry::EncodeRegFile(text));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExportBackup)->Arg(100)->Arg(2000);

void BM_ImportBackup(benchmark::State& state) {
    sim::SimRegistry source;
    Fill(source, static_cast<int>(state.range(0)));
    std::string text =
        registry::ExportRegText(source, platform::kLocalMachine, "SOFTWARE\\Uninstall");
    for (auto _ : state) {
        sim::SimRegistry reg;
        benchmark::DoNotOptimize(registry::ImportRegText(reg, text).values);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportBackup)->Arg(100)->Arg(2000);

}  // namespace

BENCHMARK_MAIN();
