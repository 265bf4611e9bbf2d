// What the font manager relies on, held against the simulation and the real
// API alike. A font added to the session's table is taken out again.
#include <gtest/gtest.h>

#include <algorithm>

#include "backend.h"
#include "platform/fonts.h"
#include "platform/text.h"

namespace orv::testing {
namespace {

using namespace orv::platform;

class FontsContract : public ::testing::Test {
  protected:
    std::unique_ptr<TestBackend> backend = MakeTestBackend();
    Platform& p = backend->P();

    // Fonts the backend may load: on the simulation any file the reader
    // accepts; on the real system its own TrueType files (some of Wine's are
    // bitmaps only, which it does not load this way), each renamed, since
    // Wine adds no second font of a name it has.
    std::vector<std::string> CandidateFonts() {
        if (backend->IsSim())
            return {BuildFontFile({WindowsNameRecords({"Contract", "Contract"})})};
        std::vector<std::string> found;
        std::string folder;
        if (p.fonts.MachineFontsFolder(folder) != kSuccess) return found;
        for (const auto& f : p.files.FindFiles(folder + "\\*.ttf")) {
            auto bytes = p.files.ReadFile(folder + "\\" + f.name);
            auto fonts = bytes ? ReadFontFile(*bytes) : std::nullopt;
            if (!fonts || fonts->size() != 1) continue;
            const std::string family = fonts->front().family;
            if (family.size() < 4 || family.substr(0, 3) == "Orv") continue;
            Rename(*bytes, family, "Orv" + family.substr(3));
            found.push_back(std::move(*bytes));
        }
        return found;
    }
    // Every copy of `from` in the name table, as UTF-16BE or as bytes, by
    // `to` of the same length: nothing moves.
    static void Rename(std::string& bytes, const std::string& from, const std::string& to) {
        auto be = [](const std::string& s) {
            std::string out;
            for (char c : s) out += {'\0', c};
            return out;
        };
        for (auto [a, b] : {std::pair{be(from), be(to)}, std::pair{from, to}})
            for (std::size_t at = bytes.find(a); at != std::string::npos; at = bytes.find(a, at))
                bytes.replace(at, a.size(), b);
    }
};

TEST_F(FontsContract, FacesComeOnceWithoutVerticalOnes) {
    const auto faces = p.fonts.ScreenFaces();
    ASSERT_FALSE(faces.empty());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        EXPECT_FALSE(faces[i].empty());
        EXPECT_NE(faces[i].front(), '@') << faces[i];
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(text::EqualsNoCase(faces[i], faces[j])) << faces[i];
    }
}

TEST_F(FontsContract, FoldersAreWholePathsWithoutATrailingBackslash) {
    std::string machine, user;
    ASSERT_EQ(p.fonts.MachineFontsFolder(machine), kSuccess);
    ASSERT_EQ(p.fonts.UserFontsFolder(user), kSuccess);
    for (const std::string& folder : {machine, user}) {
        ASSERT_GT(folder.size(), 3u);
        EXPECT_EQ(folder[1], ':') << folder;
        EXPECT_NE(folder.back(), '\\') << folder;
    }
    EXPECT_TRUE(text::EqualsNoCase(machine.substr(machine.size() - 6), "\\Fonts")) << machine;
    EXPECT_NE(p.files.GetAttributes(machine) & kAttrDirectory, 0u) << machine;
    const std::string tail = "\\Microsoft\\Windows\\Fonts";
    ASSERT_GT(user.size(), tail.size());
    EXPECT_TRUE(text::EqualsNoCase(user.substr(user.size() - tail.size()), tail)) << user;
}

TEST_F(FontsContract, AFontFileIsAddedAndRemovedAndAnythingElseIsNot) {
    const std::string text = backend->TempFolder() + "\\not a font.ttf";
    backend->WriteFile(text, "just some words, not a font\r\n");
    EXPECT_EQ(p.fonts.AddFontFile(text), 0);
    EXPECT_EQ(p.fonts.AddFontFile(backend->TempFolder() + "\\missing.ttf"), 0);

    const std::string path = backend->TempFolder() + "\\contract font.ttf";
    int added = 0;
    for (const std::string& font : CandidateFonts()) {
        backend->WriteFile(path, font);
        if ((added = p.fonts.AddFontFile(path)) > 0) break;
    }
    ASSERT_GE(added, 1) << "no font file of the system loads";
    EXPECT_TRUE(p.fonts.RemoveFontFile(path));
    EXPECT_FALSE(p.fonts.RemoveFontFile(path)) << "taken out once already";
    EXPECT_TRUE(p.fonts.BroadcastFontChange());
}

}  // namespace
}  // namespace orv::testing
