#include "tweaks/input.h"

#include "fixture.h"

namespace orv::tweaks::testing {
namespace {

using platform::kSpiSetKeyboardDelay;
using platform::kSpiSetKeyboardSpeed;
using platform::kSpiSetMouseButtonSwap;
using platform::kSpiSetMouseSpeed;
using platform::kSpiSetMouseTrails;
using Call = sim::SimSystemParameters::Call;

class InputTest : public TweaksTest {
  protected:
    void Load() {
        panel = std::make_unique<InputPanel>(window, platform, window.Inputframe);
        Show();
        panel->Load();
    }
    std::unique_ptr<InputPanel> panel;
};

TEST(DoubleClickPositionTest, NearestPositionInsideTheRange) {
    struct Case {
        std::uint32_t ms;
        int position;
    };
    const Case cases[] = {{900, 2},  {200, 9}, {500, 6}, {540, 6},       {560, 5},
                          {2000, 2}, {100, 9}, {0, 9},   {0xFFFFFFFF, 2}};
    for (const Case& c : cases) EXPECT_EQ(DoubleClickPosition(c.ms), c.position) << c.ms;
    EXPECT_EQ(DoubleClickTimeAt(2), 900u);
    EXPECT_EQ(DoubleClickTimeAt(9), 200u);
}

TEST_F(InputTest, ReadBackTakesValuesInsideTheRangesOnly) {
    struct Case {
        const char* name;
        const char* path;
        const char* text;  // stored as REG_SZ, the way Windows keeps them
        const char* control;
        int expected;
    };
    const Case cases[] = {
        {"speed", "HKCU\\Control Panel\\Mouse\\MouseSensitivity", "13", "SpeedSlider", 13},
        {"speed 0", "HKCU\\Control Panel\\Mouse\\MouseSensitivity", "0", "SpeedSlider", 1},
        {"speed 21", "HKCU\\Control Panel\\Mouse\\MouseSensitivity", "21", "SpeedSlider", 1},
        {"repeat end", "HKCU\\Control Panel\\Keyboard\\KeyboardSpeed", "31", "Repeatslider", 31},
        {"repeat text", "HKCU\\Control Panel\\Keyboard\\KeyboardSpeed", "fast", "Repeatslider", 0},
        {"delay", "HKCU\\Control Panel\\Keyboard\\KeyboardDelay", "1", "Delayslider", 1},
        {"delay 4", "HKCU\\Control Panel\\Keyboard\\KeyboardDelay", "4", "Delayslider", 0},
        {"swap", "HKCU\\Control Panel\\Mouse\\SwapMouseButtons", "1", "swapm", 1},
        {"swap junk", "HKCU\\Control Panel\\Mouse\\SwapMouseButtons", "left", "swapm", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Text(c.path, c.text);
        TestWindow w(host);
        InputPanel p(w, platform, w.Inputframe);
        p.Load();
        ui::Control* ctl = w.Find(c.control);
        int value = ctl->GetKind() == ui::Kind::CheckBox ? static_cast<ui::CheckBox*>(ctl)->Value()
                                                         : static_cast<ui::Slider*>(ctl)->Value();
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(InputTest, ReadBackOfTrailsAndTheDoubleClickTime) {
    world.settings->Save("ardenosoft utilities", "mouse", "trails", "1");
    world.sysparams.double_click_ms = 300;
    Load();
    EXPECT_EQ(panel->trails.Value(), 1);
    EXPECT_EQ(panel->DoubleSlider.Value(), 8);
    EXPECT_EQ(panel->recycle.Value(), 0);
    EXPECT_TRUE(recorder.writes.empty());
}

TEST_F(InputTest, ApplySetsEverythingInOrder) {
    Load();
    host.Slide(panel->SpeedSlider, 20);
    host.Slide(panel->Repeatslider, 31);
    host.Slide(panel->Delayslider, 3);
    host.Slide(panel->DoubleSlider, 9);
    host.Click(panel->swapm);
    host.Click(panel->trails);
    ASSERT_TRUE(host.Click(panel->inputcmd));
    const std::vector<Call> expected = {
        {kSpiSetMouseSpeed, 0, 20, 3},   {kSpiSetKeyboardSpeed, 31, 0, 3},
        {kSpiSetKeyboardDelay, 3, 0, 3}, {kSpiSetMouseButtonSwap, 1, 0, 3},
        {kSpiSetMouseTrails, 5, 0, 3},
    };
    EXPECT_EQ(world.sysparams.calls, expected);
    EXPECT_EQ(world.sysparams.double_click_ms, 200u);
    EXPECT_EQ(TextAt("HKCU\\Control Panel\\Mouse\\DoubleClickSpeed"), "200");
    EXPECT_EQ(Raw("HKCU\\Control Panel\\Mouse\\DoubleClickSpeed")->type, platform::kRegSz);
    EXPECT_EQ(world.settings->Get("Velmora utilities", "mouse", "swap"), "1");
    EXPECT_EQ(world.settings->Get("ardenosoft utilities", "mouse", "trails"), "1");
    EXPECT_TRUE(world.shell.empty_requests.empty());
}

TEST_F(InputTest, UntouchedDoubleClickSliderChangesNoTime) {
    world.sysparams.double_click_ms = 430;
    Load();
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_EQ(world.sysparams.double_click_ms, 430u);
    EXPECT_EQ(TextAt("HKCU\\Control Panel\\Mouse\\DoubleClickSpeed"), "<absent>");
    host.Slide(panel->DoubleSlider, 2);
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_EQ(world.sysparams.double_click_ms, 900u);
    world.sysparams.double_click_ms = 650;  // another program changes it
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_EQ(world.sysparams.double_click_ms, 650u) << "applied once per move";
}

TEST_F(InputTest, UncheckedBoxesRestoreNormalButtonsAndNoTrails) {
    world.sysparams.buttons_swapped = true;
    Load();
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_FALSE(world.sysparams.buttons_swapped);
    EXPECT_EQ(world.sysparams.calls[3], (Call{kSpiSetMouseButtonSwap, 0, 0, 3}));
    EXPECT_EQ(world.sysparams.calls[4], (Call{kSpiSetMouseTrails, 0, 0, 3}));
    EXPECT_EQ(world.settings->Get("Velmora utilities", "mouse", "swap"), "0");
    EXPECT_EQ(TextAt("HKCU\\Control Panel\\Mouse\\MouseSensitivity"), "1")
        << "the slider's start value, stored by the system";
}

TEST_F(InputTest, RecycleBinIsEmptiedOnceWithoutAsking) {
    world.files.WriteFile(std::string(sim::SimShell::kRecycleBin) + "\\Dc1.txt", "x");
    Load();
    host.Click(panel->recycle);
    ASSERT_TRUE(host.Click(panel->inputcmd));
    ASSERT_EQ(world.shell.empty_requests.size(), 1u);
    EXPECT_EQ(world.shell.empty_requests[0].owner, window.Handle());
    EXPECT_EQ(world.shell.empty_requests[0].root, "");
    EXPECT_EQ(world.shell.empty_requests[0].flags, platform::kSherbNoConfirmation);
    EXPECT_EQ(world.shell.recycle_icon_updates, 1);
    EXPECT_FALSE(Exists(std::string(sim::SimShell::kRecycleBin) + "\\Dc1.txt"));
    EXPECT_EQ(panel->recycle.Value(), 0);
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_EQ(world.shell.empty_requests.size(), 1u);
}

TEST_F(InputTest, FailingCallsDoNotStopTheApply) {
    Load();
    world.shell.empty_result = static_cast<std::int32_t>(0x80004005);
    world.sysparams.failing = {kSpiSetMouseSpeed, kSpiSetKeyboardDelay, 0};
    world.registry.Deny(platform::kCurrentUser, "Control Panel", platform::kKeyCreateSubKey);
    host.Click(panel->recycle);
    host.Slide(panel->DoubleSlider, 5);
    ASSERT_TRUE(host.Click(panel->inputcmd));
    EXPECT_EQ(world.sysparams.calls.size(), 5u);
    EXPECT_EQ(world.settings->Get("ardenosoft utilities", "mouse", "trails"), "0");
}

}  // namespace
}  // namespace orv::tweaks::testing
