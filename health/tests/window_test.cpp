// The window itself: its layout in twips, its title, and that no run can
// start inside another while a run yields.
#include "fixture.h"

namespace orv::health::testing {
namespace {

class WindowTest : public HealthTest {};

TEST_F(WindowTest, FramesSitInTwoColumnsOfThree) {
    pchealth& w = Open();
    EXPECT_EQ(w.Caption(), "System Health");
    struct Case {
        pchealth::CheckFrame* f;
        const char* caption;
        int left, top, height;
    };
    const Case cases[] = {
        {&w.SR, "Software removal entries in Registry", 240, 240, 1335},
        {&w.AP, "Application paths entries in Registry", 240, 1680, 1335},
        {&w.OS, "Orphan Shortcuts", 240, 3120, 1815},
        {&w.HF, "Histories", 5520, 240, 1335},
        {&w.HP, "Help files", 5520, 1680, 1335},
        {&w.SC, "Shared Components", 5520, 3120, 1335},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.f->frame.Caption(), c.caption);
        EXPECT_EQ(c.f->frame.Container(), &w.HealthFrame);
        EXPECT_EQ(c.f->frame.Left(), c.left);
        EXPECT_EQ(c.f->frame.Top(), c.top);
        EXPECT_EQ(c.f->frame.Height(), c.height);
        EXPECT_EQ(c.f->button.Caption(), "Check && Repair");
        EXPECT_EQ(c.f->errors_caption.Caption(), "Total Errors Found :");
        EXPECT_EQ(c.f->repaired_caption.Caption(), "Repaired                :");
        EXPECT_EQ(c.f->errors.Caption(), "");
        EXPECT_EQ(c.f->bar.Max(), 100);
        // Everything inside its frame.
        for (const ui::Control* inner : {static_cast<const ui::Control*>(&c.f->button),
                                         static_cast<const ui::Control*>(&c.f->bar),
                                         static_cast<const ui::Control*>(&c.f->repaired)}) {
            EXPECT_LE(inner->Left() + inner->Width(), c.f->frame.Width());
            EXPECT_LE(inner->Top() + inner->Height(), c.f->frame.Height());
        }
    }
    EXPECT_EQ(w.ODrive.Container(), &w.OS.frame);
    EXPECT_EQ(w.ODrive.SelectedText(), "c:");  // the program's drive
    EXPECT_LE(w.Command1.Top() + w.Command1.Height(), w.HealthFrame.Height());
}

TEST_F(WindowTest, NoRunStartsInsideAnother) {
    const std::string u = std::string(kUninstallKey);
    Seed("[HKEY_LOCAL_MACHINE\\" + u + "\\A]\r\n\"x\"=\"1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\" + u +
         "\\B]\r\n\"x\"=\"1\"\r\n\r\n");
    pchealth& w = Open();
    int refused = 0, yields = 0;
    host.on_yield = [&] {
        ++yields;
        for (ui::Control* c :
             {static_cast<ui::Control*>(&w.SR.button), static_cast<ui::Control*>(&w.SC.button),
              static_cast<ui::Control*>(&w.Command1), static_cast<ui::Control*>(&w.restorecmd)})
            refused += host.Click(*c) ? 0 : 1;
        host.CloseBox(w);
        EXPECT_TRUE(w.Loaded());
    };
    ASSERT_TRUE(host.Click(w.SR.button));
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(refused, 8);
    EXPECT_EQ(w.SR.repaired.Caption(), "2");
    EXPECT_TRUE(w.SC.button.Enabled());
    EXPECT_TRUE(w.Command1.Enabled());
    EXPECT_EQ(w.SR.bar.Value(), w.SR.bar.Max());
    host.CloseBox(w);
    EXPECT_FALSE(w.Loaded());
}

}  // namespace
}  // namespace orv::health::testing
