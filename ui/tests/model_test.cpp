// List selections of the control model survive edits of the list (both
// hosts push the selection to the window after every change of the items),
// and the headless host's splash lasts as long as the native one's.
#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace orv::ui {
namespace {

struct ListForm : Form {
    explicit ListForm(Host& h) : Form(h, "listform", "", 3000, 3000) {}
    ComboBox combo{*this, "combo", {}};
    ListBox list{*this, "list", {}};
};

TEST(ListSelection, RemovingItemsKeepsTheSelectedItem) {
    struct Case {
        int selected, removed, want_index;
        const char* want_text;
    } cases[] = {
        {2, 0, 1, "c"},                   // an item above goes: the selection follows its item
        {1, 0, 0, "b"},  {1, 2, 1, "b"},  // below: unchanged
        {1, 1, -1, ""},                   // the selected item itself: nothing selected
        {-1, 0, -1, ""}, {1, 5, 1, "b"},  // out of range: nothing happens
        {1, -1, 1, "b"},
    };
    for (const auto& c : cases) {
        HeadlessHost host;
        ListForm form(host);
        for (const char* item : {"a", "b", "c"}) {
            form.combo.AddItem(item);
            form.list.AddItem(item);
        }
        form.combo.SetListIndex(c.selected);
        form.list.SetListIndex(c.selected);
        form.combo.RemoveItem(c.removed);
        form.list.RemoveItem(c.removed);
        EXPECT_EQ(form.combo.ListIndex(), c.want_index) << c.selected << "/" << c.removed;
        EXPECT_EQ(form.combo.SelectedText(), c.want_text) << c.selected << "/" << c.removed;
        EXPECT_EQ(form.combo.Text(), c.want_text) << c.selected << "/" << c.removed;
        EXPECT_EQ(form.list.ListIndex(), c.want_index) << c.selected << "/" << c.removed;
    }
}

// A translation relabels the tabs: the page shown stays shown, and no click
// runs (a click would switch the pages of the strip).
TEST(TabLabels, RelabellingKeepsTheSelectedTabAndRaisesNoClick) {
    struct Case {
        const char* name;
        int selected;
        std::vector<std::string> labels;
        int want_selected;
    } cases[] = {
        {"same number of tabs", 3, {"Eins", "Zwei", "Drei"}, 3},
        {"the selected tab is gone", 3, {"Eins"}, 1},
        {"no tabs at all", 2, {}, 0},
    };
    for (const Case& c : cases) {
        HeadlessHost host;
        Form form(host, "tabform", "", 3000, 3000);
        TabStrip tabs{form, "tabs", {}, {"One", "Two", "Three"}};
        int clicks = 0;
        tabs.SelectTab(c.selected);
        tabs.onClick = [&] { ++clicks; };
        tabs.SetTabs(c.labels);
        EXPECT_EQ(tabs.Tabs(), c.labels) << c.name;
        EXPECT_EQ(tabs.SelectedTab(), c.want_selected) << c.name;
        EXPECT_EQ(clicks, 0) << c.name;
    }
}

TEST(ListSelection, RemovingDoesNotRaiseClick) {
    HeadlessHost host;
    ListForm form(host);
    int clicks = 0;
    form.list.onClick = [&] { ++clicks; };
    for (const char* item : {"a", "b", "c"}) form.list.AddItem(item);
    form.list.SetListIndex(2);
    ASSERT_EQ(clicks, 1);
    form.list.RemoveItem(0);
    form.list.RemoveItem(1);
    EXPECT_EQ(clicks, 1);
}

struct SplashForm : Form {
    explicit SplashForm(Host& h) : Form(h, "splashform", "", 3000, 3000) {}
    void Form_Load() override {
        GetHost().ShowSplash("BM...");
        shown_during_load = static_cast<HeadlessHost&>(GetHost()).splash_shown;
    }
    bool shown_during_load = false;
};

TEST(HeadlessSplash, StaysDuringTheLoadAndGoesWhenTheWindowShows) {
    HeadlessHost host;
    SplashForm form(host);
    form.Show();
    EXPECT_TRUE(form.shown_during_load);
    EXPECT_FALSE(host.splash_shown);
    EXPECT_EQ(host.splash, "BM...");
    host.ShowSplash("again");
    host.CloseSplash();
    EXPECT_FALSE(host.splash_shown);
}

}  // namespace
}  // namespace orv::ui
