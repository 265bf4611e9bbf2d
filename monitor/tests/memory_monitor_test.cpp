#include "monitor/memory_monitor.h"

#include "monitor_fixture.h"
#include "platform/sim/perf_block.h"
#include "registry/regpath.h"

namespace orv::monitor {
namespace {

using namespace orv::platform;
using testing::MonitorTest;

constexpr std::uint64_t kMB = 1048576;

struct MainWindowStandIn : ui::Form {
    explicit MainWindowStandIn(ui::Host& h) : ui::Form(h, "mainform", "Orvelle", 9000, 8000) {}
    ui::Frame SMframe{*this, "SMframe", {"System Monitoring", "", 2025, 240, 5055, 5910}};
};

class PanelTest : public MonitorTest {
  public:
    void Start() {
        host.ShowForm(form, nullptr, false);
        panel.FillMemoryDisplay();
    }
    void ServeBlock(int second, std::vector<std::int64_t> idle) {
        sim::PerfBlockLayout layout;
        layout.system_time[6] = static_cast<std::uint16_t>(second);
        layout.instances = sim::ProcessorInstances(idle);
        ServeBlock(sim::BuildPerfBlock(layout));
    }
    // A valid block with no objects at all, as Wine returns.
    void ServeEmptyBlock() {
        sim::PerfBlockLayout empty;
        empty.with_object = false;
        ServeBlock(sim::BuildPerfBlock(empty));
    }
    void ServeBlock(std::vector<std::uint8_t> block) {
        world.registry.SetValue(kPerformanceData, "238", RegValue{kRegBinary, std::move(block)});
    }
    std::optional<std::int64_t> Stored() {
        registry::RegistryPaths paths(world.registry, world.environment);
        return paths.RegRead(kAutoOptimizePath).AsInt16();
    }
    std::chrono::milliseconds now{0};
    MainWindowStandIn form{host};
    MonitorPanel panel{form, form.SMframe, ctx, [this] { return now; }};
};

TEST_F(PanelTest, MemoryFiguresFollowTheMachine) {
    struct Case {
        const char* name;
        double total_mb, free_mb;
        std::string separator;
        std::string label5, label2, label4;
        int bar1, bar2;
    };
    const Case cases[] = {
        {"1023.4 MB rounds to a total of 1024", 1023.4, 412, ",", "1024 MB", "412 MB of 1024 MB",
         "60%", 412, 614},
        {"grouped free memory", 2047, 1412, ",", "2048 MB", "1,412 MB of 2048 MB", "31%", 1412,
         634},
        {"the user's own separator", 6144, 3072, ".", "6145 MB", "3.072 MB of 6145 MB", "50%", 3072,
         3072},
        {"no separator at all", 2047, 1412, "", "2048 MB", "1412 MB of 2048 MB", "31%", 1412, 634},
        {"under half a megabyte free", 1023.4, 0.4, ",", "1024 MB", "0  MB of 1024 MB", "100%", 0,
         1024},
        {"under half a percent used", 1023.4, 1023.0, ",", "1024 MB", "1,023 MB of 1024 MB", "%",
         1023, 0},
        {"64 GB is neither negative nor wrapped", 65536, 1412, ",", "65537 MB",
         "1,412 MB of 65537 MB", "98%", 1412, 64226},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world.processes.memory.total_phys = static_cast<std::uint64_t>(c.total_mb * kMB);
        world.processes.memory.avail_phys = static_cast<std::uint64_t>(c.free_mb * kMB);
        world.processes.thousands_separator = c.separator;
        MainWindowStandIn f(host);
        MonitorPanel p(f, f.SMframe, ctx);
        host.ShowForm(f, nullptr, false);
        p.FillMemoryDisplay();
        ASSERT_TRUE(host.FireTimer(p.Timer2));
        EXPECT_EQ(p.Label5.Caption(), c.label5);
        EXPECT_EQ(p.label2.Caption(), c.label2);
        EXPECT_EQ(p.label4.Caption(), c.label4);
        EXPECT_EQ(p.ProgressBar1.Max(), std::stoi(c.label5));
        EXPECT_EQ(p.ProgressBar1.Value(), c.bar1);
        EXPECT_EQ(p.ProgressBar2.Value(), c.bar2);
    }
}

TEST_F(PanelTest, AFailedMemoryReadKeepsTheFigures) {
    world.processes.memory.total_phys = 2047 * kMB;
    world.processes.memory.avail_phys = 1412 * kMB;
    Start();
    host.FireTimer(panel.Timer2);
    world.processes.Fail("GetMemoryStatus", kInvalidParameter);
    world.processes.memory.avail_phys = 5 * kMB;
    host.FireTimer(panel.Timer2);
    EXPECT_EQ(panel.label2.Caption(), "1,412 MB of 2048 MB");
    EXPECT_EQ(panel.ProgressBar1.Value(), 1412);
}

TEST_F(PanelTest, SlidersSetZoomAndSpeed) {
    Start();
    struct Case {
        int speed, interval;
    };
    for (auto c : {Case{1000, 300}, Case{300, 1000}, Case{650, 650}}) {
        host.Slide(panel.Slider2, c.speed);
        EXPECT_EQ(panel.Timer1.Interval(), c.interval) << c.speed;
    }
    EXPECT_EQ(panel.Timer2.Interval(), 300);
    host.Slide(panel.Slider1, 75);
    EXPECT_EQ(panel.cpuhist.MaxLines(), 75);
    host.Slide(panel.Slider1, 10);  // below the slider's range
    EXPECT_EQ(panel.cpuhist.MaxLines(), 30);
}

TEST_F(PanelTest, ProcessorTickTakesTheFirstSourceThatAnswers) {
    constexpr std::int64_t kSec = 10'000'000;
    struct Case {
        const char* name;
        std::function<void(PanelTest&)> before_start;
        std::function<void(PanelTest&, int)> before_tick;  // with the tick's number
        std::string label;
        bool logged;
    };
    const Case cases[] = {
        {"mean of the processors",
         [](PanelTest& t) {
             t.ServeBlock(0, {0, 0});
         },
         [](PanelTest& t, int n) {
             t.ServeBlock(n, {kSec * 8 / 10 * n, kSec * 4 / 10 * n});
         },
         "40 %", false},
        {"a block without the processor object uses the processor times",
         [](PanelTest& t) { t.ServeEmptyBlock(); },
         [](PanelTest& t, int n) {
             t.world.processes.processor_times = {25 * n, 60 * n, 40 * n};
         },
         "75 %", false},
        {"processor times whose kernel time leaves idle time out",
         [](PanelTest& t) { t.ServeEmptyBlock(); },
         [](PanelTest& t, int n) {
             t.world.processes.processor_times = {60 * n, 10 * n, 30 * n};
         },
         "40 %", false},
        {"no source at all",
         [](PanelTest& t) { t.world.processes.Fail("GetProcessorTimes", kAccessDenied); },
         [](PanelTest&, int) {}, "0 %", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world.files.RemoveFile(log.Path());
        world.processes.Fail("GetProcessorTimes", kSuccess);
        world.processes.processor_times = {};
        c.before_start(*this);
        MainWindowStandIn f(host);
        MonitorPanel p(f, f.SMframe, ctx);
        host.ShowForm(f, nullptr, false);
        p.FillMemoryDisplay();
        const int yields = host.yields;
        for (int i = 1; i <= 3; ++i) {
            c.before_tick(*this, i);
            host.FireTimer(p.Timer1);
        }
        EXPECT_GE(host.yields - yields, 3);
        EXPECT_EQ(p.Label1.Caption(), c.label);
        EXPECT_EQ(p.cpuhist.History().size(), 3u);
        const std::string text = Log();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.logged ? 1 : 0) << text;
    }
}

TEST_F(PanelTest, StoredOptionIsReadAtStartAndWrittenByOptimize) {
    registry::RegistryPaths paths(world.registry, world.environment);
    Start();
    panel.ReadAutoOptimize();
    EXPECT_EQ(panel.Check1.Value(), 0);  // nothing stored: design state

    host.Click(panel.Check1);
    EXPECT_EQ(Stored(), std::nullopt);  // the box alone stores nothing
    const int yields = host.yields;
    host.Click(panel.optimizecmd);
    EXPECT_EQ(Stored(), 1);
    EXPECT_EQ(host.yields - yields, kOptimizeBlocks);
    host.Click(panel.Check1);
    host.Click(panel.optimizecmd);
    EXPECT_EQ(Stored(), 0);

    paths.ApplyCheck(kAutoOptimizePath, 1);
    panel.ReadAutoOptimize();
    EXPECT_EQ(panel.Check1.Value(), 1);
}

TEST_F(PanelTest, AFailedStoreIsLoggedOnceAndTheOptimiserStillRuns) {
    world.registry.Deny(kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies",
                        kKeyCreateSubKey | kKeySetValue);
    Start();
    host.Click(panel.optimizecmd);
    host.Click(panel.optimizecmd);
    EXPECT_EQ(panel.OptimizeRuns(), 2);
    const std::string text = Log();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("at mainform\\optimizecmd_Click"), std::string::npos) << text;
}

TEST_F(PanelTest, AutomaticOptimisationAtHighLoadAtMostOncePerMinute) {
    struct Step {
        const char* name;
        int check;
        std::uint32_t load;
        int seconds;
        int runs;  // total after the tick
    };
    const Step steps[] = {
        {"box unchecked", 0, 95, 0, 0},    {"load below the mark", 1, 89, 1, 0},
        {"load at the mark", 1, 90, 2, 1}, {"again within the minute", 1, 99, 50, 1},
        {"a minute later", 1, 99, 62, 2},  {"unchecked again", 0, 99, 200, 2},
    };
    Start();
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        panel.Check1.SetValue(s.check);
        world.processes.memory.memory_load = s.load;
        now = std::chrono::seconds(s.seconds);
        host.FireTimer(panel.Timer2);
        EXPECT_EQ(panel.OptimizeRuns(), s.runs);
    }
    EXPECT_EQ(Stored(), std::nullopt);
}

