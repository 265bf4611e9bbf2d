#include "tweaks/display_panel.h"
#include "panel_fixture.h"
#include "platform/regvalue.h"
#include "registry/regpath.h"

namespace orv::tweaks {
namespace {

using namespace orv::platform;

TEST(ParseResolution, ComboTexts) {
    struct Case {
        const char* name;
        const char* text;
        bool parsed;
        float w, h;
    } cases[] = {
        {"list entry", "1024x768", true, 1024, 768},
        {"caption has no x", "Select resolution", false, 0, 0},
        {"blanks around parts", " 800 x 600 ", true, 800, 600},
        {"depth appended", "1280x1024x32", true, 1280, 1024},
        {"capital X", "1152X864", true, 1152, 864},
        {"parts not numbers", "axb", false, 0, 0},
        {"height missing", "1024x", false, 0, 0},
        {"trailing junk", "1024x768px", false, 0, 0},
        {"just x", "x", false, 0, 0},
    };
    for (const auto& c : cases) {
        auto r = ParseResolution(c.text);
        ASSERT_EQ(r.has_value(), c.parsed) << c.name;
        if (r) {
            EXPECT_EQ(r->width, c.w) << c.name;
            EXPECT_EQ(r->height, c.h) << c.name;
        }
    }
}

TEST(ComposePreview, ColourAroundAFittedPicture) {
    PictureData tall{1, 2, {0x112233, 0x445566}};
    auto p = ComposePreview(4, 2, 0x00CC8800, &tall);  // BGR 0x00CC8800 is RGB 0x0088CC
    ASSERT_EQ(p.pixels.size(), 8u);
    EXPECT_EQ(p.pixels[0], 0x0088CCu) << "left margin in the desktop colour";
    EXPECT_EQ(p.pixels[1], 0x112233u) << "picture scaled to the height, centred";
    EXPECT_EQ(p.pixels[4 + 1], 0x445566u);
    EXPECT_EQ(p.pixels[2], 0x0088CCu);
    EXPECT_EQ(p.pixels[3], 0x0088CCu);
    EXPECT_EQ(ComposePreview(2, 1, 0, nullptr).pixels, (std::vector<std::uint32_t>{0, 0}));
}

class DisplayPanelTest : public testing::PanelTest {
  protected:
    DisplayPanel panel{form, frame, world.platform};
    const std::string windows_copy = "C:\\Windows\\wallpaper.bmp";
    const std::string user_copy = "C:\\Users\\user\\AppData\\Local\\Orvelle\\wallpaper.bmp";

