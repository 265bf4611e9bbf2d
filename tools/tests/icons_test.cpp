// The icon windows on a simulated machine with a headless host: what each
// apply leaves in the files, the attributes and the registry, and that a
// refused change leaves everything as it was.
#include <algorithm>

#include "platform/regvalue.h"
#include "tool_fixture.h"
#include "tools/ico.h"
#include "tools/icon_writer.h"
#include "tools/icons.h"

namespace orv::tools {
namespace {

using namespace orv::platform;

class IconsTest : public testing::ToolTest {
  protected:
    IconsTest() {
        world.files.MapDrive('E', sandbox_ / "E");
        world.drives.drives['E'] = {kDriveCdRom, {}, kSuccess};
        world.files.WriteFile("C:\\Pictures\\sun.png", "png bytes");
        world.pictures.Seed("C:\\Pictures\\sun.png", {2, 1, {0xFF0000, 0x00FF00}});
        world.files.WriteFile("C:\\Pictures\\real.ico", EncodeIco({1, 1, {0x0000FF}}));
        world.files.WriteFile("C:\\Pictures\\fake.ico", "not an icon");
        world.files.WriteFile("C:\\Pictures\\notes.txt", "text");
        world.files.CreateFolder("C:\\Data");
        SetIconSize(MakeSz("32"));
    }
    void SetIconSize(const RegValue& v) {
        HKey k = 0;
        world.registry.CreateKey(kCurrentUser, kIconSizeKey, kKeyAllAccess, k, nullptr);
        world.registry.SetValue(k, kIconSizeValue, v);
        world.registry.CloseKey(k);
    }
    std::optional<RegValue> IconSize() {
        HKey k = 0;
        if (world.registry.OpenKey(kCurrentUser, kIconSizeKey, kKeyRead, k) != kSuccess) return {};
        RegValue v;
        Status st = world.registry.QueryValue(k, kIconSizeValue, v);
        world.registry.CloseKey(k);
        if (st != kSuccess) return {};
        return v;
    }
    static int RowOf(const iconfolderfrm& w, std::string_view path) {
        const auto& rows = w.RowPaths();
        return static_cast<int>(std::find(rows.begin(), rows.end(), path) - rows.begin());
    }
    std::string File(std::string_view path) {
        return world.files.ReadFile(path).value_or("<none>");
    }
    std::uint32_t Attributes(std::string_view path) { return world.files.GetAttributes(path); }
    // Every file below C:\Data and E:\ with its bytes and attributes.
    std::string Snapshot() {
        std::string out;
        for (const char* folder : {"C:\\Data", "E:"}) {
            for (const auto& f : world.files.FindFiles(std::string(folder) + "\\*")) {
                const std::string p = std::string(folder) + "\\" + f.name;
                out += p + " " + std::to_string(f.attributes) + " " + File(p) + "\n";
            }
        }
        return out;
    }
};

TEST_F(IconsTest, NextOpensTheChosenWindowOwnedByTheChooser) {
    struct Case {
        const char* name;
        bool drive, folder;
        const char* opened;
        const char* title;
    } cases[] = {
        {"neither", false, false, "", ""},
        {"drive", true, false, "icondrivefrm", "Change drive icon"},
        {"folder", false, true, "iconfolderfrm", "Change folder icon"},
    };
    for (const auto& c : cases) {
        auto& w = forms.Get<iconsfrm>(ctx, *this);
        w.Show();
        EXPECT_EQ(w.Caption(), "Icons");
        EXPECT_EQ(w.Command1.Caption(), "Next>>");
        if (c.drive) host.Click(w.drive1);
        if (c.folder) host.Click(w.folder1);
        std::string opened, title;
        host.on_modal = [&](ui::Form& f) {
            opened = f.Name();
            title = f.Caption();
            host.CloseBox(f);
        };
        host.Click(w.Command1);
        EXPECT_EQ(opened, c.opened) << c.name;
        EXPECT_EQ(title, c.title) << c.name;
        host.CloseBox(w);
    }
}

TEST_F(IconsTest, DriveIconGoesIntoAutorunAsTypedKeepingTheRest) {
    struct Case {
        const char* name;
        std::optional<std::string> before;
        std::uint32_t attributes;
        const char* typed;
        std::string after;
    } cases[] = {
        {"fresh", std::nullopt, 0, "C:\\Pictures\\real.ico",
         "[autorun]\r\nicon=C:\\Pictures\\real.ico\r\n"},
        {"quotes kept", std::nullopt, 0, "\"C:\\My Icons\\a.ico\"",
         "[autorun]\r\nicon=\"C:\\My Icons\\a.ico\"\r\n"},
        {"label kept, hidden read-only file stays so",
         "[autorun]\r\nlabel=Work\r\nicon=old.ico\r\n", kAttrHidden | kAttrSystem | kAttrReadOnly,
         "d.ico", "[autorun]\r\nlabel=Work\r\nicon=d.ico\r\n"},
    };
    for (const auto& c : cases) {
        world.files.ChangeAttributes("C:\\autorun.inf", kAttrNormal);
        world.files.RemoveFile("C:\\autorun.inf");
        if (c.before) {
            world.files.WriteFile("C:\\autorun.inf", *c.before);
            world.files.SetAttributes("C:\\autorun.inf", c.attributes);
        }
        auto& w = forms.Get<icondrivefrm>(ctx, *this);
        w.Show();
        ASSERT_EQ(w.Drive1.Drive(), "c:");
        host.Type(w.Text1, c.typed);
        host.Click(w.Command1);
        EXPECT_EQ(File("C:\\autorun.inf"), c.after) << c.name;
        EXPECT_EQ(Attributes("C:\\autorun.inf") & ~kAttrArchive, c.attributes) << c.name;
        EXPECT_EQ(Attributes("C:\\autorun.inf.orvelle-new"), kInvalidAttributes) << c.name;
        EXPECT_TRUE(host.messages.empty()) << c.name;
        ASSERT_FALSE(world.shell.notifications.empty());
        EXPECT_EQ(world.shell.notifications.front().path, "c:\\") << c.name;
        world.shell.notifications.clear();
        host.CloseBox(w);
    }
    EXPECT_EQ(DataAsText(*IconSize()), "32") << "raised for the refresh, then put back";
    EXPECT_EQ(world.sysparams.broadcasts.size(), 6u) << "two per refresh";
}

TEST_F(IconsTest, ARefusingDriveIsReportedAndChangesNothing) {
    struct Case {
        const char* name;
        void (*refuse)(sim::World&);
        const char* reason;
    } cases[] = {
        {"write-protected", [](sim::World& w) { w.files.FailWritesUnder("E:\\", kWriteProtect); },
         "write-protected"},
        {"not ready", [](sim::World& w) { w.files.FailUnder("E:\\", kNotReady); }, "not ready"},
        {"access denied", [](sim::World& w) { w.files.FailWritesUnder("E:\\", kAccessDenied); },
         "access is denied"},
    };
    world.files.WriteFile("E:\\autorun.inf", "[autorun]\r\nlabel=Disc\r\n");
    const std::string before = Snapshot();
    for (const auto& c : cases) {
        sim::World& wld = world;
        c.refuse(wld);
        auto& w = forms.Get<icondrivefrm>(ctx, *this);
        w.Show();
        host.Choose(w.Drive1, 1);
        ASSERT_EQ(w.Drive1.Drive(), "e:");
        host.Type(w.Text1, "x.ico");
        host.Click(w.Command1);
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_NE(host.messages[0].text.find(c.reason), std::string::npos) << c.name;
        EXPECT_EQ(host.messages[0].style & 0xF0, ui::kMbIconError) << c.name;
        host.messages.clear();
        host.CloseBox(w);
        world.files.FailUnder("E:\\", kSuccess);
        world.files.FailWritesUnder("E:\\", kSuccess);
        EXPECT_EQ(Snapshot(), before) << c.name;
    }
    EXPECT_EQ(DataAsText(*IconSize()), "32");
    EXPECT_TRUE(world.sysparams.broadcasts.empty()) << "nothing changed, nothing refreshed";
}

TEST_F(IconsTest, FolderGetsARealIconFileAndKeepsItsDesktopIni) {
    struct Case {
        const char* name;
        const char* picture;
        std::string icon;  // "" = converted: parses as an icon
    } cases[] = {
        {"PNG converted", "C:\\Pictures\\sun.png", ""},
        {"ICO copied as it is", "\"C:\\Pictures\\real.ico\"", File("C:\\Pictures\\real.ico")},
    };
    for (const auto& c : cases) {
        world.files.WriteFile("C:\\Data\\Desktop.ini",
                              "[.ShellClassInfo]\r\nLocalizedResourceName=@my.dll,-5\r\n");
        world.files.SetAttributes("C:\\Data\\Desktop.ini", kAttrHidden | kAttrSystem);
        world.files.SetAttributes("C:\\Data", kAttrHidden);
        world.files.WriteFile("C:\\Data\\IconX.ico", "earlier icon");
        auto& w = forms.Get<iconfolderfrm>(ctx, *this);
        w.Show();
        host.Choose(w.Dir1, RowOf(w, "C:\\Data"));
        ASSERT_EQ(w.Dir1.path, "C:\\Data") << c.name;
        host.Type(w.Text1, c.picture);
        host.Click(w.Command1);
        EXPECT_TRUE(host.messages.empty()) << c.name;
        EXPECT_EQ(File("C:\\Data\\Desktop.ini"),
                  "[.ShellClassInfo]\r\nLocalizedResourceName=@my.dll,-5\r\nIconFile=IconX.ico\r\n"
                  "IconIndex=0\r\n")
            << c.name;
        const std::string icon = File("C:\\Data\\IconX.ico");
        if (c.icon.empty()) {
            auto images = ParseIco(icon);
            ASSERT_TRUE(images) << c.name;
            EXPECT_EQ(images->size(), std::size(kIconSides)) << c.name;
        } else {
            EXPECT_EQ(icon, c.icon) << c.name;
        }
        EXPECT_EQ(Attributes("C:\\Data\\Desktop.ini"), kAttrArchive | kAttrHidden | kAttrSystem);
        EXPECT_EQ(Attributes("C:\\Data\\IconX.ico"), kAttrArchive | kAttrHidden);
        EXPECT_EQ(Attributes("C:\\Data"), kAttrDirectory | kAttrHidden | kAttrReadOnly)
            << c.name << ": read-only added, hidden kept";
        EXPECT_EQ(world.files.FindFiles("C:\\Data\\*.orvelle-*").size(), 0u) << c.name;
        host.CloseBox(w);
    }
}

TEST_F(IconsTest, ARefusedFolderChangeLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        const char* picture;
        void (*refuse)(sim::World&);
        const char* message;
    } cases[] = {
        {"not a fixed drive", "C:\\Pictures\\sun.png",
         [](sim::World& w) { w.drives.drives['C'].type = kDriveRemote; }, kFixedDrivesOnly.data()},
        {"fake .ico", "C:\\Pictures\\fake.ico", nullptr, kNotValidIcon.data()},
        {"not a picture", "C:\\Pictures\\notes.txt", nullptr, kNotValidIcon.data()},
        {"one character names no picture", "x", nullptr, kNotValidIcon.data()},
        {"folder refuses writes", "C:\\Pictures\\sun.png",
         [](sim::World& w) { w.files.FailWritesUnder("C:\\Data", kAccessDenied); },
         "access is denied"},
        {"Desktop.ini refuses: the earlier icon comes back", "C:\\Pictures\\sun.png",
         [](sim::World& w) { w.files.FailWritesUnder("C:\\Data\\Desktop.ini", kAccessDenied); },
         "Desktop.ini could not be changed"},
    };
    world.files.WriteFile("C:\\Data\\Desktop.ini", "[.ShellClassInfo]\r\nInfoTip=Mine\r\n");
    world.files.WriteFile("C:\\Data\\IconX.ico", "earlier icon");
    world.files.SetAttributes("C:\\Data\\IconX.ico", kAttrHidden);
    const std::string before = Snapshot();
    const std::uint32_t folder = Attributes("C:\\Data");
    for (const auto& c : cases) {
        if (c.refuse) c.refuse(world);
        IconWriter writer(world.platform, host, nullptr);
        EXPECT_FALSE(
            writer.ChangeFolderIcon("C:\\Data", c.picture, "", true, "", 24, kFixedDrivesOnly))
            << c.name;
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_NE(host.messages[0].text.find(c.message), std::string::npos)
            << c.name << ": " << host.messages[0].text;
        host.messages.clear();
        world.drives.drives['C'].type = kDriveFixed;
        world.files.FailWritesUnder("C:\\Data", kSuccess);
        world.files.FailWritesUnder("C:\\Data\\Desktop.ini", kSuccess);
        EXPECT_EQ(Snapshot(), before) << c.name;
        EXPECT_EQ(Attributes("C:\\Data"), folder) << c.name;
    }
}

TEST_F(IconsTest, OnlyFoldersOfFixedDrivesChange) {
    world.files.CreateFolder("E:\\Disc");
    struct Case {
        const char* name;
        const char* folder;
    } cases[] = {
        {"CD", "E:\\Disc"},
        {"CD in quotes", "\"E:\\Disc\""},
        {"no drive at all", ""},
        {"a share", "\\\\server\\share\\x"},
    };
    for (const auto& c : cases) {
        IconWriter writer(world.platform, host, nullptr);
        EXPECT_FALSE(writer.ChangeFolderIcon(c.folder, "C:\\Pictures\\sun.png", "", true, "", 24,
                                             kFixedDrivesOnly))
            << c.name;
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].text, kFixedDrivesOnly) << c.name;
        EXPECT_EQ(host.messages[0].title, kFixedDrivesTitle) << c.name;
        host.messages.clear();
    }
    EXPECT_EQ(world.files.FindFiles("E:\\Disc\\*").size(), 0u);
}