TEST(FormatGroupedTest, RoundsHalvesAwayAndGroups) {
    struct Case {
        double value;
        const char* sep;
        std::string expect;
    };
    for (auto c : {Case{0.4, ",", ""}, Case{0.5, ",", "1"}, Case{999.5, ",", "1,000"},
                   Case{1234567.0, "\xC2\xA0",
                        "1\xC2\xA0"
                        "234\xC2\xA0"
                        "567"},
                   Case{2.5, ",", "3"}})
        EXPECT_EQ(FormatGrouped(c.value, c.sep), c.expect) << c.value;
}

}  // namespace
}  // namespace orv::monitor

namespace orv::monitor {
namespace {

TEST_F(PanelTest, HistogramShowsTheNewestSamplesAsItsText) {
    Start();
    for (int i = 1; i <= 35; ++i) panel.cpuhist.AddSample(i);
    EXPECT_EQ(panel.cpuhist.Shown().size(), 30u);
    EXPECT_EQ(panel.cpuhist.Shown().front(), 6);
    host.Slide(panel.Slider1, 32);
    EXPECT_EQ(panel.cpuhist.Caption().substr(0, 8), "4 5 6 7 ");
    EXPECT_EQ(panel.cpuhist.NewColor(), 0x0000FF00u);
}

}  // namespace
}  // namespace orv::monitor

