// The font file reader against files it must accept, refuse, and survive.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/fonts.h"

namespace orv::platform {
namespace {

std::string Be(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        out += static_cast<char>(c >> 8);
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

FontNameRecord Rec(std::uint16_t platform, std::uint16_t encoding, std::uint16_t language,
                   std::uint16_t id, std::string bytes) {
    return {platform, encoding, language, id, std::move(bytes)};
}

std::string Names(const std::optional<std::vector<FontNames>>& fonts) {
    if (!fonts) return "<not a font>";
    std::string out;
    for (const auto& f : *fonts) out += (out.empty() ? "" : "; ") + f.family + " / " + f.full;
    return out;
}

TEST(FontFile, NamesAreReadFromTheBestRecord) {
    struct Case {
        const char* name;
        std::vector<std::vector<FontNameRecord>> fonts;
        const char* want;
    } cases[] = {
        {"one font",
         {WindowsNameRecords({"Orvelle Sans", "Orvelle Sans Bold"})},
         "Orvelle Sans / Orvelle Sans Bold"},
        {"no full name: the family stands for it",
         {{Rec(3, 1, 0x409, 1, Be(u"Plain"))}},
         "Plain / Plain"},
        {"US English before another Windows language",
         {{Rec(3, 1, 0x407, 1, Be(u"Deutsch")), Rec(3, 1, 0x409, 1, Be(u"English"))}},
         "English / English"},
        {"Windows before Unicode before Macintosh, whatever the order",
         {{Rec(1, 0, 0, 1, "Mac"), Rec(0, 3, 0, 1, Be(u"Unicode")),
           Rec(3, 1, 0x411, 1, Be(u"Win"))}},
         "Win / Win"},
        {"Macintosh Roman read as Windows-1252",
         {{Rec(1, 0, 0, 1, "Caf\xe9")}},
         "Caf\xc3\xa9 / Caf\xc3\xa9"},
        {"characters beyond Latin",
         {{Rec(3, 1, 0x409, 1, Be(u"\u30e1\u30a4\u30ea\u30aa"))}},
         "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa / "
         "\xe3\x83\xa1\xe3\x82\xa4\xe3\x83\xaa\xe3\x82\xaa"},
        {"trailing NUL and blanks dropped",
         {{Rec(3, 1, 0x409, 1, Be(u"Padded  \0"))}},
         "Padded / Padded"},
        {"an empty best record gives way to a lesser one",
         {{Rec(3, 1, 0x409, 1, ""), Rec(1, 0, 0, 1, "Kept")}},
         "Kept / Kept"},
        {"encodings not read are passed over",
         {{Rec(3, 3, 0x409, 1, "\x01\x02"), Rec(1, 1, 0, 1, "Kanji"),
           Rec(3, 1, 0x409, 1, Be(u"Ok"))}},
         "Ok / Ok"},
        {"a collection, each font in order",
         {WindowsNameRecords({"Pair", "Pair Regular"}),
          WindowsNameRecords({"Pair", "Pair Italic"})},
         "Pair / Pair Regular; Pair / Pair Italic"},
        {"no family name", {{Rec(3, 1, 0x409, 4, Be(u"Only Full"))}}, "<not a font>"},
        {"a collection with one unnamed font",
         {WindowsNameRecords({"A", "A"}), {Rec(3, 1, 0x409, 2, Be(u"Regular"))}},
         "<not a font>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(ReadFontFile(BuildFontFile(c.fonts))), c.want) << c.name;
}

// Bytes changed in a good file at a place a damaged one would differ.
TEST(FontFile, DamagedOrForeignFilesAreNotFonts) {
    const std::string good = BuildFontFile({WindowsNameRecords({"Good", "Good"})});
    const std::string ttc =
        BuildFontFile({WindowsNameRecords({"A", "A"}), WindowsNameRecords({"B", "B"})});
    auto with = [](std::string s, std::size_t at, std::string_view bytes) {
        s.replace(at, bytes.size(), bytes);
        return s;
    };
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "This is not a font, only some words in a file.\r\n"},
        {"a bitmap", "BM" + std::string(60, '\0')},
        {"unknown version", with(good, 0, "wOFF")},
        {"no tables", with(good, 4, std::string("\0\0", 2))},
        {"more tables than the file holds", with(good, 4, "\xff\xff")},
        {"name table past the end", with(good, 20, "\x7f\xff\xff\xff")},
        {"name table longer than the file", with(good, 24, std::string("\x00\x01\x00\x00", 4))},
        {"name table offset and length that wrap",
         with(with(good, 20, "\xff\xff\xff\xf0"), 24, std::string("\0\0\0\x20", 4))},
        {"more name records than the table", with(good, 30, "\xff\xff")},
        {"string storage past the table", with(good, 32, "\xff\x00")},
        {"no name table", with(good, 12, "glyf")},
        {"collection of no fonts", with(ttc, 8, std::string("\0\0\0\0", 4))},
        {"collection of a million fonts", with(ttc, 8, std::string("\x00\x0f\x42\x40", 4))},
        {"collection offset past the end", with(ttc, 12, "\x7f\xff\xff\xff")},
    };
    ASSERT_NE(ReadFontFile(good), std::nullopt);
    ASSERT_NE(ReadFontFile(ttc), std::nullopt);
    for (const auto& c : cases) EXPECT_EQ(ReadFontFile(c.bytes), std::nullopt) << c.name;
}

// Each cut is copied into a buffer of exactly its size, so a read past the
// end is caught by the sanitizers of the asan build.
TEST(FontFile, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
    const std::string files[] = {
        BuildFontFile({WindowsNameRecords({"Cut", "Cut Regular"})}),
        BuildFontFile({WindowsNameRecords({"A", "A One"}), WindowsNameRecords({"B", "B Two"})}),
    };
    for (const std::string& file : files) {
        for (std::size_t n = 0; n < file.size(); ++n) {
            auto buffer = std::make_unique<std::uint8_t[]>(n + 1);
            std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n), buffer.get());
            // The last name table reaches the end of the file, so any cut
            // leaves a table that does not fit.
            EXPECT_EQ(ReadFontFile(std::span<const std::uint8_t>(buffer.get(), n)), std::nullopt)
                << "cut at " << n << " of " << file.size();
        }
    }
}

TEST(FontFile, RegistryNameJoinsTheFullNames) {
    EXPECT_EQ(FontRegistryName({{"Orvelle", "Orvelle Bold"}}), "Orvelle Bold (TrueType)");
    EXPECT_EQ(FontRegistryName({{"Pair", "Pair Regular"}, {"Pair", "Pair Italic"}}),
              "Pair Regular & Pair Italic (TrueType)");
}

TEST(FontFaces, EachFaceOnceInTheSystemsOrderWithoutVerticalFaces) {
    struct Case {
        const char* name;
        std::vector<std::string> enumerated;
        std::vector<std::string> want;
    } cases[] = {
        {"order kept, not sorted",
         {"Tahoma", "Arial", "Courier New"},
         {"Tahoma", "Arial", "Courier New"}},
        {"once per character set", {"Arial", "Arial", "Tahoma", "Arial"}, {"Arial", "Tahoma"}},
        {"repeats differ in case only", {"MS Sans Serif", "ms sans serif"}, {"MS Sans Serif"}},
        {"vertical faces left out", {"@MS Gothic", "MS Gothic", "@SimSun"}, {"MS Gothic"}},
        {"nothing listed", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ListedFaces(c.enumerated), c.want) << c.name;
}

}  // namespace
}  // namespace orv::platform
