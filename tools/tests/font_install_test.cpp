#include <filesystem>
#include <functional>

#include "fonts_fixture.h"

namespace orv::tools::testing {
namespace {

using namespace orv::platform;

// The simulated registry, with SetValue failing with a chosen code under the
// key it names.
class FailingSetValue : public Registry {
  public:
    explicit FailingSetValue(Registry& inner) : inner_(inner) {}
    Status fail_with = kSuccess;
    Status OpenKey(HKey p, std::string_view s, std::uint32_t a, HKey& out) override {
        return inner_.OpenKey(p, s, a, out);
    }
    Status CreateKey(HKey p, std::string_view s, std::uint32_t a, HKey& out, bool* c) override {
        return inner_.CreateKey(p, s, a, out, c);
    }
    Status CloseKey(HKey k) override { return inner_.CloseKey(k); }
    Status QueryInfoKey(HKey k, RegKeyInfo& i) override { return inner_.QueryInfoKey(k, i); }
    Status QueryValue(HKey k, std::string_view n, RegValue& v) override {
        return inner_.QueryValue(k, n, v);
    }
    Status SetValue(HKey k, std::string_view n, const RegValue& v) override {
        return fail_with != kSuccess ? fail_with : inner_.SetValue(k, n, v);
    }
    Status DeleteValue(HKey k, std::string_view n) override { return inner_.DeleteValue(k, n); }
    Status DeleteKey(HKey p, std::string_view s) override { return inner_.DeleteKey(p, s); }
    Status EnumKey(HKey k, std::uint32_t i, std::string& n) override {
        return inner_.EnumKey(k, i, n);
    }
    Status EnumValue(HKey k, std::uint32_t i, std::string& n, RegValue& v) override {
        return inner_.EnumValue(k, i, n, v);
    }

  private:
    Registry& inner_;
};

class FontInstallTest : public FontsTest {
  protected:
    FontInstallTest() { world.environment.Set("LOCALAPPDATA", "C:\\Users\\user\\AppData\\Local"); }
    std::string font = PutFont("OrvSans-Bold.ttf", "Orvelle Sans", "Orvelle Sans Bold");
    const std::string value = "Orvelle Sans Bold (TrueType)";
    const std::string machine_copy = std::string(kMachineFonts) + "\\OrvSans-Bold.ttf";
    const std::string user_copy = std::string(kUserFonts) + "\\OrvSans-Bold.ttf";
    FailingSetValue failing{world.registry};
    Platform platform = world.PlatformWith(failing);

