// Each check on a seeded machine: the stale entries go, the valid ones (the
// tricky ones included) stay, and the counts say what was found and removed.
#include "fixture.h"

namespace orv::health::testing {
namespace {

using platform::kCurrentUser;
using platform::kLocalMachine;

class ChecksTest : public HealthTest {
  protected:
    struct Entry {
        const char* name;
        std::string key;
        bool stays;
    };
    void ExpectKeys(platform::HKey root, const std::vector<Entry>& entries) {
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.name);
            EXPECT_EQ(KeyExists(root, e.key), e.stays);
        }
    }
};

TEST_F(ChecksTest, UninstallEntriesWithoutAWayToUninstallGo) {
    const std::string u = "HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey) + "\\";
    Seed("[" + u + "{9A1B2C3D-0000-1111-2222-333344445555}]\r\n\r\n" +  //
         "[" + u + "Quiet]\r\n\"QuietUninstallString\"=\"q.exe /x\"\r\n\r\n" + "[" + u +
         "EmptyCommand]\r\n\"UninstallString\"=\"\"\r\n\r\n" + "[" + u +
         "Leftover]\r\n\"DisplayName\"=\"Gone\"\r\n\r\n" + "[" + u +
         "Leftover\\Sub\\Deeper]\r\n\"x\"=dword:00000001\r\n\r\n" + "[" + u +
         "Component]\r\n\"SystemComponent\"=dword:00000001\r\n\r\n" + "[" + u +
         "Update]\r\n\"ParentKeyName\"=\"OfficeSuite\"\r\n\r\n" + "[" + u +
         "Msi]\r\n\"WindowsInstaller\"=dword:00000001\r\n\r\n" + "[" + u +
         "NotAComponent]\r\n\"SystemComponent\"=dword:00000000\r\n\r\n" + "[" + u +
         "Locked]\r\n\"DisplayName\"=\"Unreadable\"\r\n\r\n");
    world.registry.Deny(kLocalMachine, std::string(kUninstallKey) + "\\Locked",
                        platform::kKeyQueryValue);
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.SR.button));
    const std::string k = std::string(kUninstallKey) + "\\";
    ExpectKeys(kLocalMachine,
               {{"product code in braces", k + "{9A1B2C3D-0000-1111-2222-333344445555}", true},
                {"quiet uninstall value", k + "Quiet", true},
                {"uninstall value with empty data", k + "EmptyCommand", true},
                {"display name only", k + "Leftover", false},
                {"system component", k + "Component", true},
                {"update of a parent", k + "Update", true},
                {"installer package", k + "Msi", true},
                {"system component = 0", k + "NotAComponent", false},
                {"unreadable key", k + "Locked", true}});
    EXPECT_EQ(w.SR.errors.Caption(), "2");
    EXPECT_EQ(w.SR.repaired.Caption(), "2");
    EXPECT_EQ(w.removal_run.candidates.size(), 9u);
    EXPECT_EQ(w.SR.bar.Max(), 1);
    EXPECT_EQ(w.SR.bar.Value(), 1);
}