namespace orv::monitor {
namespace {

// The start-up's yield lets the memory timer tick before the total is known.
TEST_F(PanelTest, AMemoryTickBeforeTheStartUpShowsTheRealTotal) {
    world.processes.memory.total_phys = 2047 * kMB;
    world.processes.memory.avail_phys = 1412 * kMB;
    host.ShowForm(form, nullptr, false);
    host.FireTimer(panel.Timer2);
    EXPECT_EQ(panel.label2.Caption(), "1,412 MB of 2048 MB");
    EXPECT_EQ(panel.ProgressBar1.Value(), 1412);
}

}  // namespace
}  // namespace orv::monitor

namespace orv::monitor {
namespace {

TEST_F(PanelTest, HistogramBarsFillSlotsFromTheRight) {
    struct Case {
        const char* name;
        int lines;
        std::vector<int> samples;
        int width, height;
        std::vector<ui::Histogram::Bar> bars;
    };
    const Case cases[] = {
        {"newest at the right edge",
         30,
         {50, 100},
         300,
         100,
         {{280, 50, 289, 100}, {290, 0, 299, 100}}},
        {"out-of-range samples", 30, {-5, 0, 250}, 300, 100, {{290, 0, 299, 100}}},
        {"narrow slots keep no gap", 100, {100}, 150, 10, {{148, 0, 150, 10}}},
        {"no room", 30, {50}, 0, 100, {}},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowStandIn f(host);
        ui::Histogram h(f, "h", {});
        h.SetMaxLines(c.lines);
        for (int v : c.samples) h.AddSample(v);
        EXPECT_EQ(h.Bars(c.width, c.height), c.bars);
    }
}

}  // namespace
}  // namespace orv::monitor