    InstallResult Install(std::string_view path) { return InstallFonts(platform, path); }
    void CloseMachine() { world.registry.Deny(kLocalMachine, kFontsKey, kKeySetValue); }
    void SetListed(HKey root, std::string_view name, std::string_view data) {
        HKey k = 0;
        world.registry.CreateKey(root, kFontsKey, kKeyAllAccess, k);
        world.registry.SetValue(k, name, MakeSz(data));
        world.registry.CloseKey(k);
    }
    // Nothing of the font anywhere.
    void ExpectNothingLeft(const char* name) {
        EXPECT_FALSE(Exists(machine_copy)) << name;
        EXPECT_FALSE(Exists(user_copy)) << name;
        EXPECT_FALSE(Exists(kUserFonts)) << name << ": a folder made for it is removed";
        EXPECT_EQ(Listed(kLocalMachine, value), "<none>") << name;
        EXPECT_EQ(Listed(kCurrentUser, value), "<none>") << name;
        EXPECT_TRUE(world.fonts.added.empty()) << name;
    }
};

TEST_F(FontInstallTest, InstalledUnderItsOwnNameListedLoadedAndAnnounced) {
    const InstallResult r = Install(font);
    EXPECT_EQ(r.outcome, InstallOutcome::Installed);
    EXPECT_EQ(r.family, "Orvelle Sans");
    EXPECT_EQ(world.files.ReadFile(machine_copy), world.files.ReadFile(font));
    EXPECT_EQ(Listed(kLocalMachine, value), "OrvSans-Bold.ttf");
    EXPECT_EQ(world.fonts.added, std::vector<std::string>{machine_copy});
    EXPECT_EQ(world.fonts.broadcasts, 1);
    const auto faces = world.fonts.ScreenFaces();
    EXPECT_NE(std::find(faces.begin(), faces.end(), "Orvelle Sans"), faces.end());
    // A second file of another name installs beside it: nothing is overwritten.
    const std::string other = PutFont("OrvSans-Italic.ttf", "Orvelle Sans", "Orvelle Sans Italic");
    EXPECT_EQ(Install(other).outcome, InstallOutcome::Installed);
    EXPECT_EQ(world.files.ReadFile(machine_copy), world.files.ReadFile(font));
    EXPECT_EQ(Listed(kLocalMachine, "Orvelle Sans Italic (TrueType)"), "OrvSans-Italic.ttf");
}

TEST_F(FontInstallTest, ACollectionIsListedUnderAllItsNames) {
    const std::string path = std::string(kDownloads) + "\\pair.ttc";
    world.files.WriteFile(path, BuildFontFile({WindowsNameRecords({"Pair", "Pair Regular"}),
                                               WindowsNameRecords({"Pair", "Pair Italic"})}));
    EXPECT_EQ(Install(path).outcome, InstallOutcome::Installed);
    EXPECT_EQ(Listed(kLocalMachine, "Pair Regular & Pair Italic (TrueType)"), "pair.ttc");
}

TEST_F(FontInstallTest, RefusalsChangeNothing) {
    struct Case {
        const char* name;
        std::function<std::string()> arrange;  // the file to install
        InstallOutcome want;
        const char* message;
    } cases[] = {
        {"a file of that name in the fonts folder",
         [&] {
             world.files.WriteFile(machine_copy, "someone else's font");
             return font;
         },
         InstallOutcome::FileExists,
         "The fonts folder already has a file named \"OrvSans-Bold.ttf\". Nothing was installed."},
        {"the name listed for every user",
         [&] {
             SetListed(kLocalMachine, value, "other.ttf");
             return font;
         },
         InstallOutcome::NameRegistered,
         "A font named Orvelle Sans Bold is already installed. Nothing was installed."},
        {"the name listed for this user",
         [&] {
             SetListed(kCurrentUser, value, "C:\\x.ttf");
             return font;
         },
         InstallOutcome::NameRegistered, nullptr},
        {"not a font", [&] { return PutFile("letter.ttf", "Dear Sir,\r\n"); },
         InstallOutcome::NotAFont,
         "\"letter.ttf\" is not a TrueType or OpenType font. Nothing was installed."},
        {"a folder", [&] { return std::string(kDownloads); }, InstallOutcome::NotAFont, nullptr},
        {"gone", [&] { return std::string(kDownloads) + "\\gone.ttf"; }, InstallOutcome::Unreadable,
         "\"gone.ttf\" could not be read. Nothing was installed."},
        {"over 512 MB",
         [&] {
             const std::string path = PutFile("huge.ttf", "");
             std::filesystem::resize_file(world.files.HostPath(path), kMaxFontFileBytes + 1);
             return path;
         },
         InstallOutcome::TooLarge, nullptr},
    };
    for (const auto& c : cases) {
        const std::string path = c.arrange();
        const std::size_t before = FilesIn(kMachineFonts);
        const std::string listed = Listed(kLocalMachine, value);
        const InstallResult r = Install(path);
        EXPECT_EQ(r.outcome, c.want) << c.name;
        if (c.message) {
            EXPECT_EQ(r.Message(), c.message) << c.name;
        }
        EXPECT_EQ(FilesIn(kMachineFonts), before) << c.name;
        EXPECT_EQ(Listed(kLocalMachine, value), listed) << c.name;
        EXPECT_TRUE(world.fonts.added.empty()) << c.name;
        EXPECT_EQ(world.fonts.broadcasts, 0) << c.name;
        world.files.RemoveFile(machine_copy);
        HKey k = 0;
        for (HKey root : {kLocalMachine, kCurrentUser}) {
            if (world.registry.OpenKey(root, kFontsKey, kKeyAllAccess, k) != kSuccess) continue;
            world.registry.DeleteValue(k, value);
            world.registry.CloseKey(k);
        }
    }
}

TEST_F(FontInstallTest, AFailedStepUndoesTheOnesBefore) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* message;
    } cases[] = {
        {"copy", [&] { world.files.FailUnder(kMachineFonts, 112); },
         "Windows could not copy the file to C:\\Windows\\Fonts. Nothing was installed."},
        {"registry", [&] { failing.fail_with = kInvalidParameter; },
         "Windows could not list the font in the registry. Nothing was installed."},
        {"loading", [&] { world.fonts.fail.add = true; },
         "Windows could not load the font. Nothing was installed."},
        {"loading a read-only file",
         [&] {
             world.files.SetAttributes(font, platform::kAttrReadOnly);
             world.fonts.fail.add = true;
         },
         "Windows could not load the font. Nothing was installed."},
        {"loading for the user",
         [&] {
             CloseMachine();
             world.fonts.fail.add = true;
         },
         "Windows could not load the font. Nothing was installed."},
    };
    for (const auto& c : cases) {
        c.arrange();
        const InstallResult r = Install(font);
        EXPECT_EQ(r.outcome, InstallOutcome::Failed) << c.name;
        EXPECT_EQ(r.Message(), c.message) << c.name;
        ExpectNothingLeft(c.name);
        world.files.FailUnder(kMachineFonts, kSuccess);
        failing.fail_with = kSuccess;
        world.fonts.fail.add = false;
    }
}

