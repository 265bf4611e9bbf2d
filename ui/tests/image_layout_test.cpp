#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ui/image.h"
#include "ui/layout.h"

namespace orv::ui {
namespace {

void Put16(std::string& s, std::size_t at, std::uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

// A BMP of `w` x `h` pixels of `bits` (8 with a 2-colour palette).
std::string Bmp(int w, int h, int bits) {
    const std::size_t stride = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    const std::size_t palette = bits == 8 ? 2 * 4 : 0;
    const std::size_t offset = 14 + 40 + palette;
    std::string s(offset + stride * static_cast<std::size_t>(h < 0 ? -h : h), '\0');
    s[0] = 'B', s[1] = 'M';
    Put32(s, 2, static_cast<std::uint32_t>(s.size()));
    Put32(s, 10, static_cast<std::uint32_t>(offset));
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<std::uint32_t>(w));
    Put32(s, 22, static_cast<std::uint32_t>(h));
    Put16(s, 26, 1);
    Put16(s, 28, static_cast<std::uint32_t>(bits));
    if (bits == 8) {
        Put32(s, 46, 2);
        Put32(s, 54, 0x00112233);  // colour 0
        Put32(s, 58, 0x00445566);  // colour 1
    }
    return s;
}

TEST(DecodeBmp, BottomUpRowsComeOutTopDown) {
    std::string s = Bmp(2, 2, 24);
    // Bottom row first in the file: blue pixel at its left.
    s[54] = static_cast<char>(0xFF);
    auto image = DecodeBmp(s);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels[2], 0xFF0000FFu);  // row 1 (bottom), column 0
    EXPECT_EQ(image->pixels[0], 0xFF000000u);
}

TEST(DecodeBmp, TopDownPalettedAnd32Bit) {
    std::string p = Bmp(3, -1, 8);
    p[62 + 1] = 1;
    p[62 + 2] = 9;  // past the palette: black, not a read past it
    auto paletted = DecodeBmp(p);
    ASSERT_TRUE(paletted);
    EXPECT_EQ(paletted->pixels[0], 0xFF112233u);
    EXPECT_EQ(paletted->pixels[1], 0xFF445566u);
    EXPECT_EQ(paletted->pixels[2], 0xFF000000u);

    std::string q = Bmp(1, 1, 32);
    Put32(q, 54, 0x00ABCDEF);  // zero alpha everywhere means opaque
    EXPECT_EQ(DecodeBmp(q)->pixels[0], 0xFFABCDEFu);
    Put32(q, 54, 0x80ABCDEF);
    EXPECT_EQ(DecodeBmp(q)->pixels[0], 0x80ABCDEFu);
}

TEST(DecodeBmp, RefusesMalformedFiles) {
    const std::string good = Bmp(4, 4, 24);
    ASSERT_TRUE(DecodeBmp(good));
    struct Case {
        const char* what;
        std::string bytes;
    };
    auto with = [&](std::size_t at, std::uint32_t v, bool wide = true) {
        std::string s = good;
        wide ? Put32(s, at, v) : Put16(s, at, v);
        return s;
    };
    Case cases[] = {
        {"empty", ""},
        {"not BM", "XM" + good.substr(2)},
        {"truncated header", good.substr(0, 30)},
        {"truncated pixels", good.substr(0, good.size() - 1)},
        {"core header", with(14, 12)},
        {"zero width", with(18, 0)},
        {"negative width", with(18, static_cast<std::uint32_t>(-4))},
        {"zero height", with(22, 0)},
        {"huge width", with(18, kMaxImageSide + 1)},
        {"INT_MIN height", with(22, 0x80000000u)},
        {"two planes", with(26, 2, false)},
        {"16 bits", with(28, 16, false)},
        {"RLE", with(30, 1)},
        {"offset past the end", with(10, 0xFFFFFFF0u)},
        {"offset inside the header", with(10, 20)},
        {"palette too large",
         [&] {
             std::string s = Bmp(1, 1, 8);
             Put32(s, 46, 257);
             return s;
         }()},
        {"palette past the end",
         [&] {
             std::string s = Bmp(1, 1, 8);
             Put32(s, 46, 200);
             return s;
         }()},
    };
    for (const auto& c : cases) EXPECT_FALSE(DecodeBmp(c.bytes)) << c.what;
}

TEST(Twips, ConversionAtCommonDpis) {
    struct Case {
        int twips, dpi, pixels;
    } cases[] = {
        {15, 96, 1},     {1440, 96, 96},   {7, 96, 0},       {8, 96, 1},  // half rounds up
        {-8, 96, -1},    {-7, 96, 0},      {1440, 144, 144}, {10, 144, 1},
        {5750, 96, 383}, {5750, 144, 575}, {0, 120, 0},      {INT_MAX, 192, 286331153},
        {100, 0, 0},  // a nonsense DPI gives nothing rather than a division by zero
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << "@" << c.dpi;
    }
    EXPECT_EQ(PixelsToTwips(1, 96), 15);
    EXPECT_EQ(PixelsToTwips(3, 144), 30);
    EXPECT_EQ(PixelsToTwips(INT_MAX, 96), INT_MAX);  // clamped, not wrapped
    EXPECT_EQ(ScalePixels(30, 144), 45);
    EXPECT_EQ(ScalePixels(1, 120), 1);
}

TEST(Twips, AdjacentRectsStayAdjacent) {
    // Two controls touching in twips touch in pixels at every DPI, even where
    // each size alone would round differently.
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (int left = 0; left < 40; ++left) {
            PixelRect a = TwipsRectToPixels(left, 0, 37, 10, dpi);
            PixelRect b = TwipsRectToPixels(left + 37, 0, 23, 10, dpi);
            EXPECT_EQ(a.left + a.width, b.left) << left << "@" << dpi;
        }
    }
    EXPECT_EQ(TwipsRectToPixels(30, 30, -100, 0, 96), (PixelRect{2, 2, 0, 0}));
}

}  // namespace
}  // namespace orv::ui