    void Start() {
        panel.FillColour();
        panel.FillWallpaper();
        ShowForm();
    }
    std::string Wallpaper() {
        registry::RegistryPaths paths(world.registry, world.environment);
        return paths.RegReadValue(kWallpaperValue);
    }
    void SetWallpaperValue(std::string_view value) {
        registry::RegistryPaths paths(world.registry, world.environment);
        paths.ApplyText(kWallpaperValue, value);
    }
    // A PNG the simulation decodes to a 2x2 picture.
    std::string PutPng() {
        const std::string path = "C:\\Users\\user\\Pictures\\beach.png";
        world.files.WriteFile(path, "\x89PNG...");
        world.pictures.Seed(path, {2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}});
        return path;
    }
    void ChoosePicture(std::string path) {
        host.Click(panel.wallpaperCheck);
        host.open_answers.push_back(std::move(path));
        host.Click(panel.wallpapercmd);
    }
};

TEST_F(DisplayPanelTest, PreviewShowsTheCurrentWallpaperUnlessNone) {
    const std::string bmp = "C:\\Windows\\Web\\current.bmp";
    world.files.WriteFile(bmp, EncodeBmp({1, 1, {0x0000FF}}));
    struct Case {
        const char* name;
        const char* value;  // nullptr: no value at all
        bool shown;
    } cases[] = {
        {"a readable picture", bmp.c_str(), true},
        {"none", "(none)", false},
        {"none in capitals", "(NONE)", false},
        {"empty", "", false},
        {"missing value", nullptr, false},
        {"file gone", "C:\\Windows\\Web\\gone.bmp", false},
    };
    for (const auto& c : cases) {
        if (c.value) SetWallpaperValue(c.value);
        DisplayPanel p{form, frame, world.platform};
        p.FillColour();
        p.FillWallpaper();
        EXPECT_EQ(p.preview_colour, world.display.colors[kColorDesktop]) << c.name;
        EXPECT_EQ(p.preview_source, c.shown ? c.value : "") << c.name;
        ASSERT_FALSE(p.Picture2.Source().empty()) << c.name;
        auto shown = DecodeBmp24(HostFile(p.Picture2.Source()));
        ASSERT_TRUE(shown.has_value()) << c.name;
        const auto centre = shown->pixels[shown->pixels.size() / 2 + shown->width / 2];
        EXPECT_EQ(centre == 0x0000FF, c.shown) << c.name;
    }
}

TEST_F(DisplayPanelTest, CheckBoxesEnableTheirControls) {
    Start();
    EXPECT_FALSE(panel.RCombo.Enabled());
    EXPECT_FALSE(panel.wallpapercmd.Enabled());
    host.Click(panel.ResolutionCheck);
    host.Click(panel.wallpaperCheck);
    EXPECT_TRUE(panel.RCombo.Enabled());
    EXPECT_TRUE(panel.wallpapercmd.Enabled());
    host.Click(panel.ResolutionCheck);
    EXPECT_FALSE(panel.RCombo.Enabled());
}

TEST_F(DisplayPanelTest, FontSmoothingUntouchedStaysAsItWas) {
    for (bool before : {true, false}) {
        world.display.font_smoothing = before;
        DisplayPanel p{form, frame, world.platform};
        p.FillColour();
        EXPECT_EQ(p.fsmooth.Value(), before ? 1 : 0);
        p.applyvisualcmd_Click();
        EXPECT_EQ(world.display.font_smoothing, before);
        EXPECT_EQ(world.settings->Get(kSettingsApp, "visual", "smooth", ""), before ? "1" : "0");
    }
}

TEST_F(DisplayPanelTest, SmoothingUnreadableAtLoadIsOnlySetWhenTheUserChoseIt) {
    world.display.fail = true;
    Start();
    world.display.fail = false;
    host.Click(panel.applyvisualcmd);
    EXPECT_EQ(world.display.smoothing_sets, 0);
    EXPECT_TRUE(world.display.font_smoothing);
    host.Click(panel.fsmooth);
    host.Click(panel.fsmooth);
    host.Click(panel.applyvisualcmd);
    EXPECT_FALSE(world.display.font_smoothing) << "the box the user left unchecked";
}

TEST_F(DisplayPanelTest, ChosenPngBecomesABitmapWallpaper) {
    Start();
    ChoosePicture(PutPng());
    EXPECT_EQ(panel.copy_path, windows_copy);
    host.Click(panel.applyvisualcmd);
    EXPECT_EQ(Wallpaper(), windows_copy);
    auto copy = DecodeBmp24(HostFile(windows_copy));
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->pixels, (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DisplayPanelTest, WhereTheBitmapCopyGoes) {
    struct Case {
        const char* name;
        bool windows_writable, user_writable;
        const char* copy;  // "" none: the user is told and nothing is applied
    } cases[] = {
        {"windows folder", true, true, "C:\\Windows\\wallpaper.bmp"},
        {"standard user", false, true, "C:\\Users\\user\\AppData\\Local\\Orvelle\\wallpaper.bmp"},
        {"nowhere", false, false, ""},
    };
    for (const auto& c : cases) {
        sim::World w(sandbox_ / c.name);
        ui::Form f{host, "mainform", "", 9000, 7000};
        ui::Frame fr{f, "VoptionsFrame", {"", "", 0, 0, 7000, 4800}};
        DisplayPanel p{f, fr, w.platform};
        if (!c.windows_writable) w.files.FailUnder("C:\\Windows", kAccessDenied);
        if (!c.user_writable) w.files.FailUnder("C:\\Users", kAccessDenied);
        p.FillColour();
        f.Show();
        const std::string png = "D:\\beach.png";
        w.files.MapDrive('D', sandbox_ / (std::string(c.name) + "-d"));
        w.files.WriteFile(png, "png");
        w.pictures.Seed(png, {1, 1, {0x123456}});
        host.messages.clear();
        host.Click(p.wallpaperCheck);
        host.open_answers.push_back(png);
        host.Click(p.wallpapercmd);
        host.Click(p.applyvisualcmd);
        registry::RegistryPaths paths(w.registry, w.environment);
        if (*c.copy) {
            EXPECT_EQ(p.copy_path, c.copy) << c.name;
            EXPECT_EQ(paths.RegReadValue(kWallpaperValue), c.copy) << c.name;
            EXPECT_TRUE(host.messages.empty()) << c.name;
        } else {
            EXPECT_EQ(paths.RegReadValue(kWallpaperValue), "Error") << c.name;
            EXPECT_EQ(host.messages.size(), 2u) << c.name << ": the save, then the apply";
        }
    }
}

TEST_F(DisplayPanelTest, ApplyWithoutAnyPictureTellsTheUser) {
    Start();
    host.Click(panel.wallpaperCheck);
    host.Click(panel.applyvisualcmd);
    EXPECT_EQ(Wallpaper(), "Error");
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(DisplayPanelTest, CancelledOrUnreadableChoiceKeepsTheCopy) {
    Start();
    ChoosePicture(PutPng());
    const std::string before = HostFile(windows_copy);
    host.open_answers.push_back("");
    host.Click(panel.wallpapercmd);
    world.files.WriteFile("C:\\notes.jpg", "text");
    host.open_answers.push_back("C:\\notes.jpg");
    host.Click(panel.wallpapercmd);
    EXPECT_EQ(HostFile(windows_copy), before);
    EXPECT_EQ(host.messages.size(), 1u) << "only the unreadable file is reported";
}

TEST_F(DisplayPanelTest, ResolutionChangeIsExaminedAndARefusalStopsApply) {
    struct Case {
        const char* name;
        const char* choice;  // nullptr: nothing chosen
        bool accepted;
    } cases[] = {
        {"listed mode", "1152x864", true},
        {"nothing chosen", nullptr, false},
        {"a size the display lacks", "640x480", false},
    };
    for (const auto& c : cases) {
        world.display.current = {1024, 768, 32, 60};
        world.display.font_smoothing = true;
        DisplayPanel p{form, frame, world.platform};
        p.FillColour();
        ShowForm();
        host.messages.clear();
        host.Click(p.ResolutionCheck);
        if (c.choice) p.RCombo.SetText(c.choice);
        p.fsmooth.SetValue(0);
        host.Click(p.applyvisualcmd);
        if (c.accepted) {
            EXPECT_EQ(world.display.current.width, 1152u) << c.name;
            EXPECT_FALSE(world.display.font_smoothing) << c.name;
            EXPECT_TRUE(host.messages.empty()) << c.name;
        } else {
            EXPECT_EQ(world.display.current.width, 1024u) << c.name;
            EXPECT_TRUE(world.display.font_smoothing) << c.name << ": nothing else changes";
            EXPECT_EQ(host.messages.size(), 1u) << c.name;
        }
    }
}

TEST_F(DisplayPanelTest, PicturesThatCannotBeDecodedLeaveThePreviewColourOnly) {
    const std::string bmp = "C:\\Windows\\Web\\current.bmp";
    world.files.WriteFile(bmp, EncodeBmp({1, 1, {0x0000FF}}));
    SetWallpaperValue(bmp);
    world.pictures.fail = true;
    Start();
    EXPECT_EQ(panel.preview_source, "");
    EXPECT_FALSE(panel.Picture2.Source().empty()) << "the desktop colour is still shown";
    ChoosePicture(PutPng());
    EXPECT_EQ(panel.copy_path, "");
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace orv::tweaks
