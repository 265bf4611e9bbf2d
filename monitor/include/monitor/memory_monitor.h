// The live processor and memory monitor on the main window's "System
// Monitoring" frame: the processor half (history, load label, zoom and speed
// sliders, the processor tick) and the memory half (free and total memory,
// used share, their bars, the memory tick, the optimiser and its stored
// "optimise automatically" option). The "Tasks" button belongs to the frame's
// owner; the panel only fills and ticks.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/cpu_load.h"
#include "shell/app_context.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::monitor {

inline constexpr std::string_view kAutoOptimizePath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Mem\\Optimize";
inline constexpr std::string_view kMonitorModule = "mainform";
// The optimiser's touch: 21 texts of 500000 two-byte blanks.
inline constexpr int kOptimizeBlocks = 21;
inline constexpr std::size_t kOptimizeBlockChars = 500000;
// Automatic optimisation: at this memory load, at most once in this time.
inline constexpr std::uint32_t kAutoOptimizeLoad = 90;
inline constexpr std::chrono::milliseconds kAutoOptimizeGap{60000};

// Whole number, halves away from zero.
std::int64_t RoundHalfAway(double value);
// The pattern "#,###": rounded, grouped by threes with `separator`; zero
// gives the empty text.
std::string FormatGrouped(double value, std::string_view separator);
// The total shown for `total_bytes`: whole megabytes rounded, plus one.
std::int64_t ShownTotalMB(std::uint64_t total_bytes);

class MonitorPanel {
  public:
    using Clock = std::function<std::chrono::milliseconds()>;
    MonitorPanel(ui::Form& form, ui::Frame& frame, shell::AppContext& ctx, Clock clock = {});
    ~MonitorPanel();

    // The start-up slice: yield, the sampler with its first sample, the
    // memory figures, the total and the bars' maxima.
    void FillMemoryDisplay();
    // Check1 from the stored option; a failed read keeps its design state.
    void ReadAutoOptimize();

    void Timer1_Timer();
    void Timer2_Timer();
    void Slider1_Change();
    void Slider2_Change();
    void optimizecmd_Click();

    // The machine's processor load in percent (0..100): the mean over the
    // processors of the sampler, else the system's processor times, else 0.
    int ProcessorLoad();
    // Allocates and touches the optimiser's blocks, yielding after each.
    void Optimize();
    int OptimizeRuns() const { return optimize_runs_; }

    ui::Frame Frame7;
    ui::Timer Timer1;
    ui::Label Label1;
    ui::Histogram cpuhist;
    ui::Slider Slider1;
    ui::Label SkinLabel3;
    ui::Slider Slider2;
    ui::Label SkinLabel4;
    ui::Frame Frame2;
    ui::Label Label3;
    ui::Label Label5;
    ui::Label SkinLabel1;
    ui::Label label2;
    ui::ProgressBar ProgressBar1;
    ui::Label SkinLabel2;
    ui::Label label4;
    ui::ProgressBar ProgressBar2;
    ui::Timer Timer2;
    ui::CommandButton optimizecmd;
    ui::CheckBox Check1;

  private:
    void ShowTotal();
    void LogOnce(bool& logged, std::int32_t number, std::string_view text,
                 std::string_view procedure);
    std::optional<int> SamplerLoad(std::int32_t& number, std::string& text);
    std::optional<int> TimesLoad(std::int32_t& number, std::string& text);

    shell::AppContext& ctx_;
    Clock clock_;
    std::unique_ptr<CPULoad> cpu_;
    bool sampler_has_processors_ = true;
    // The user's digit-grouping symbol, read once at start-up.
    std::string separator_ = ",";
    platform::MemoryStatus memory_;
    std::int64_t shown_total_ = 0;
    std::optional<platform::ProcessorTimes> last_times_;
    bool load_failure_logged_ = false;
    bool store_failure_logged_ = false;
    std::optional<std::chrono::milliseconds> last_auto_optimize_;
    int optimize_runs_ = 0;
};

}  // namespace orv::monitor
