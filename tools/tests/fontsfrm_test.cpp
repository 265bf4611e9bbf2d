#include <algorithm>
#include <optional>

#include "fonts_fixture.h"

namespace orv::tools::testing {
namespace {

class FontsfrmTest : public FontsTest {
  protected:
    Fontsfrm& Open() {
        Fontsfrm& w = forms.Get<Fontsfrm>(ctx, *this);
        w.Show();
        return w;
    }
    const ui::ControlFont& Sample(Fontsfrm& w) { return w.Label1.Font(); }
};

TEST_F(FontsfrmTest, LoadListsTheFacesAndShowsTheSecondAtTwelvePoints) {
    Fontsfrm& w = Open();
    EXPECT_EQ(w.Caption(), "Fonts");
    EXPECT_EQ(w.lstSystemFonts.Items(),
              (std::vector<std::string>{"Arial", "Courier New", "MS Gothic", "Tahoma"}));
    EXPECT_EQ(w.Label1.Text(), "\r\nABCXYZabcxyz");
    EXPECT_TRUE(w.Label1.multi_line);
    EXPECT_EQ(w.sizetxt.Text(), "12");
    EXPECT_EQ(Sample(w), (ui::ControlFont{"Courier New", 12, false, false, false}));
    EXPECT_EQ(w.UpDown1.Min(), 6);
    EXPECT_EQ(w.UpDown1.Max(), 144);
}

TEST_F(FontsfrmTest, TheSampleFaceAtLoadDependsOnHowManyFacesThereAre) {
    struct Case {
        const char* name;
        std::vector<std::string> faces;
        bool fail;
        const char* want;
    } cases[] = {
        {"two or more: the second", {"One", "Two", "Three"}, false, "Two"},
        {"one: that one", {"Only"}, false, "Only"},
        {"one, listed per character set", {"Only", "Only", "@Only"}, false, "Only"},
        {"none", {}, false, ""},
        {"the system lists nothing", {"One", "Two"}, true, ""},
    };
    for (const auto& c : cases) {
        world.fonts.faces = c.faces;
        world.fonts.fail.faces = c.fail;
        Fontsfrm& w = Open();
        EXPECT_EQ(Sample(w).face, c.want) << c.name;
        EXPECT_EQ(w.lstSystemFonts.Items().empty(), std::string(c.want).empty()) << c.name;
        host.Click(w.Command2);
        EXPECT_TRUE(w.WasUnloaded()) << c.name;
    }
}

TEST_F(FontsfrmTest, ReopenedTheSampleTakesTheSecondFaceAgain) {
    Fontsfrm& first = Open();
    host.Choose(first.lstSystemFonts, 3);
    EXPECT_EQ(Sample(first).face, "Tahoma");
    host.Click(first.Command2);
    EXPECT_EQ(Sample(Open()).face, "Courier New");
}

TEST(SampleSize, TheLeadingNumberWithinOneToAThousandPoints) {
    struct Case {
        const char* text;
        std::optional<int> want;
    } cases[] = {
        {"24", 24},
        {"  18", 18},
        {"18pt", 18},
        {"12.6", 13},
        {"+9", 9},
        {".9", 1},
        {"1000", 1000},
        {"1001", std::nullopt},
        {"0", std::nullopt},
        {"0.4", std::nullopt},
        {"-5", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(SampleSize(c.text), c.want) << '"' << c.text << '"';
}

TEST_F(FontsfrmTest, AListClickTakesTheTypedSizeOrKeepsTheLastOne) {
    struct Case {
        const char* typed;
        int want;
    } cases[] = {{"30", 30}, {"0", 30}, {"big", 30}, {"5000", 30}, {"8", 8}};
    Fontsfrm& w = Open();
    for (const auto& c : cases) {
        host.Type(w.sizetxt, c.typed);
        host.Choose(w.lstSystemFonts, 0);
        host.Choose(w.lstSystemFonts, 3);
        EXPECT_EQ(Sample(w).points, c.want) << c.typed;
        EXPECT_EQ(Sample(w).face, "Tahoma") << c.typed;
    }
}

TEST_F(FontsfrmTest, EachBoxTurnsItsStyleOnAndOffAndAGreyedBoxChangesNothing) {
    struct Case {
        const char* name;
        ui::CheckBox Fontsfrm::*box;
        bool ui::ControlFont::*style;
    } cases[] = {
        {"Strikeout", &Fontsfrm::Check1, &ui::ControlFont::strikeout},
        {"Bold", &Fontsfrm::Check2, &ui::ControlFont::bold},
        {"Italic", &Fontsfrm::Check3, &ui::ControlFont::italic},
    };
    Fontsfrm& w = Open();
    for (const auto& c : cases) {
        ui::CheckBox& box = w.*c.box;
        EXPECT_EQ(box.Caption(), c.name);
        host.Click(box);
        EXPECT_TRUE(Sample(w).*c.style) << c.name;
        const ui::ControlFont before = Sample(w);
        box.SetValue(2);
        EXPECT_EQ(Sample(w), before) << c.name << ": greyed while on";
        box.SetValue(0);
        EXPECT_FALSE(Sample(w).*c.style) << c.name;
        box.SetValue(2);
        EXPECT_FALSE(Sample(w).*c.style) << c.name << ": greyed while off";
        box.SetValue(0);
    }
}

// A style set before any face was chosen stays through a size step, and the
// step takes every style from its box again: a greyed box leaves its style.
TEST_F(FontsfrmTest, ASizeStepReappliesTheStylesFromTheBoxes) {
    Fontsfrm& w = Open();
    host.Click(w.Check2);  // bold, nothing selected in the list
    w.Check3.SetValue(1);
    ui::ControlFont upright = Sample(w);
    upright.italic = false;  // behind the box's back: the step puts it right
    w.Label1.SetFont(upright);
    w.Check1.SetValue(2);
    ASSERT_TRUE(host.Slide(w.UpDown1, 13));
    EXPECT_EQ(w.sizetxt.Text(), "13");
    EXPECT_EQ(Sample(w), (ui::ControlFont{"Courier New", 13, true, true, false}));
    ASSERT_TRUE(host.Slide(w.UpDown1, 200));
    EXPECT_EQ(w.sizetxt.Text(), "144");
    EXPECT_EQ(Sample(w).points, 144);
}

}  // namespace
}  // namespace orv::tools::testing

namespace orv::tools::testing {
namespace {

TEST_F(FontsfrmTest, InstallNewFontsFromTheChooser) {
    const std::string good = PutFont("Orvelle Sans.ttf", "Orvelle Sans", "Orvelle Sans Regular");
    const std::string text = PutFile("notes.ttf", "shopping list\r\n");
    struct Case {
        const char* name;
        std::string answer;
        bool told;
        bool listed;
    } cases[] = {
        {"cancelled", "", false, false},
        {"not a font", text, true, false},
        {"a font", good, true, true},
    };
    Fontsfrm& w = Open();
    for (const auto& c : cases) {
        host.messages.clear();
        host.open_answers = {c.answer};
        host.Click(w.Command1);
        EXPECT_EQ(host.messages.size(), c.told ? 1u : 0u) << c.name;
        const auto& items = w.lstSystemFonts.Items();
        const bool listed = std::find(items.begin(), items.end(), "Orvelle Sans") != items.end();
        EXPECT_EQ(listed, c.listed) << c.name;
    }
    EXPECT_EQ(w.CommonDialog1.filter, "Font files (*.ttf, *.otf, *.ttc)|*.ttf;*.otf;*.ttc");
    EXPECT_EQ(host.messages.at(0).text, "The font Orvelle Sans is installed.");
    EXPECT_EQ(w.lstSystemFonts.SelectedText(), "Orvelle Sans") << "the new face is chosen";
    EXPECT_EQ(Sample(w).face, "Orvelle Sans");
    EXPECT_FALSE(Exists(std::string(kMachineFonts) + "\\notes.ttf"));
    host.Click(w.Command2);
    const auto& again = Open().lstSystemFonts.Items();
    EXPECT_NE(std::find(again.begin(), again.end(), "Orvelle Sans"), again.end())
        << "listed the next time the window opens";
}

}  // namespace
}  // namespace orv::tools::testing
