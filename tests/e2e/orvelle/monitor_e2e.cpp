// The processor and memory monitor and the process manager of orvelle.exe,
// driven from another process through the automation contract.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace orv::e2e {
namespace {

// "37 %" gives 37; -1 for any other text.
int Percent(const std::string& text) {
    std::smatch m;
    static const std::regex pattern("^([0-9]+) %$");
    return std::regex_match(text, m, pattern) ? std::stoi(m[1]) : -1;
}

// The whole number a text starts with, digit-grouping symbols skipped.
long long Leading(const std::string& text) {
    long long n = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            n = n * 10 + (c - '0');
        else if (c != ',' && c != '.' && c != '\xA0')
            break;
    }
    return n;
}

std::size_t Samples(const std::string& text) {
    std::istringstream in(text);
    std::size_t n = 0;
    for (std::string s; in >> s;) ++n;
    return n;
}

class Monitor : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
        const std::string exe = WindowsPath(Environment("ORVELLE_EXE"));
        child = WindowsPath(Environment("ORVELLE_CHILD_EXE"));
        ASSERT_TRUE(program.Start(exe)) << exe;
        main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main);
        ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
        ASSERT_TRUE(Click(Get("cpucmd")));
        ASSERT_TRUE(WaitUntil([&] { return Visible(Get("SMframe")); }));
    }
    Window Get(std::string_view name) {
        Window w = FindControl(main, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    // The process manager once its list is there.
    Window OpenTasks() {
        EXPECT_TRUE(PostClick(Get("cmdEnum")));
        Window w = FindForm("enumfrm", 10s, program.Id());
        WaitUntil([&] { return w && FindControl(w, "info"); }, 5s);
        return w;
    }
    static bool Lists(Window info, std::uint32_t id) {
        const std::string want = std::to_string(id);
        for (int i = 0, n = ListViewCount(info); i < n; ++i)
            if (ListViewText(info, i, 1) == want) return true;
        return false;
    }

    Process program;
    Window main;
    std::string child;
};

TEST_F(Monitor, ProcessorLoadIsRealAndRisesWithABusyCore) {
    Window label = Get("Label1");
    ASSERT_TRUE(WaitUntil([&] { return Percent(Text(label)) >= 0; }, 5s)) << Text(label);
    Process busy;
    ASSERT_TRUE(busy.Start(child, {"spin"})) << child;
    EXPECT_TRUE(WaitUntil([&] { return Percent(Text(label)) > 40; }, 20s)) << Text(label);
    EXPECT_TRUE(WaitUntil([&] { return Samples(Text(Get("cpuhist"))) >= 2; }, 5s));
    busy.Kill();
}

TEST_F(Monitor, MemoryFiguresAgreeWithTheSystem) {
    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    ASSERT_TRUE(GlobalMemoryStatusEx(&ms));
    const long long total = std::llround(static_cast<double>(ms.ullTotalPhys) / 1048576.0) + 1;
    EXPECT_EQ(Text(Get("Label5")), std::to_string(total) + " MB");
    Window label2 = Get("label2");
    const std::string of_total = " MB of " + std::to_string(total) + " MB";
    EXPECT_TRUE(WaitUntil([&] { return Text(label2).find(of_total) != std::string::npos; }, 5s))
        << Text(label2);
    const std::string text = Text(label2);
    const long long free_mb = std::llround(static_cast<double>(ms.ullAvailPhys) / 1048576.0);
    EXPECT_NEAR(static_cast<double>(Leading(text)), static_cast<double>(free_mb),
                std::max(256.0, free_mb * 0.1))
        << text;
    EXPECT_NEAR(static_cast<double>(Position(Get("ProgressBar1"))),
                static_cast<double>(Leading(text)), std::max(256.0, free_mb * 0.1));
    const std::string used = Text(Get("label4"));
    ASSERT_FALSE(used.empty());
    EXPECT_EQ(used.back(), '%');
    EXPECT_NEAR(Leading(used), ms.dwMemoryLoad, 10) << used;
}

TEST_F(Monitor, SpeedSliderChangesTheTickRate) {
    Window hist = Get("cpuhist"), speed = Get("Slider2");
    auto grown = [&](std::chrono::milliseconds span) {
        const std::size_t before = Samples(Text(hist));
        Sleep(static_cast<DWORD>(span.count()));
        return Samples(Text(hist)) - before;
    };
    ASSERT_TRUE(SetPosition(Get("Slider1"), 100));  // room for every sample
    ASSERT_TRUE(WaitUntil([&] { return Samples(Text(hist)) >= 1; }, 5s));
    const std::size_t slow = grown(4000ms);  // 1000 ms ticks
    ASSERT_TRUE(SetPosition(speed, 1000));
    EXPECT_EQ(Position(speed), 1000);
    const std::size_t fast = grown(4000ms);  // 300 ms ticks
    EXPECT_LE(slow, 5u);
    EXPECT_GE(fast, 9u);
    EXPECT_GT(fast, slow + 4);
}

TEST_F(Monitor, TasksListsAndEndsAProcessOfTheTest) {
    Process victim;
    ASSERT_TRUE(victim.Start(child)) << child;
    Window enumfrm = OpenTasks();
    ASSERT_TRUE(enumfrm) << "Tasks opened no enumfrm";
    EXPECT_EQ(Text(enumfrm), "Process manager");
    EXPECT_FALSE(Enabled(main));  // modal
    Window info = FindControl(enumfrm, "info");
    ASSERT_TRUE(info);
    ASSERT_TRUE(WaitUntil([&] { return Lists(info, victim.Id()); }, 5s));
    int row = -1;
    for (int i = 0, n = ListViewCount(info); i < n; ++i)
        if (ListViewText(info, i, 1) == std::to_string(victim.Id())) row = i;
    ASSERT_GE(row, 0);
    EXPECT_EQ(ListViewText(info, row, 0), "orv_test_child.exe");
    ASSERT_TRUE(SelectListViewItem(info, row));
    EXPECT_TRUE(WaitUntil(
        [&] { return Text(FindControl(enumfrm, "label2")) == "orv_test_child.exe"; }, 3s));
    ASSERT_TRUE(Click(FindControl(enumfrm, "terminatecmd")));
    EXPECT_TRUE(victim.Wait(5s).has_value());
    EXPECT_TRUE(WaitUntil([&] { return !Lists(info, victim.Id()); }, 3s));

    // One process ends and another starts: the count stays, the list follows.
    Process first, second;
    ASSERT_TRUE(first.Start(child));
    ASSERT_TRUE(WaitUntil([&] { return Lists(info, first.Id()); }, 3s));
    const int count = ListViewCount(info);
    first.Kill();
    ASSERT_TRUE(second.Start(child));
    EXPECT_TRUE(
        WaitUntil([&] { return Lists(info, second.Id()) && !Lists(info, first.Id()); }, 2500ms));
    EXPECT_EQ(ListViewCount(info), count);

    ASSERT_TRUE(Click(FindControl(enumfrm, "Command1")));
    EXPECT_TRUE(WaitGone(enumfrm));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(main); }));
}

