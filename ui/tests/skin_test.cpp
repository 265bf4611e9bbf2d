#include "ui/skin.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::ui {
namespace {

TEST(SkinValues, Colors) {
    struct Case {
        const char* text;
        std::optional<Color> want;
    } cases[] = {
        {"#1A2B3C", Color{0x1A, 0x2B, 0x3C}},
        {"  #fff ", Color{255, 255, 255}},
        {"#abc", Color{0xAA, 0xBB, 0xCC}},
        {"1A2B3C", std::nullopt},
        {"#12345", std::nullopt},
        {"#1234567", std::nullopt},
        {"#GG0000", std::nullopt},
        {"#", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColor(c.text), c.want) << "\"" << c.text << "\"";
    EXPECT_EQ((Color{1, 2, 3}).Ref(), 0x030201u);
}

TEST(SkinValues, Fills) {
    const Color a{0x10, 0, 0}, b{0x20, 0, 0}, c{0x30, 0, 0}, d{0x40, 0, 0};
    auto fill = ParseFill("#100000 > #200000 / #300000 > #400000 @ 40%");
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->type, Fill::Type::Gloss);
    EXPECT_EQ(fill->top, a);
    EXPECT_EQ(fill->mid, b);
    EXPECT_EQ(fill->mid2, c);
    EXPECT_EQ(fill->bottom, d);
    EXPECT_EQ(fill->split, 40);

    auto gradient = ParseFill("#100000>#400000");
    ASSERT_TRUE(gradient);
    EXPECT_EQ(gradient->type, Fill::Type::Gradient);
    EXPECT_EQ(gradient->At(0, 10), a);
    EXPECT_EQ(gradient->At(9, 10), d);

    // A half may be a flat colour.
    auto half_flat = ParseFill("#100000 / #300000 > #400000");
    ASSERT_TRUE(half_flat);
    EXPECT_EQ(half_flat->mid, a);

    EXPECT_EQ(ParseFill("none")->type, Fill::Type::None);
    EXPECT_EQ(ParseFill("#100000")->type, Fill::Type::Solid);

    for (const char* bad : {"", "#100000 >", "> #100000", "#1 > #2 > #3", "#100000 @ 40%",
                            "#100000>#200000/#300000>#400000/#100000", "#100000/#200000 @ 0%",
                            "#100000/#200000 @ 100%", "#100000/#200000 @ x%", "red"}) {
        EXPECT_FALSE(ParseFill(bad)) << "\"" << bad << "\"";
    }
}

TEST(SkinValues, GlossRowsStayInsideTheirHalves) {
    auto fill = *ParseFill("#000000 > #640000 / #C80000 > #FF0000 @ 30%");
    const int h = 20;  // cut at row 6
    EXPECT_EQ(fill.At(0, h).r, 0);
    EXPECT_EQ(fill.At(5, h).r, 0x64);
    EXPECT_EQ(fill.At(6, h).r, 0xC8);
    EXPECT_EQ(fill.At(19, h).r, 0xFF);
    for (int y = 0; y < h; ++y) {
        int r = fill.At(y, h).r;
        if (y < 6) {
            EXPECT_LE(r, 0x64) << y;
        } else {
            EXPECT_GE(r, 0xC8) << y;
        }
    }
    // Degenerate heights neither divide by zero nor leave the colour range.
    EXPECT_EQ(fill.At(0, 1).r, 0xC8);
    EXPECT_EQ(fill.At(0, 0).r, 0xC8);
}

TEST(SkinValues, Fonts) {
    auto f = ParseFont("\"Segoe UI\", Tahoma, 9pt, bold");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->faces, (std::vector<std::string>{"Segoe UI", "Tahoma"}));
    EXPECT_EQ(f->points, 9);
    EXPECT_TRUE(f->bold);
    EXPECT_FALSE(f->italic);
    EXPECT_EQ(ParseFont("10")->points, 10);
    EXPECT_TRUE(ParseFont("Tahoma, italic")->italic);
    for (const char* bad : {"", "Tahoma,,9", "Tahoma, 3", "Tahoma, 200",
                            "\"A face name far longer than LOGFONT allows\""}) {
        EXPECT_FALSE(ParseFont(bad)) << "\"" << bad << "\"";
    }
}