TEST_F(IconsTest, RefreshLeavesTheIconSizeAsItWas) {
    struct Case {
        const char* name;
        std::optional<RegValue> before;
        std::size_t broadcasts;
    } cases[] = {
        {"a number", MakeSz("32"), 2},
        {"missing", std::nullopt, 1},
        {"empty", MakeSz(""), 1},
        {"not a number", MakeSz("big"), 1},
        {"a number and more", MakeSz("32px"), 1},
        {"a DWORD, not text", MakeDword(32), 1},
    };
    for (const auto& c : cases) {
        HKey k = 0;
        world.registry.OpenKey(kCurrentUser, kIconSizeKey, kKeyAllAccess, k);
        world.registry.DeleteValue(k, kIconSizeValue);
        world.registry.CloseKey(k);
        if (c.before) SetIconSize(*c.before);
        world.sysparams.broadcasts.clear();
        world.shell.notifications.clear();
        IconWriter(world.platform, host, nullptr).RefreshIconCache();
        auto after = IconSize();
        ASSERT_EQ(after.has_value(), c.before.has_value()) << c.name;
        if (after) {
            EXPECT_EQ(after->type, c.before->type) << c.name;
            EXPECT_EQ(after->data, c.before->data) << c.name;
        }
        EXPECT_EQ(world.sysparams.broadcasts.size(), c.broadcasts) << c.name;
        ASSERT_EQ(world.shell.notifications.size(), 1u) << c.name;
        EXPECT_EQ(world.shell.notifications[0].event, kShcneAssocChanged) << c.name;
    }
}