TEST_F(ChecksTest, ApplicationPathsToProgramsThatAreGoneGo) {
    File("C:\\Tools\\good.exe");
    File("C:\\Tools\\Dir.v2\\keep.txt");
    world.files.FailUnder("D:\\", platform::kNotReady);
    const std::string a = "HKEY_LOCAL_MACHINE\\" + std::string(kAppPathsKey) + "\\";
    Seed("[" + a + "good.exe]\r\n@=\"C:\\\\Tools\\\\good.exe\"\r\n\r\n" + "[" + a +
         "quoted.exe]\r\n@=\"\\\"C:\\\\Tools\\\\good.exe\\\"\"\r\n\r\n" + "[" + a +
         "args.exe]\r\n@=\"\\\"C:\\\\Tools\\\\good.exe\\\" /x\"\r\n\r\n" + "[" + a +
         "bare.exe]\r\n@=\"notepad.exe\"\r\n\r\n" + "[" + a +
         "nodefault.exe]\r\n\"Path\"=\"C:\\\\Old\"\r\n\r\n" + "[" + a +
         "gone.exe]\r\n@=\"C:\\\\Old\\\\gone.exe\"\r\n\r\n" + "[" + a +
         "folder.exe]\r\n@=\"C:\\\\Tools\\\\Dir.v2\"\r\n\r\n" + "[" + a +
         "removable.exe]\r\n@=\"D:\\\\setup.exe\"\r\n\r\n");
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.AP.button));
    const std::string k = std::string(kAppPathsKey) + "\\";
    ExpectKeys(kLocalMachine, {{"existing program", k + "good.exe", true},
                               {"quoted program", k + "quoted.exe", true},
                               {"quoted program with arguments", k + "args.exe", true},
                               {"bare program name", k + "bare.exe", true},
                               {"no default value", k + "nodefault.exe", true},
                               {"program gone", k + "gone.exe", false},
                               {"a folder, not a program", k + "folder.exe", false},
                               {"drive not ready", k + "removable.exe", true}});
    EXPECT_EQ(w.AP.errors.Caption(), "2");
    EXPECT_EQ(w.AP.repaired.Caption(), "2");
}

TEST_F(ChecksTest, HistoryValuesOfFilesThatAreGoneGoAndLeaveTheMruList) {
    File("C:\\Docs\\here.txt");
    const std::string h = "HKEY_CURRENT_USER\\" + std::string(kOpenSaveMruKey) + "\\";
    Seed("[" + h +
         "txt]\r\n\"a\"=\"C:\\\\Docs\\\\here.txt\"\r\n\"b\"=\"C:\\\\Docs\\\\gone.txt\"\r\n" +
         "\"c\"=\"\\\\\\\\server\\\\share\\\\x.txt\"\r\n\"MRUList\"=\"cba\"\r\n\r\n" + "[" + h +
         "*]\r\n\"a\"=\"C:\\\\gone.doc\"\r\n\"MRUList\"=\"a\"\r\n\r\n");
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.HF.button));
    const std::string txt = std::string(kOpenSaveMruKey) + "\\txt";
    const std::string star = std::string(kOpenSaveMruKey) + "\\*";
    EXPECT_TRUE(ValueExists(kCurrentUser, txt, "a"));
    EXPECT_FALSE(ValueExists(kCurrentUser, txt, "b"));
    EXPECT_TRUE(ValueExists(kCurrentUser, txt, "c"));  // no ":\": never judged
    EXPECT_FALSE(ValueExists(kCurrentUser, star, "a"));
    EXPECT_NE(Export(kCurrentUser, txt).find("\"MRUList\"=\"ca\""), std::string::npos);
    EXPECT_NE(Export(kCurrentUser, star).find("\"MRUList\"=\"\""), std::string::npos);
    EXPECT_EQ(w.HF.errors.Caption(), "2");
    EXPECT_EQ(w.HF.repaired.Caption(), "2");
}

TEST_F(ChecksTest, HelpRegistersLoseOnlyTheirOwnStaleValues) {
    File("C:\\Help\\a.chm");
    File("C:\\Help\\x.hlp");
    Seed("[HKEY_LOCAL_MACHINE\\" + std::string(kHtmlHelpKey) +
         "]\r\n\"a.chm\"=\"C:\\\\Help\"\r\n\"gone.chm\"=\"C:\\\\Help\\\\\"\r\n"
         "\"same.hlp\"=\"C:\\\\Nowhere\"\r\n\"x.hlp\"=\"C:\\\\Help\"\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\" +
         std::string(kHelpKey) +
         "]\r\n\"same.hlp\"=\"C:\\\\Nowhere\\\\\"\r\n\"x.hlp\"=\"C:\\\\HTMLDocs\"\r\n"
         "\"empty.hlp\"=\"\"\r\n\r\n");
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.HP.button));
    struct Case {
        const char* name;
        std::string_view key;
        const char* value;
        bool stays;
    };
    const Case cases[] = {
        {"present, folder without backslash", kHtmlHelpKey, "a.chm", true},
        {"gone", kHtmlHelpKey, "gone.chm", false},
        {"gone, same name in both", kHtmlHelpKey, "same.hlp", false},
        {"gone, same name in both", kHelpKey, "same.hlp", false},
        {"present here, gone in the other register", kHtmlHelpKey, "x.hlp", true},
        {"gone, folder named HTML...", kHelpKey, "x.hlp", false},
        {"empty folder: no fixed place to look", kHelpKey, "empty.hlp", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ValueExists(kLocalMachine, c.key, c.value), c.stays);
    }
    EXPECT_EQ(w.HP.errors.Caption(), "4");
    EXPECT_EQ(w.HP.repaired.Caption(), "4");
    EXPECT_EQ(w.HP.bar.Value(), w.HP.bar.Max());
}

