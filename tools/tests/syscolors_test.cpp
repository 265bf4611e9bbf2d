#include "tools/syscolors.h"
#include "registry/regpath.h"
#include "tool_fixture.h"

namespace orv::tools {
namespace {

using namespace orv::platform;

class SysColorsTest : public testing::ToolTest {
  protected:
    std::string Stored(std::string_view name) {
        registry::RegistryPaths paths(world.registry, world.environment);
        return paths.RegReadValue(std::string(kColorsKey) + std::string(name));
    }

    syscolors& w = forms.Get<syscolors>(ctx, *this);
};

TEST_F(SysColorsTest, ThirteenElementsInOrderAndTheTitle) {
    w.Show();
    ASSERT_EQ(w.List1.Items().size(), 13u);
    EXPECT_EQ(w.List1.Items().front(), "Active Window Caption");
    EXPECT_EQ(w.List1.Items()[3], "Inctive Window Caption Text");
    EXPECT_EQ(w.List1.Items().back(), "Background");
    EXPECT_EQ(w.Caption(), "Colors");
}

TEST_F(SysColorsTest, ClickShowsTheElementsColourAndApplyChangesAndStoresIt) {
    struct Case {
        const char* name;
        int row;
        int index;
        const char* value;
    } cases[] = {
        {"active caption", 0, 2, "ActiveTitle"},
        {"inactive caption text", 3, 19, "InactiveTitleText"},
        {"highlight", 8, 13, "Hilight"},
        {"desktop", 12, 1, "Background"},
    };
    w.Show();
    for (const auto& c : cases) {
        world.display.colors[c.index] = 0x00102030;
        host.Choose(w.List1, c.row);
        EXPECT_EQ(w.selected, c.index) << c.name;
        EXPECT_EQ(w.swatch, 0x00102030u) << c.name;
        host.color_answers.push_back(0x00FF8040);
        host.Click(w.Command2);
        EXPECT_EQ(w.CommonDialog1.color, 0x00FF8040u) << c.name;
        host.Click(w.Command1);
        EXPECT_EQ(world.display.colors[c.index], 0x00FF8040u) << c.name;
        EXPECT_EQ(Stored(c.value), "64 128 255") << c.name;
    }
}

TEST_F(SysColorsTest, ChooserStartsAtTheSwatchAndCancelKeepsIt) {
    world.display.colors[13] = 0x00ABCDEF;
    w.Show();
    host.Choose(w.List1, 8);
    host.Click(w.Command2);  // no answer queued: cancelled
    EXPECT_EQ(w.CommonDialog1.color, 0x00ABCDEFu) << "seeded with the swatch";
    EXPECT_EQ(w.swatch, 0x00ABCDEFu);
}

TEST_F(SysColorsTest, ApplyBeforeAnyClickChangesTheScrollBar) {
    w.Show();
    host.color_answers.push_back(0x000000FF);
    host.Click(w.Command2);
    host.Click(w.Command1);
    EXPECT_EQ(world.display.colors[kColorScrollbar], 0x000000FFu);
    EXPECT_EQ(Stored("Scrollbar"), "255 0 0");
}

TEST_F(SysColorsTest, ARefusedColourIsReportedAndNotStored) {
    w.Show();
    host.Choose(w.List1, 10);
    world.display.fail = true;
    host.Click(w.Command1);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(Stored("Menu"), "Error");
    host.Click(w.Command3);
    EXPECT_TRUE(w.WasUnloaded());
}

}  // namespace
}  // namespace orv::tools