TEST_F(IconsTest, BrowseRefusesWhatIsNotAPictureAndEnterPreviews) {
    auto& w = forms.Get<icondrivefrm>(ctx, *this);
    w.Show();
    struct Case {
        const char* name;
        const char* chosen;
        bool valid;
    } cases[] = {
        {"png", "C:\\Pictures\\sun.png", true},
        {"ico", "C:\\Pictures\\real.ico", true},
        {"fake ico", "C:\\Pictures\\fake.ico", false},
        {"text", "C:\\Pictures\\notes.txt", false},
    };
    for (const auto& c : cases) {
        host.open_answers.push_back(c.chosen);
        host.Click(w.Command2);
        EXPECT_EQ(w.Text1.Text(), c.valid ? c.chosen : "") << c.name;
        EXPECT_EQ(!w.Picture2.Source().empty(), c.valid) << c.name;
        ASSERT_EQ(host.messages.size(), c.valid ? 0u : 1u) << c.name;
        if (!c.valid) {
            EXPECT_EQ(host.messages[0].text, kNotValidIcon);
            EXPECT_EQ(host.messages[0].title, kIconTaskTitle);
        }
        host.messages.clear();
    }
    host.Type(w.Text1, "C:\\Pictures\\notes.txt");
    host.PressKey(w.Text1, 13);
    EXPECT_TRUE(w.Picture2.Source().empty());
    host.Type(w.Text1, "\"C:\\Pictures\\sun.png\"");
    host.PressKey(w.Text1, 13);
    EXPECT_FALSE(w.Picture2.Source().empty()) << "quotes around the path allowed";
}