TEST(SkinValues, MetricsAndAlign) {
    EXPECT_EQ(ParseMetric("30"), 30);
    EXPECT_EQ(ParseMetric(" 12px "), 12);
    EXPECT_EQ(ParseMetric("0"), 0);
    for (const char* bad : {"-1", "1001", "12.5", "px", "", "99999999999999999999"}) {
        EXPECT_FALSE(ParseMetric(bad)) << "\"" << bad << "\"";
    }
    EXPECT_EQ(ParseAlign("Centre"), Align::Center);
    EXPECT_FALSE(ParseAlign("middle"));
}

constexpr const char* kSkin = R"(; comment
# another comment
[Form]
caption.height = 30
Caption.Text = #102030
title = "  quoted text  "
hotspot.About = About
hotspot.help = ?

[SmallForm]
base = Form
caption.height = 24

[Button]
fill = #FFFFFF > #DDDDDD
)";

TEST(SkinParse, ElementsKeysAndBase) {
    auto set = ParseSkin(kSkin);
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->diagnostics.empty());
    const SkinElement* form = set->Find("Form");
    const SkinElement* small = set->Find("SmallForm");
    ASSERT_TRUE(form && small);
    EXPECT_FALSE(set->Find("form"));  // element names are exact
    EXPECT_EQ(form->GetMetric("caption.height", 0), 30);
    EXPECT_EQ(form->GetColor("caption.text", {}), (Color{0x10, 0x20, 0x30}));  // keys are not
    EXPECT_EQ(form->GetText("title"), "  quoted text  ");
    EXPECT_EQ(small->GetMetric("caption.height", 0), 24);
    EXPECT_EQ(small->GetColor("caption.text", {}), (Color{0x10, 0x20, 0x30}));  // from the base
    EXPECT_EQ(small->HotSpots(), form->HotSpots());
    auto bare = ParseSkin(std::string(kSkin) + "[Tool]\nbase = Form\nhotspots = none\n");
    EXPECT_TRUE(bare->Find("Tool")->HotSpots().empty());
    EXPECT_EQ(form->HotSpots(), (std::vector<HotSpot>{{"About", "About"}, {"help", "?"}}));
    EXPECT_EQ(form->GetMetric("missing", 7), 7);
    EXPECT_EQ(set->Find("Button")->GetFill("fill").type, Fill::Type::Gradient);
}

TEST(SkinParse, OddInputsNeverFail) {
    struct Case {
        std::string text;
        bool has_set;
        std::size_t diagnostics;
    } cases[] = {
        {"", false, 0},
        {"; only a comment\n", false, 0},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), false, 2},
        {"key = outside\n", false, 1},
        {"[Form\nx=1\n", false, 2},
        {"[]\n", false, 1},
        {"[Form]\r\ncaption.height = 30\r\n", true, 0},
        {"\xEF\xBB\xBF[Form]\n", true, 0},
        {"[Form]\nno equals sign\n= no key\n", true, 2},
        {"[Form]\nbase = Nowhere\n", true, 1},
        {"[A]\nbase = B\n[B]\nbase = A\n", true, 1},
        {"[A]\nbase = A\n", true, 1},
        {"[Form]\nx = 1\n[Form]\nx = 2\ny = 3\n", true, 0},
    };
    for (const auto& c : cases) {
        auto set = ParseSkin(c.text);
        EXPECT_EQ(static_cast<bool>(set), c.has_set) << c.text;
        if (set) {
            EXPECT_EQ(set->diagnostics.size(), c.diagnostics) << c.text;
        }
    }
    // A repeated element goes on with the same element; a repeated key wins last.
    auto merged = ParseSkin("[Form]\nx = 1\n[Form]\nx = 2\ny = 3\n");
    EXPECT_EQ(merged->Find("Form")->GetText("x"), "2");
    EXPECT_EQ(merged->Find("Form")->GetText("y"), "3");
    // A cycle is broken, so look-ups terminate.
    auto cyclic = ParseSkin("[A]\nbase = B\n[B]\nbase = A\nk = v\n");
    EXPECT_EQ(cyclic->Find("A")->GetText("k"), "v");
    EXPECT_EQ(cyclic->Find("B")->GetText("nothing", "none"), "none");
}

