// What the display, drives, pictures and system-facts logic relies on, held
// against the simulation and the real API alike. Every change a test makes to
// the session (a colour, the wallpaper, font smoothing) is put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "backend.h"
#include "platform/regvalue.h"

namespace orv::testing {
namespace {

using namespace orv::platform;

class MachineContract : public ::testing::Test {
  protected:
    std::unique_ptr<TestBackend> backend = MakeTestBackend();
    Platform& p = backend->P();

    std::string WallpaperValue() {
        HKey k = 0;
        if (p.registry.OpenKey(kCurrentUser, "Control Panel\\Desktop", kKeyRead, k) != kSuccess)
            return {};
        RegValue v;
        Status s = p.registry.QueryValue(k, "Wallpaper", v);
        p.registry.CloseKey(k);
        return s == kSuccess ? DataAsText(v) : std::string();
    }
};

TEST_F(MachineContract, DisplayModesEndAndABadSizeIsRefused) {
    DisplayMode first;
    ASSERT_TRUE(p.display.EnumMode(0, first));
    EXPECT_GT(first.width, 0u);
    EXPECT_GT(first.height, 0u);
    DisplayMode past;
    EXPECT_FALSE(p.display.EnumMode(100000, past));
    std::int32_t r = p.display.ChangeMode(12345, 7);
    EXPECT_NE(r, kDispChangeSuccessful) << "got " << r;
}

TEST_F(MachineContract, SystemColourSetReadsBackAndBadIndexChangesNothing) {
    const int index = 13;  // highlight
    const std::uint32_t before = p.display.GetSysColor(index);
    const std::uint32_t wanted = before == 0x123456 ? 0x654321 : 0x123456;
    const int one[] = {index};
    const std::uint32_t colour[] = {wanted};
    ASSERT_TRUE(p.display.SetSysColors(one, colour));
    EXPECT_EQ(p.display.GetSysColor(index), wanted);
    const std::uint32_t restore[] = {before};
    EXPECT_TRUE(p.display.SetSysColors(one, restore));
    EXPECT_EQ(p.display.GetSysColor(index), before);

    const int bad[] = {index, 99};
    const std::uint32_t two[] = {wanted, wanted};
    EXPECT_FALSE(p.display.SetSysColors(bad, two));
    EXPECT_EQ(p.display.GetSysColor(index), before);
    EXPECT_EQ(p.display.GetSysColor(-1), 0u);
    EXPECT_EQ(p.display.GetSysColor(kColorCount), 0u);
}

TEST_F(MachineContract, FontSmoothingSetReadsBack) {
    auto before = p.display.GetFontSmoothing();
    ASSERT_TRUE(before.has_value());
    ASSERT_TRUE(p.display.SetFontSmoothing(!*before));
    EXPECT_EQ(p.display.GetFontSmoothing(), std::optional<bool>(!*before));
    EXPECT_TRUE(p.display.SetFontSmoothing(*before));
    EXPECT_EQ(p.display.GetFontSmoothing(), before);
}

TEST_F(MachineContract, WallpaperSetterWritesTheUsersValue) {
    const std::string before = WallpaperValue();
    PictureData pic{2, 1, {0xFF0000, 0x0000FF}};
    const std::string path = backend->TempFolder() + "\\wall.bmp";
    ASSERT_EQ(p.files.SaveFile(path, EncodeBmp(pic)), kSuccess);
    ASSERT_TRUE(p.display.SetWallpaper(path));
    std::string now = WallpaperValue();
    EXPECT_TRUE(std::equal(now.begin(), now.end(), path.begin(), path.end(),
                           [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
        << "got " << now;
    p.display.SetWallpaper(before);
}

TEST_F(MachineContract, DrivesReportTypeAndSpaceOfTheSystemDrive) {
    auto roots = p.drives.LogicalDrives();
    ASSERT_NE(std::find(roots.begin(), roots.end(), "C:\\"), roots.end());
    EXPECT_EQ(p.drives.DriveType("C:\\"), kDriveFixed);
    DiskSpace space;
    ASSERT_EQ(p.drives.FreeSpace("C:\\", space), kSuccess);
    EXPECT_GT(space.total_bytes, 0u);
    EXPECT_LE(space.free_bytes, space.total_bytes);
}

TEST_F(MachineContract, AMissingDriveLetterIsAnOutcomeNotACrash) {
    auto roots = p.drives.LogicalDrives();
    std::string missing;
    for (char c = 'Z'; c > 'C' && missing.empty(); --c) {
        std::string r = std::string(1, c) + ":\\";
        if (std::find(roots.begin(), roots.end(), r) == roots.end()) missing = r;
    }
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(p.drives.DriveType(missing), kDriveNoRootDir);
    DiskSpace space{7, 7};
    EXPECT_NE(p.drives.FreeSpace(missing, space), kSuccess);
}

TEST_F(MachineContract, StartingAMissingProgramSaysSo) {
    Status s = p.drives.StartProgram(backend->TempFolder() + "\\nothing-here.exe /x", kShowNormal);
    EXPECT_TRUE(s == kFileNotFound || s == kPathNotFound) << "got " << s;
}

TEST_F(MachineContract, BitmapFileSavedAndLoadedKeepsEveryPixel) {
    // Three pixels wide: each row needs padding, which a reader must skip.
    PictureData pic{3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x000000}};
    const std::string path = backend->TempFolder() + "\\pic.bmp";
    ASSERT_EQ(p.files.SaveFile(path, EncodeBmp(pic)), kSuccess);
    auto back = p.pictures.Load(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->pixels, pic.pixels);
}

TEST_F(MachineContract, WhatIsNotAPictureLoadsAsNothing) {
    const std::string text = backend->TempFolder() + "\\notes.jpg";
    backend->WriteFile(text, "not a picture at all");
    EXPECT_FALSE(p.pictures.Load(text).has_value());
    EXPECT_FALSE(p.pictures.Load(backend->TempFolder() + "\\missing.png").has_value());
}

TEST_F(MachineContract, PngDecodesThroughTheImagingComponent) {
    if (backend->IsSim()) GTEST_SKIP() << "the simulation has no codecs; tests seed pictures";
    static const char kPng[] =
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00"
        "\x00\x00\x02\x08\x02\x00\x00\x00\xfd\xd4\x9a\x73\x00\x00\x00\x12\x49\x44\x41\x54\x78"
        "\x9c\x63\xf8\xcf\x00\x04\xff\x41\xe8\xff\xff\xff\x00\x1f\xee\x05\xfb\x6d\xdc\xce\xad"
        "\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
    const std::string path = backend->TempFolder() + "\\two.png";
    backend->WriteFile(path, std::string_view(kPng, sizeof kPng - 1));
    auto pic = p.pictures.Load(path);
    ASSERT_TRUE(pic.has_value());
    EXPECT_EQ(pic->pixels, (std::vector<std::uint32_t>{0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF}));
}

TEST_F(MachineContract, SystemFactsArePresent) {
    auto name = p.system_info.ComputerName();
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());
    auto user = p.system_info.UserName();
    ASSERT_TRUE(user.has_value());
    EXPECT_FALSE(user->empty());
    auto mem = p.system_info.Memory();
    ASSERT_TRUE(mem.has_value());
    EXPECT_GT(mem->total_physical, 0u);
    EXPECT_GT(mem->total_page_file, 0u);
    auto v = p.system_info.Version();
    ASSERT_TRUE(v.has_value());
    EXPECT_GE(v->major, 5u);
    EXPECT_EQ(v->platform_id, 2u);
}

}  // namespace
}  // namespace orv::testing