TEST_F(IconsTest, FolderListFollowsTheDriveAndADriveNotReadyKeepsIt) {
    world.files.CreateFolder("C:\\Data\\Sub");
    world.files.MapDrive('F', sandbox_ / "F");
    world.drives.drives['F'] = {kDriveRemovable, {}, kNotReady};
    world.files.FailUnder("F:\\", kNotReady);
    auto& w = forms.Get<iconfolderfrm>(ctx, *this);
    w.Show();
    ASSERT_EQ(w.Dir1.path, "C:\\");
    ASSERT_EQ(w.Dir1.Items().front(), "c:\\");
    host.Choose(w.Dir1, RowOf(w, "C:\\Data"));
    EXPECT_EQ(w.Dir1.Items(), (std::vector<std::string>{"c:\\", "  Data", "    Sub"}));
    EXPECT_EQ(w.Dir1.ListIndex(), 1);
    const auto items = w.Dir1.Items();
    host.Choose(w.Drive1, 2);  // c:, e:, f:
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("F: cannot be shown: the drive is not ready"),
              std::string::npos)
        << host.messages[0].text;
    EXPECT_EQ(w.Drive1.Drive(), "c:") << "back to the drive whose folders show";
    EXPECT_EQ(w.Dir1.Items(), items);
    host.Choose(w.Drive1, 1);
    EXPECT_EQ(w.Dir1.path, "E:\\");
}

}  // namespace
}  // namespace orv::tools