TEST_F(FontInstallTest, AMissedBroadcastLeavesTheFontInstalled) {
    world.fonts.fail.broadcast = true;
    EXPECT_EQ(Install(font).outcome, InstallOutcome::Installed);
    EXPECT_TRUE(Exists(machine_copy));
    EXPECT_EQ(world.fonts.added.size(), 1u);
}

// Where the machine's folder or list is closed, Windows 10 1809 and later
// take the font for the user; earlier ones cannot, and the user is told.
TEST_F(FontInstallTest, AClosedMachineFallsBackToTheUserByBuild) {
    enum Closed { kList, kFolder, kNoFolder };
    struct Case {
        const char* name;
        OsVersion version;
        Closed closed;
        InstallOutcome want;
    } cases[] = {
        {"10 1809, list closed", {10, 0, 17763, 2}, kList, InstallOutcome::InstalledForUser},
        {"11, folder closed", {10, 0, 22631, 2}, kFolder, InstallOutcome::InstalledForUser},
        {"10, no machine folder", {10, 0, 19045, 2}, kNoFolder, InstallOutcome::InstalledForUser},
        {"10 1803", {10, 0, 17134, 2}, kList, InstallOutcome::NotAllowed},
        {"8.1", {6, 3, 9600, 2}, kFolder, InstallOutcome::NotAllowed},
        {"98", {4, 10, 2222, 1}, kFolder, InstallOutcome::NotAllowed},
    };
    for (const auto& c : cases) {
        sim::World fresh(sandbox_ / c.name);
        fresh.system_info.version = c.version;
        const std::string path = std::string(kDownloads) + "\\OrvSans-Bold.ttf";
        fresh.files.WriteFile(path, *world.files.ReadFile(font));
        if (c.closed == kList) fresh.registry.Deny(kLocalMachine, kFontsKey, kKeySetValue);
        if (c.closed == kFolder) fresh.files.FailUnder(kMachineFonts, kAccessDenied);
        if (c.closed == kNoFolder) fresh.fonts.fail.machine_folder = kFileNotFound;
        const InstallResult r = InstallFonts(fresh.platform, path);
        EXPECT_EQ(r.outcome, c.want) << c.name;
        const bool for_user = c.want == InstallOutcome::InstalledForUser;
        EXPECT_EQ(fresh.files.GetAttributes(user_copy) != kInvalidAttributes, for_user) << c.name;
        EXPECT_EQ(fresh.files.GetAttributes(machine_copy), kInvalidAttributes)
            << c.name << ": the machine's copy is taken back";
        EXPECT_EQ(fresh.fonts.added,
                  for_user ? std::vector<std::string>{user_copy} : std::vector<std::string>{})
            << c.name;
        HKey k = 0;
        RegValue v;
        const bool listed = fresh.registry.OpenKey(kCurrentUser, kFontsKey, kKeyRead, k) == 0 &&
                            fresh.registry.QueryValue(k, value, v) == 0;
        EXPECT_EQ(listed, for_user) << c.name;
        if (listed) {
            EXPECT_EQ(DataAsText(v), user_copy) << c.name << ": the full path";
        }
    }
}

}  // namespace
}  // namespace orv::tools::testing
