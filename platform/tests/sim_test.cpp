// What only the simulation offers: keys that refuse rights, the extra roots
// a test can give content, and handle accounting.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/regvalue.h"
#include "platform/sim/world.h"
#include "platform/text.h"

namespace orv {
namespace {

using namespace platform;

TEST(SimRegistry, DeniedRightsRefuseTheMatchingOperationsOnly) {
    sim::SimRegistry reg;
    reg.Deny(kLocalMachine, "SOFTWARE\\Locked", kKeySetValue | kDelete);
    HKey k = 0;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Locked", kKeyWrite, k), kAccessDenied);
    ASSERT_EQ(reg.OpenKey(kLocalMachine, "software\\locked", kKeyRead, k), kSuccess);
    EXPECT_EQ(reg.SetValue(k, "x", MakeDword(1)), kAccessDenied);
    reg.CloseKey(k);
    EXPECT_EQ(reg.DeleteKey(kLocalMachine, "SOFTWARE\\Locked"), kAccessDenied);
    EXPECT_EQ(reg.OpenHandles(), 0u);
}

TEST(SimRegistry, ClassesRootIsTheMachineClassesKey) {
    sim::SimRegistry reg;
    HKey k = 0;
    ASSERT_EQ(reg.CreateKey(kClassesRoot, ".txt", kKeyAllAccess, k), kSuccess);
    reg.SetValue(k, "", MakeSz("txtfile"));
    reg.CloseKey(k);
    ASSERT_EQ(reg.OpenKey(kLocalMachine, "Software\\Classes\\.TXT", kKeyRead, k), kSuccess);
    RegValue v;
    EXPECT_EQ(reg.QueryValue(k, "", v), kSuccess);
    EXPECT_EQ(DataAsText(v), "txtfile");
    reg.CloseKey(k);
}

TEST(SimRegistry, PerformanceAndDynamicRootsHoldWhatATestGivesThem) {
    sim::SimRegistry reg;
    for (HKey root : {kPerformanceData, kDynData}) {
        HKey k = 0;
        ASSERT_EQ(
            reg.CreateKey(root, root == kDynData ? "PerfStats\\StatData" : "", kKeyAllAccess, k),
            kSuccess);
        ASSERT_EQ(reg.SetValue(k, "238", MakeBinary({1, 2, 3})), kSuccess);
        RegValue v;
        EXPECT_EQ(reg.QueryValue(k, "238", v), kSuccess);
        EXPECT_EQ(v.data.size(), 3u);
        reg.CloseKey(k);
    }
}

TEST(SimRegistry, BadHandlesAndPaths) {
    sim::SimRegistry reg;
    HKey k = 0;
    RegValue v;
    EXPECT_EQ(reg.QueryValue(0x4242, "x", v), kInvalidHandle);
    EXPECT_EQ(reg.CloseKey(0x4242), kInvalidHandle);
    EXPECT_EQ(reg.OpenKey(kCurrentUser, "\\leading", kKeyRead, k), 161);
    EXPECT_EQ(reg.CreateKey(kCurrentUser, std::string(256, 'k'), kKeyAllAccess, k),
              kInvalidParameter);
    EXPECT_EQ(reg.DeleteKey(kCurrentUser, ""), kAccessDenied);
}

TEST(SimFiles, WindowsPathsResolveWithoutRegardToCase) {
    auto root = std::filesystem::temp_directory_path() / "orvelle-simfiles-test";
    std::filesystem::remove_all(root);
    {
        sim::World world(root);
        world.files.WriteFile("C:\\Program Files\\Orvelle\\languages\\English.ini", "[Kadrim]\r\n");
        EXPECT_TRUE(world.files.ReadFile("c:\\PROGRAM FILES\\orvelle\\LANGUAGES\\english.INI"));
        world.files.SetAttributes("C:\\Program Files\\Orvelle\\languages\\English.ini",
                                  kAttrReadOnly);
        EXPECT_EQ(
            world.files.AppendToFile("C:\\Program Files\\Orvelle\\languages\\English.ini", "x"),
            kAccessDenied);
        EXPECT_TRUE(world.files.HostPath("Q:\\x").empty());
        EXPECT_EQ(world.files.GetAttributes("Q:\\x"), kInvalidAttributes);
    }
    std::filesystem::remove_all(root);
}

TEST(SimFiles, AFailingFolderFailsEveryCallBelowIt) {
    auto root = std::filesystem::temp_directory_path() / "orvelle-simfiles-fail";
    std::filesystem::remove_all(root);
    {
        sim::World world(root);
        world.files.WriteFile("C:\\Net\\a.lnk", "x");
        world.files.FailUnder("c:\\net", kBadNetPath);
        std::vector<FoundFile> found;
        EXPECT_EQ(world.files.ListFiles("C:\\Net\\*", found), kBadNetPath);
        EXPECT_EQ(world.files.ListFiles("C:\\Net\\Sub\\*", found), kBadNetPath);
        EXPECT_EQ(world.files.GetAttributes("C:\\Net\\a.lnk"), kInvalidAttributes);
        EXPECT_FALSE(world.files.ReadFile("C:\\Net\\a.lnk"));
        EXPECT_EQ(world.files.RemoveFile("C:\\Net\\a.lnk"), kBadNetPath);
        EXPECT_EQ(world.files.SaveFile("C:\\Net\\b.txt", "x"), kBadNetPath);
        EXPECT_EQ(world.files.CopyFileTo("C:\\Net\\a.lnk", "C:\\a.lnk", false), kBadNetPath);
        EXPECT_NE(world.files.GetAttributes("C:\\"), kInvalidAttributes) << "only below it";
        EXPECT_EQ(world.files.ListFiles("C:\\Network\\*", found), kPathNotFound)
            << "a sibling whose name starts the same is not below it";
    }
    std::filesystem::remove_all(root);
}

TEST(SimFiles, AWriteProtectedFolderRefusesChangesAndStillReads) {
    auto root = std::filesystem::temp_directory_path() / "orvelle-simfiles-ro";
    std::filesystem::remove_all(root);
    {
        sim::World world(root);
        auto& f = world.files;
        f.WriteFile("E:\\autorun.inf", "x");  // no drive E: yet: nothing written
        f.MapDrive('E', root / "E");
        f.WriteFile("E:\\autorun.inf", "[autorun]");
        f.WriteFile("C:\\n.txt", "n");
        f.FailWritesUnder("E:\\", kWriteProtect);
        EXPECT_EQ(f.ReadFile("E:\\autorun.inf").value_or(""), "[autorun]");
        std::vector<FoundFile> found;
        EXPECT_EQ(f.ListFiles("E:\\*", found), kSuccess);
        struct Case {
            const char* name;
            Status got;
        } cases[] = {
            {"save", f.SaveFile("E:\\autorun.inf", "y")},
            {"append", f.AppendToFile("E:\\autorun.inf", "y")},
            {"attributes", f.ChangeAttributes("E:\\autorun.inf", kAttrHidden)},
            {"remove", f.RemoveFile("E:\\autorun.inf")},
            {"folder", f.CreateFolder("E:\\New")},
            {"copy there", f.CopyFileTo("C:\\n.txt", "E:\\n.txt", false)},
            {"move there", f.MoveReplacing("C:\\n.txt", "E:\\n.txt")},
        };
        for (const auto& c : cases) EXPECT_EQ(c.got, kWriteProtect) << c.name;
        EXPECT_FALSE(world.profiles.WriteString("autorun", "icon", "x", "E:\\autorun.inf"));
        EXPECT_EQ(f.ReadFile("E:\\autorun.inf").value_or(""), "[autorun]");
        EXPECT_EQ(f.GetAttributes("E:\\autorun.inf"), kAttrArchive);
        EXPECT_EQ(f.CopyFileTo("E:\\autorun.inf", "C:\\a.inf", false), kSuccess)
            << "reading from it still works";
        EXPECT_EQ(f.MoveReplacing("C:\\n.txt", "D:\\n.txt"), kPathNotFound);
    }
    std::filesystem::remove_all(root);
}

TEST(SimShell, ChangeNotificationsAreRecordedUnlessLost) {
    auto root = std::filesystem::temp_directory_path() / "orvelle-simshell-notify";
    std::filesystem::remove_all(root);
    {
        sim::World world(root);
        world.shell.ChangeNotify(kShcneUpdateItem, "C:\\Data");
        world.shell.notifications_lost = true;
        world.shell.ChangeNotify(kShcneAssocChanged, "");
        ASSERT_EQ(world.shell.notifications.size(), 1u);
        EXPECT_EQ(world.shell.notifications[0].path, "C:\\Data");
    }
    std::filesystem::remove_all(root);
}

TEST(Text, ConversionsRoundTripAndFold) {
    const std::string samples[] = {"plain", "Caf\xC3\xA9", "\xF0\x9F\x98\x80", ""};
    for (const auto& s : samples) EXPECT_EQ(text::Utf16ToUtf8(text::Utf8ToUtf16(s)), s);
    std::u16string lone = {u'a', 0xD800, u'b'};
    EXPECT_EQ(text::Utf8ToUtf16(text::Utf16ToUtf8(lone)), lone) << "a lone surrogate survives";
    EXPECT_EQ(text::Utf8ToAnsi("Caf\xC3\xA9 \xE2\x82\xAC \xD0\x96"), "Caf\xE9 \x80 ?");
    EXPECT_TRUE(text::EqualsNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));
    EXPECT_EQ(text::TruncateUtf16("a\xF0\x9F\x98\x80", 2), "a") << "never splits a surrogate pair";
    EXPECT_EQ(text::Utf16Length("a\xF0\x9F\x98\x80"), 3u);
}

}  // namespace
}  // namespace orv