TEST(SkinParse, RefusesOversizedText) {
    std::string big = "[Form]\n" + std::string(kMaxSkinBytes, ';');
    EXPECT_FALSE(ParseSkin(big));
}

TEST(SkinParse, UnreadableValuesFallBack) {
    auto set = ParseSkin("[Button]\nfill = purple\nfont = ,\nradius = lots\n");
    const SkinElement* button = set->Find("Button");
    EXPECT_EQ(button->GetFill("fill", *ParseFill("#010203")).top, (Color{1, 2, 3}));
    EXPECT_TRUE(button->GetFont("font").faces.empty());
    EXPECT_EQ(button->GetMetric("radius", 4), 4);
}

TEST(SkinParse, ShippedSkinHasEveryElement) {
    // The shipped file is read from the source tree; every element the windows
    // ask for must be there and parse cleanly.
    FILE* f = std::fopen(ORVELLE_SKIN_FILE, "rb");
    ASSERT_TRUE(f) << ORVELLE_SKIN_FILE;
    std::string text;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
    auto set = ParseSkin(text);
    ASSERT_TRUE(set);
    for (const auto& d : set->diagnostics) ADD_FAILURE() << "line " << d.line << ": " << d.message;
    for (const char* name : {"Form", "SmallForm", "system", "cpu", "Button", "Label", "frame",
                             "check", "radio", "Statusbar", "Tab"}) {
        EXPECT_TRUE(set->Find(name)) << name;
    }
    auto spots = set->Find("Form")->HotSpots();
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(spots[0].name, "About");
    EXPECT_EQ(spots[1].name, "help");
    EXPECT_TRUE(set->Find("SmallForm")->HotSpots().empty());
}

CaptionMetrics Bar(int width, std::vector<int> spots) {
    CaptionMetrics m;
    m.window_width = width;
    m.caption_height = 30;
    m.border = 1;
    m.button_width = 26;
    m.gap = 2;
    m.min_title = 60;
    m.hot_spot_widths = std::move(spots);
    return m;
}

TEST(CaptionLayout, BoxesRightToLeftWithoutOverlap) {
    auto boxes = LayoutCaption(Bar(400, {50, 20}));
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].role, CaptionBox::Role::Close);
    EXPECT_EQ(boxes[0].right, 400 - 1 - 2);
    EXPECT_EQ(boxes[1].role, CaptionBox::Role::Minimize);
    EXPECT_EQ(boxes[2].hot_spot, 1);  // "help", the last in file order, sits by the buttons
    EXPECT_EQ(boxes[3].hot_spot, 0);
    for (std::size_t i = 1; i < boxes.size(); ++i) EXPECT_LE(boxes[i].right, boxes[i - 1].left);
    for (const auto& b : boxes) {
        EXPECT_GE(b.left, 1 + 60);
        EXPECT_GT(b.bottom, b.top);
        EXPECT_LE(b.bottom, 30);
    }
    EXPECT_EQ(HitCaption(boxes, boxes[2].left, boxes[2].top), 2);
    EXPECT_EQ(HitCaption(boxes, boxes[2].right, boxes[2].top), -1);  // right edge exclusive
    EXPECT_EQ(HitCaption(boxes, 10, 10), -1);                        // the title: dragging

    CaptionMetrics owned = Bar(400, {50});
    owned.minimize = false;
    auto owned_boxes = LayoutCaption(owned);
    ASSERT_EQ(owned_boxes.size(), 2u);
    EXPECT_EQ(owned_boxes[1].role, CaptionBox::Role::HotSpot);
}

TEST(CaptionLayout, NarrowWindowsDropWhatDoesNotFit) {
    struct Case {
        int width;
        std::size_t boxes;
    } cases[] = {
        {400, 4}, {1 + 60 + 2 * 28 + 2 + 20 + 2 + 3, 3}, {1 + 60 + 28 + 3, 1}, {20, 0}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(LayoutCaption(Bar(c.width, {50, 20})).size(), c.boxes) << c.width;
    }
}

}  // namespace
}  // namespace orv::ui