TEST_F(ChecksTest, SharedLibraryCountsForLibrariesThatAreGoneGo) {
    File("C:\\Windows\\System32\\a.dll");
    File("C:\\Windows\\System32\\hidden.dll", platform::kAttrHidden | platform::kAttrSystem);
    Seed("[HKEY_LOCAL_MACHINE\\" + std::string(kSharedDllsKey) +
         "]\r\n\"C:\\\\Windows\\\\System32\\\\a.dll\"=dword:00000000\r\n"
         "\"C:\\\\Windows\\\\System32\\\\hidden.dll\"=dword:00000002\r\n"
         "\"C:\\\\Windows\\\\System32\\\\gone.dll\"=dword:00000003\r\n"
         "\"relative.dll\"=dword:00000001\r\n@=dword:00000001\r\n\r\n");
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.SC.button));
    EXPECT_TRUE(ValueExists(kLocalMachine, kSharedDllsKey, "C:\\Windows\\System32\\a.dll"));
    EXPECT_TRUE(ValueExists(kLocalMachine, kSharedDllsKey, "C:\\Windows\\System32\\hidden.dll"));
    EXPECT_FALSE(ValueExists(kLocalMachine, kSharedDllsKey, "C:\\Windows\\System32\\gone.dll"));
    EXPECT_TRUE(ValueExists(kLocalMachine, kSharedDllsKey, "relative.dll"));
    EXPECT_TRUE(ValueExists(kLocalMachine, kSharedDllsKey, ""));
    EXPECT_EQ(w.SC.errors.Caption(), "1");
    EXPECT_EQ(w.SC.repaired.Caption(), "1");
    // A second press finds nothing more.
    ASSERT_TRUE(host.Click(w.SC.button));
    EXPECT_EQ(w.SC.errors.Caption(), "0");
    EXPECT_EQ(w.SC.repaired.Caption(), "0");
}

