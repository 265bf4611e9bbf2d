// The tweak panels on the main window: filled by the start-up, reachable by
// name, and the start-menu page's Apply disabled once the window has loaded.
#include "registry/regpath.h"
#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

class TweaksWiringTest : public ShellTest {};

TEST_F(TweaksWiringTest, StartUpShowsStoredValuesOnEveryTweakPage) {
    InstallProgram();
    registry::RegistryPaths reg(world.registry, world.environment);
    const std::string policies = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\";
    reg.RegWrite(policies + "Explorer\\NoClose", registry::RegData{std::int64_t{1}}, "REG_DWORD");
    reg.RegWrite(policies + "System\\DisableRegistryTools", registry::RegData{std::int64_t{1}},
                 "REG_DWORD");
    reg.RegWrite("HKCU\\Control Panel\\Keyboard\\KeyboardDelay", registry::RegData{"2"});
    ASSERT_TRUE(Start());
    mainform& m = Main();
    auto value = [&](const char* name) {
        ui::Control* c = m.Find(name);
        if (!c) return -1;
        if (c->GetKind() == ui::Kind::CheckBox) return static_cast<ui::CheckBox*>(c)->Value();
        return static_cast<ui::Slider*>(c)->Value();
    };
    EXPECT_EQ(value("shutchk"), 1);
    EXPECT_EQ(value("disableregchk"), 1);
    EXPECT_EQ(value("Delayslider"), 2);
    EXPECT_FALSE(m.applymenu.Enabled());
    EXPECT_EQ(static_cast<ui::CheckBox*>(m.Find("shutchk"))->Container(), &m.VoptionsFrame1);
    EXPECT_EQ(Log(), "");
}

}  // namespace
}  // namespace orv::app::testing
