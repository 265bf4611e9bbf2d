// System parameters, the double-click time and the Recycle Bin, checked
// against both backends. Every test puts back what it changed.
#include <gtest/gtest.h>

#include "backend.h"
#include "platform/regvalue.h"

namespace orv {
namespace {

using namespace platform;

class SysParamsContract : public ::testing::Test {
  protected:
    void SetUp() override { backend = testing::MakeTestBackend(); }
    SystemParameters& S() { return backend->P().sysparams; }
    std::unique_ptr<testing::TestBackend> backend;
};

TEST_F(SysParamsContract, SetValuesReadBackThroughTheirGetAction) {
    struct Case {
        const char* name;
        std::uint32_t get, set;
        int value;
        bool in_pointer;  // the value travels in the pointer argument
    };
    const Case cases[] = {
        {"keyboard speed", kSpiGetKeyboardSpeed, kSpiSetKeyboardSpeed, 7, false},
        {"keyboard delay", kSpiGetKeyboardDelay, kSpiSetKeyboardDelay, 2, false},
        {"wheel lines", kSpiGetWheelScrollLines, kSpiSetWheelScrollLines, 9, false},
        {"menu delay", kSpiGetMenuShowDelay, kSpiSetMenuShowDelay, 250, false},
        {"mouse speed", kSpiGetMouseSpeed, kSpiSetMouseSpeed, 13, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int before = -1;
        ASSERT_TRUE(S().GetInt(c.get, before));
        const std::uint32_t ui = c.in_pointer ? 0 : static_cast<std::uint32_t>(c.value);
        const std::uintptr_t pv = c.in_pointer ? static_cast<std::uintptr_t>(c.value) : 0;
        EXPECT_TRUE(S().Set(c.set, ui, pv, 0));
        int after = -1;
        EXPECT_TRUE(S().GetInt(c.get, after));
        if (c.in_pointer) {
            ORV_KNOWN_WINE_GAP(*backend, "SPI_SETMOUSESPEED reads the wrong argument") {
                EXPECT_EQ(after, c.value);
            }
        } else {
            EXPECT_EQ(after, c.value);
        }
        const std::uint32_t back_ui = c.in_pointer ? 0 : static_cast<std::uint32_t>(before);
        const std::uintptr_t back_pv = c.in_pointer ? static_cast<std::uintptr_t>(before) : 0;
        S().Set(c.set, back_ui, back_pv, 0);
    }
}

TEST_F(SysParamsContract, UpdateIniFileStoresTheValueInTheUserProfile) {
    int before = 0;
    ASSERT_TRUE(S().GetInt(kSpiGetKeyboardDelay, before));
    const int wanted = before == 3 ? 2 : 3;
    ASSERT_TRUE(S().Set(kSpiSetKeyboardDelay, wanted, 0, kSpifUpdateIniFile));
    Registry& r = backend->P().registry;
    HKey k = 0;
    ASSERT_EQ(r.OpenKey(kCurrentUser, "Control Panel\\Keyboard", kKeyRead, k), kSuccess);
    RegValue v;
    EXPECT_EQ(r.QueryValue(k, "KeyboardDelay", v), kSuccess);
    r.CloseKey(k);
    EXPECT_EQ(DataAsText(v), std::to_string(wanted));
    S().Set(kSpiSetKeyboardDelay, before, 0, kSpifUpdateIniFile);
}

TEST_F(SysParamsContract, DoubleClickTimeHoldsWhatWasSet) {
    const std::uint32_t before = S().GetDoubleClickTime();
    for (std::uint32_t ms : {200u, 900u}) {
        EXPECT_TRUE(S().SetDoubleClickTime(ms));
        EXPECT_EQ(S().GetDoubleClickTime(), ms);
    }
    S().SetDoubleClickTime(before);
}

TEST_F(SysParamsContract, BroadcastReturnsWithoutAnyoneListening) {
    S().BroadcastSettingChange("");
    S().BroadcastSettingChange("Policies");
    SUCCEED();
}

TEST_F(SysParamsContract, EmptyingAnEmptyRecycleBinWithoutUiEndsQuietly) {
    // On Wine this is the Trash of the throw-away HOME the test runner sets.
    Shell& shell = backend->P().shell;
    shell.EmptyRecycleBin(0, "", kSherbNoConfirmation | kSherbNoProgressUi | kSherbNoSound);
    shell.UpdateRecycleBinIcon();
    SUCCEED();
}

}  // namespace
}  // namespace orv