// Pictures for the documentation. The prefix's desktop is 1024x768: each
// window is moved to its top left first, and a main window taller than the
// desktop (at 150%) is shown by its monitor frame.
TEST_F(Monitor, Screenshots) {
    const std::string shot = Environment("ORVELLE_E2E_SHOT_DIR");
    if (shot.empty()) GTEST_SKIP() << "no folder for pictures";
    auto to_corner = [](Window w) {
        SetWindowPos(reinterpret_cast<HWND>(w.hwnd), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(500);
    };
    Window hist = Get("cpuhist");
    ASSERT_TRUE(WaitUntil([&] { return Samples(Text(hist)) >= 3; }, 10s));
    to_corner(main);
    const bool fits = WindowRect(main).Height() <= GetSystemMetrics(SM_CYSCREEN);
    EXPECT_TRUE(Screenshot(fits ? main : Get("SMframe"), WindowsPath(shot + "/monitor.bmp")));
    Window enumfrm = OpenTasks();
    ASSERT_TRUE(enumfrm);
    Window info = FindControl(enumfrm, "info");
    ASSERT_TRUE(WaitUntil([&] { return ListViewCount(info) > 0; }, 5s));
    SelectListViewItem(info, 0);
    to_corner(enumfrm);
    EXPECT_TRUE(Screenshot(enumfrm, WindowsPath(shot + "/enumfrm.bmp")));
    Click(FindControl(enumfrm, "Command1"));
}

}  // namespace
}  // namespace orv::e2e
