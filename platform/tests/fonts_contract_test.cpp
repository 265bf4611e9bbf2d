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

    // Bytes of a font the backend can load: the simulation reads any file
    // the reader accepts; the real system wants a whole font, so one of its
    // own is copied.
    std::optional<std::string> LoadableFont() {
        if (backend->IsSim()) return BuildFontFile({WindowsNameRecords({"Contract", "Contract"})});
        std::string folder;
        if (p.fonts.MachineFontsFolder(folder) != kSuccess) return std::nullopt;
        for (const auto& f : p.files.FindFiles(folder + "\\*.ttf")) {
            auto bytes = p.files.ReadFile(folder + "\\" + f.name);
            if (bytes && ReadFontFile(*bytes)) return bytes;
        }
        return std::nullopt;
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
    auto font = LoadableFont();
    ASSERT_TRUE(font) << "no font file to load";
    const std::string path = backend->TempFolder() + "\\contract font.ttf";
    const std::string text = backend->TempFolder() + "\\not a font.ttf";
    backend->WriteFile(path, *font);
    backend->WriteFile(text, "just some words, not a font\r\n");

    EXPECT_EQ(p.fonts.AddFontFile(text), 0);
    EXPECT_EQ(p.fonts.AddFontFile(backend->TempFolder() + "\\missing.ttf"), 0);
    EXPECT_GE(p.fonts.AddFontFile(path), 1);
    EXPECT_TRUE(p.fonts.RemoveFontFile(path));
    EXPECT_FALSE(p.fonts.RemoveFontFile(path)) << "taken out once already";
    EXPECT_TRUE(p.fonts.BroadcastFontChange());
}

}  // namespace
}  // namespace orv::testing
