// The icon file reader and writer: what is written parses back with every
// size, the picture where it belongs and the rest transparent; broken files
// are refused without reading outside them.
#include <gtest/gtest.h>

#include "tools/ico.h"

namespace orv::tools {
namespace {

using platform::PictureData;

PictureData Filled(int w, int h, std::uint32_t rgb) {
    return {w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, rgb)};
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

TEST(Ico, WrittenIconsParseBackAtEverySize) {
    struct Case {
        const char* name;
        PictureData picture;
        std::uint32_t centre;  // 48-pixel image, over white
        bool side_bands_transparent;
    } cases[] = {
        {"square red", Filled(64, 64, 0xFF0000), 0xFF0000, false},
        {"one pixel", Filled(1, 1, 0x00FF00), 0x00FF00, false},
        {"wide blue, bands above and below", Filled(300, 100, 0x0000FF), 0x0000FF, true},
        {"huge grey", Filled(2000, 2000, 0x808080), 0x808080, false},
    };
    for (const auto& c : cases) {
        const std::string ico = EncodeIco(c.picture);
        auto images = ParseIco(ico);
        ASSERT_TRUE(images) << c.name;
        ASSERT_EQ(images->size(), std::size(kIconSides)) << c.name;
        for (std::size_t i = 0; i < images->size(); ++i) {
            EXPECT_EQ((*images)[i].width, kIconSides[i]) << c.name;
            EXPECT_EQ((*images)[i].height, kIconSides[i]) << c.name;
            EXPECT_EQ((*images)[i].bit_count, 32) << c.name;
        }
        // The largest image is the one decoded.
        auto back = DecodeIco(ico);
        ASSERT_TRUE(back) << c.name;
        ASSERT_EQ(back->width, 256) << c.name;
        EXPECT_EQ(back->pixels[128 * 256 + 128], c.centre) << c.name;
        EXPECT_EQ(back->pixels[2 * 256 + 128], c.side_bands_transparent ? 0xFFFFFFu : c.centre)
            << c.name << ": white where transparent";
        EXPECT_EQ(IconPicture(c.picture, 48).pixels[24 * 48 + 24], c.centre) << c.name;
    }
}

TEST(Ico, BrokenFilesAreRefused) {
    const std::string good = EncodeIco(Filled(16, 16, 0x123456));
    ASSERT_TRUE(ParseIco(good));
    auto with = [&](auto change) {
        std::string s = good;
        change(s);
        return s;
    };
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"a bitmap file", "BM" + std::string(60, '\0')},
        {"cursor type", with([](std::string& s) { s[2] = 2; })},
        {"no images", with([](std::string& s) { s[4] = 0; })},
        {"more entries than bytes", with([](std::string& s) { s[4] = 100; })},
        {"image past the end", with([](std::string& s) { Put32(s, 6 + 8, 0x7FFFFFFF); })},
        {"offset past the end", with([](std::string& s) { Put32(s, 6 + 12, 0xFFFFFFF0); })},
        {"offset inside the directory", with([](std::string& s) { Put32(s, 6 + 12, 8); })},
        {"cut short", good.substr(0, good.size() / 2)},
        {"odd bit count", with([](std::string& s) {
             s[(std::uint8_t(s[6 + 12]) | std::uint8_t(s[6 + 13]) << 8) + 14] = 7;
         })},
    };
    for (const auto& c : cases) EXPECT_FALSE(ParseIco(c.bytes)) << c.name;
}

TEST(Ico, PngImagesCountButAreNotDecoded) {
    std::string ico = std::string("\0\0\1\0\1\0", 6) + std::string(16, '\0');
    std::string png = "\x89PNG\r\n\x1a\n" + std::string("\0\0\0\x0DIHDR", 8) +
                      std::string("\0\0\1\0\0\0\1\0", 8) + std::string(8, '\0');
    Put32(ico, 6 + 8, static_cast<std::uint32_t>(png.size()));
    Put32(ico, 6 + 12, 22);
    ico += png;
    auto images = ParseIco(ico);
    ASSERT_TRUE(images);
    EXPECT_TRUE((*images)[0].png);
    EXPECT_EQ((*images)[0].width, 256);
    EXPECT_FALSE(DecodeIco(ico)) << "nothing to preview without a PNG decoder";
}

}  // namespace
}  // namespace orv::tools
