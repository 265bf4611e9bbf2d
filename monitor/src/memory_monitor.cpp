#include "monitor/memory_monitor.h"

#include <cmath>
#include <limits>
#include <vector>

#include "platform/error.h"
#include "registry/regpath.h"

namespace orv::monitor {

using namespace orv::platform;

std::int64_t RoundHalfAway(double value) {
    return static_cast<std::int64_t>(std::round(value));
}

std::string FormatGrouped(double value, std::string_view separator) {
    const std::int64_t n = RoundHalfAway(value);
    if (n == 0) return {};
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

std::int64_t ShownTotalMB(std::uint64_t total_bytes) {
    return RoundHalfAway(static_cast<double>(total_bytes) / 1048576.0) + 1;
}

namespace {
// The whole number a text starts with ("1,412 MB" gives 1412), 0 for none.
std::int64_t LeadingNumber(std::string_view text, std::string_view separator) {
    std::int64_t n = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] >= '0' && text[i] <= '9') {
            n = n * 10 + (text[i] - '0');
            ++i;
        } else if (!separator.empty() && i > 0 && text.substr(i, separator.size()) == separator) {
            i += separator.size();
        } else {
            break;
        }
    }
    return n;
}
int ToBar(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, std::numeric_limits<int>::max()));
}
}  // namespace

MonitorPanel::MonitorPanel(ui::Form& f, ui::Frame& frame, shell::AppContext& ctx, Clock clock)
    : Frame7(f, "Frame7", {"Processor usage", "2000", 120, 240, 4815, 2655}, &frame),
      Timer1(f, "Timer1", 1000),
      Label1(f, "Label1", {"", "", 3495, 300, 1200, 285}, &Frame7),
      cpuhist(f, "cpuhist", {"", "", 120, 300, 3255, 1755}, &Frame7),
      Slider1(f, "Slider1", {"", "", 720, 2130, 1575, 420}, &Frame7),
      SkinLabel3(f, "SkinLabel3", {"Zoom", "3000", 120, 2175, 600, 255}, &Frame7),
      Slider2(f, "Slider2", {"", "", 3015, 2130, 1680, 420}, &Frame7),
      SkinLabel4(f, "SkinLabel4", {"Speed", "3001", 2415, 2175, 600, 255}, &Frame7),
      Frame2(f, "Frame2", {"Memory usage", "2001", 120, 3000, 4815, 2280}, &frame),
      Label3(f, "Label3", {"Total Size:", "3002", 120, 300, 1800, 255}, &Frame2),
      Label5(f, "Label5", {"", "", 2040, 300, 2640, 255}, &Frame2),
      SkinLabel1(f, "SkinLabel1", {"Free Physical Memory:", "3003", 120, 660, 1800, 255}, &Frame2),
      label2(f, "label2", {"", "", 2040, 660, 2640, 255}, &Frame2),
      ProgressBar1(f, "ProgressBar1", {"", "", 120, 975, 4560, 255}, &Frame2),
      SkinLabel2(f, "SkinLabel2", {"Used memory        :", "3004", 120, 1320, 1800, 255}, &Frame2),
      label4(f, "label4", {"", "", 2040, 1320, 1200, 255}, &Frame2),
      ProgressBar2(f, "ProgressBar2", {"", "", 120, 1635, 4560, 255}, &Frame2),
      Timer2(f, "Timer2", 300),
      optimizecmd(f, "optimizecmd", {"Optimize", "1009", 2325, 5340, 1215, 375}, &frame),
      Check1(f, "Check1", {"Optimize automatically when necessary", "5000", 120, 1950, 4560, 285},
             &Frame2),
      ctx_(ctx),
      clock_(clock ? std::move(clock) : Clock([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
              std::chrono::steady_clock::now().time_since_epoch());
      })) {
    Slider1.SetRange(30, 100);
    Slider1.SetValue(30);
    Slider2.SetRange(300, 1000);
    Slider2.SetValue(300);
    cpuhist.SetMaxLines(30);
    cpuhist.SetNewColor(0x0000FF00);
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Slider1.onChange = Slider1.onScroll = [this] { Slider1_Change(); };
    Slider2.onChange = Slider2.onScroll = [this] { Slider2_Change(); };
    optimizecmd.onClick = [this] { optimizecmd_Click(); };
}

MonitorPanel::~MonitorPanel() = default;

void MonitorPanel::LogOnce(bool& logged, std::int32_t number, std::string_view text,
                           std::string_view procedure) {
    if (logged) return;
    logged = true;
    ctx_.log.LogError(number, text, kMonitorModule, procedure);
}

void MonitorPanel::FillMemoryDisplay() {
    ctx_.host.DoEvents();  // InitializeCPU
    separator_ = ctx_.platform.processes.ThousandsSeparator();
    try {
        cpu_ = std::make_unique<CPULoad>(ctx_.platform.registry, ctx_.platform.processes);
        cpu_->CollectCPUData();  // the baseline the first tick measures against
    } catch (const orv::Error& e) {
        // The tick finds its load elsewhere and reports when nothing answers.
        if (e.Number() == kErrNoProcessorObject) sampler_has_processors_ = false;
    }
    ProcessorTimes t;
    if (ctx_.platform.processes.GetProcessorTimes(t) == kSuccess) last_times_ = t;
    if (ctx_.platform.processes.GetMemoryStatus(memory_) != kSuccess) return;
    ShowTotal();
}