TEST_F(ChecksTest, OrphanShortcutsGoAndEverythingUnclearStays) {
    File("C:\\Tools\\good.exe");
    File("C:\\Tools\\hidden.exe", platform::kAttrHidden);
    world.files.WriteFile("D:\\good.lnk", platform::BuildShellLink("C:\\Tools\\good.exe"));
    world.files.WriteFile("D:\\hidden-target.lnk",
                          platform::BuildShellLink("C:\\Tools\\hidden.exe"));
    world.files.WriteFile("D:\\folder.lnk", platform::BuildShellLink("C:\\Tools"));
    world.files.WriteFile("D:\\quoted.lnk", platform::BuildShellLink(" \"C:\\Tools\\good.exe\" "));
    world.files.WriteFile("D:\\Sub\\Deep\\orphan.lnk", platform::BuildShellLink("C:\\Old\\a.exe"));
    world.files.SetAttributes("D:\\Sub\\Deep\\orphan.lnk",
                              platform::kAttrReadOnly | platform::kAttrHidden);
    world.files.WriteFile("D:\\B.LNK", platform::BuildShellLink("C:\\Old\\b.exe"));
    world.environment.Set("OrvTools", "C:\\Tools");
    world.files.WriteFile("D:\\variable.lnk", platform::BuildShellLink("%OrvTools%\\gone.exe"));
    world.files.WriteFile("D:\\notalink.lnk", "plain text");
    world.files.WriteFile("D:\\filelnk", "no dot before lnk");
    std::string shell_item = platform::BuildShellLink("C:\\x");
    shell_item[20] = static_cast<char>(0x81);  // an item-id list, no link information
    shell_item.insert(0x4C, std::string("\x02\x00", 2));
    world.files.WriteFile("D:\\control.lnk", shell_item);
    world.files.WriteFile("D:\\Locked\\hidden.lnk", platform::BuildShellLink("C:\\Old\\c.exe"));
    world.files.FailUnder("D:\\Locked", platform::kAccessDenied);
    world.files.WriteFile("D:\\Zed\\after.lnk", platform::BuildShellLink("C:\\Old\\d.exe"));
    std::error_code ec;
    std::filesystem::create_directory_symlink(world.files.HostPath("D:\\"),
                                              world.files.HostPath("D:\\Sub") / "Loop", ec);
    ASSERT_FALSE(ec);

    pchealth& w = Open();
    int d = -1;
    for (std::size_t i = 0; i < w.ODrive.Items().size(); ++i)
        if (w.ODrive.Items()[i] == "d:") d = static_cast<int>(i);
    ASSERT_GE(d, 0);
    ASSERT_TRUE(host.Choose(w.ODrive, d));
    const int yields = host.yields;
    ASSERT_TRUE(host.Click(w.OS.button));

    struct Case {
        const char* name;
        const char* path;
        bool stays;
    };
    const Case cases[] = {
        {"target there", "D:\\good.lnk", true},
        {"target hidden", "D:\\hidden-target.lnk", true},
        {"target a folder", "D:\\folder.lnk", true},
        {"target quoted with blanks", "D:\\quoted.lnk", true},
        {"orphan through a variable", "D:\\variable.lnk", false},
        {"deep, read-only and hidden orphan", "D:\\Sub\\Deep\\orphan.lnk", false},
        {"orphan, upper-case name", "D:\\B.LNK", false},
        {"not a shortcut", "D:\\notalink.lnk", true},
        {"lnk without a dot, unreadable", "D:\\filelnk", true},
        {"shell item", "D:\\control.lnk", true},
        {"past a folder that cannot be listed", "D:\\Zed\\after.lnk", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExists(c.path), c.stays);
    }
    EXPECT_EQ(w.OS.errors.Caption(), "4");
    EXPECT_EQ(w.OS.repaired.Caption(), "4");
    EXPECT_EQ(w.label29.Caption(),
              "Done ... 3 shortcut(s) could not be read, 1 folder(s) could not be listed");
    // Found once each: the link back to the root was not followed.
    EXPECT_EQ(w.shortcut_run.candidates.size(), 11u);
    EXPECT_GT(host.yields, yields);
}

TEST_F(ChecksTest, RefusedDeletionsAreNotCountedAsRepaired) {
    const std::string u = "HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey) + "\\";
    Seed("[" + u + "One]\r\n\"DisplayName\"=\"1\"\r\n\r\n[" + u +
         "Two]\r\n\"DisplayName\"=\"2\"\r\n\r\n");
    world.registry.Deny(kLocalMachine, std::string(kUninstallKey) + "\\Two", platform::kDelete);
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.SR.button));
    EXPECT_FALSE(KeyExists(kLocalMachine, std::string(kUninstallKey) + "\\One"));
    EXPECT_TRUE(KeyExists(kLocalMachine, std::string(kUninstallKey) + "\\Two"));
    EXPECT_EQ(w.SR.errors.Caption(), "2");
    EXPECT_EQ(w.SR.repaired.Caption(), "1");
}

TEST_F(ChecksTest, CleanSourcesShowZeroAndZero) {
    pchealth& w = Open();
    for (pchealth::CheckFrame* f : {&w.SR, &w.AP, &w.HF, &w.HP, &w.SC}) {
        SCOPED_TRACE(f->frame.Name());
        ASSERT_TRUE(host.Click(f->button));
        EXPECT_EQ(f->errors.Caption(), "0");
        EXPECT_EQ(f->repaired.Caption(), "0");
    }
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace orv::health::testing