void MonitorPanel::ShowTotal() {
    shown_total_ = ShownTotalMB(memory_.total_phys);
    Label5.SetCaption(std::to_string(shown_total_) + " MB");
    ProgressBar1.SetRange(0, ToBar(shown_total_));
    ProgressBar2.SetRange(0, ToBar(shown_total_));
}

void MonitorPanel::ReadAutoOptimize() {
    registry::RegistryPaths paths(ctx_.platform.registry, ctx_.platform.environment);
    paths.LoadCheck(kAutoOptimizePath, Check1);
}

std::optional<int> MonitorPanel::SamplerLoad(std::int32_t& number, std::string& text) {
    if (!cpu_ || !sampler_has_processors_) return std::nullopt;
    try {
        cpu_->CollectCPUData();
        const std::int32_t count = cpu_->GetCPUCount();
        if (count < 1) return std::nullopt;
        double sum = 0;
        for (std::int32_t i = 0; i < count; ++i) sum += cpu_->GetCPUUsage(i);
        return static_cast<int>(std::clamp<std::int64_t>(RoundHalfAway(sum / count), 0, 100));
    } catch (const orv::Error& e) {
        // A block without the processor object (Wine, some locked-down
        // systems) will not grow one: later ticks go straight to the
        // processor times instead of asking for the block again.
        if (e.Number() == kErrNoProcessorObject) sampler_has_processors_ = false;
        number = e.Number();
        text = e.what();
        return std::nullopt;
    }
}

// The same idle-time arithmetic over the whole machine's processor times.
std::optional<int> MonitorPanel::TimesLoad(std::int32_t& number, std::string& text) {
    ProcessorTimes t;
    if (Status st = ctx_.platform.processes.GetProcessorTimes(t); st != kSuccess) {
        number = st;
        text = "Unable to read the processor times";
        return std::nullopt;
    }
    const auto prev = last_times_;
    last_times_ = t;
    if (!prev) return 0;
    const double idle = static_cast<double>(t.idle - prev->idle);
    const double kernel = static_cast<double>(t.kernel - prev->kernel);
    // Windows counts idle time in kernel time; older Wine does not, which
    // shows as less kernel than idle time.
    const double total =
        (kernel < idle ? kernel + idle : kernel) + static_cast<double>(t.user - prev->user);
    if (total <= 0) return 0;
    return static_cast<int>(
        std::clamp<std::int64_t>(RoundHalfAway((1 - idle / total) * 100), 0, 100));
}

int MonitorPanel::ProcessorLoad() {
    std::int32_t number = 0;
    std::string text;
    if (auto load = SamplerLoad(number, text)) return *load;
    if (auto load = TimesLoad(number, text)) return *load;
    LogOnce(load_failure_logged_, number, text, "Timer1_Timer");
    return 0;
}

void MonitorPanel::Timer1_Timer() {
    ctx_.host.DoEvents();
    const int load = ProcessorLoad();
    cpuhist.AddSample(load);
    Label1.SetCaption(std::to_string(load) + " %");
}

void MonitorPanel::Slider1_Change() {
    cpuhist.SetMaxLines(Slider1.Value());
}

void MonitorPanel::Slider2_Change() {
    Timer1.SetInterval(1300 - Slider2.Value());
}

void MonitorPanel::Timer2_Timer() {
    // A step that fails leaves its labels and bars as they were. A tick that
    // comes before the start-up knew the total (its yield lets timers run)
    // learns it first, so no figure is ever shown "of 0 MB".
    if (ctx_.platform.processes.GetMemoryStatus(memory_) == kSuccess && shown_total_ == 0)
        ShowTotal();
    const std::string& sep = separator_;
    const double free_mb = static_cast<double>(memory_.avail_phys) / 1048576.0;
    std::string free_text = FormatGrouped(free_mb, sep);
    std::string text = free_text + " MB of " + std::to_string(shown_total_) + " MB";
    if (free_text.empty()) text = "0 " + text;
    label2.SetCaption(text);
    if (memory_.total_phys > 0) {
        const double used = static_cast<double>(memory_.total_phys -
                                                std::min(memory_.avail_phys, memory_.total_phys)) /
                            static_cast<double>(memory_.total_phys) * 100.0;
        label4.SetCaption(FormatGrouped(used, "") + "%");
    }
    ProgressBar1.SetValue(ToBar(LeadingNumber(label2.Caption(), sep)));
    ProgressBar2.SetValue(ToBar(ProgressBar2.Max() * LeadingNumber(label4.Caption(), "") / 100));

    if (Check1.Value() == 1 && memory_.memory_load >= kAutoOptimizeLoad) {
        const auto now = clock_();
        if (!last_auto_optimize_ || now - *last_auto_optimize_ >= kAutoOptimizeGap) {
            last_auto_optimize_ = now;
            Optimize();
        }
    }
}

void MonitorPanel::Optimize() {
    ++optimize_runs_;
    std::vector<std::u16string> blocks(kOptimizeBlocks);
    for (auto& block : blocks) {
        block.assign(kOptimizeBlockChars, u' ');
        ctx_.host.DoEvents();
    }
}

void MonitorPanel::optimizecmd_Click() {
    registry::RegistryPaths paths(ctx_.platform.registry, ctx_.platform.environment);
    if (Status st = paths.ApplyCheck(kAutoOptimizePath, Check1.Value()); st != kSuccess)
        LogOnce(store_failure_logged_, st, "Unable to store the optimisation option",
                "optimizecmd_Click");
    Optimize();
}

}  // namespace orv::monitor
