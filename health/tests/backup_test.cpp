// Backups: everything a run removes or changes comes back exactly through
// Restore, a second restore changes nothing, and a run that cannot save its
// backup removes nothing.
#include <algorithm>
#include <map>
#include <sstream>

#include "fixture.h"
#include "health/restorefrm.h"
#include "platform/regvalue.h"

namespace orv::health::testing {
namespace {

using platform::kCurrentUser;
using platform::kLocalMachine;
using platform::RegValue;

// An export as section -> sorted lines: a restore recreates values at the end
// of their key, so only the order within a key may differ.
std::map<std::string, std::vector<std::string>> Canonical(const std::string& text) {
    std::map<std::string, std::vector<std::string>> out;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line;
            out[section];
        } else {
            out[section].push_back(line);
        }
    }
    for (auto& [name, lines] : out) std::sort(lines.begin(), lines.end());
    return out;
}

class BackupTest : public HealthTest {
  protected:
    void Set(platform::HKey root, std::string_view key, std::string_view name, RegValue v) {
        platform::HKey h = 0;
        ASSERT_EQ(world.registry.CreateKey(root, key, platform::kKeyAllAccess, h),
                  platform::kSuccess);
        world.registry.SetValue(h, name, v);
        world.registry.CloseKey(h);
    }
    // Every key the checks touch, canonical.
    std::vector<std::map<std::string, std::vector<std::string>>> Snapshot() {
        std::vector<std::map<std::string, std::vector<std::string>>> s;
        for (auto [root, key] : {std::pair{kLocalMachine, kUninstallKey},
                                 {kLocalMachine, kAppPathsKey},
                                 {kCurrentUser, kOpenSaveMruKey},
                                 {kLocalMachine, kHtmlHelpKey},
                                 {kLocalMachine, kHelpKey},
                                 {kLocalMachine, kSharedDllsKey}})
            s.push_back(Canonical(Export(root, key)));
        return s;
    }
    void RestoreAll() {
        host.on_modal = [this](ui::Form& f) {
            auto& r = static_cast<restorefrm&>(f);
            for (std::size_t i = 0; i < r.Backups().size(); ++i) {
                r.lstBackups.Select(static_cast<int>(i));
                host.message_answers.push_back(ui::kIdYes);
                EXPECT_TRUE(host.Click(r.cmdRestore));
            }
            host.CloseBox(f);
        };
        ASSERT_TRUE(host.Click(Open().restorecmd));
    }
};

TEST_F(BackupTest, RestoreBringsBackExactlyWhatEveryCheckRemoved) {
    const std::string leftover = std::string(kUninstallKey) + "\\Leftover \xe5\x90\x8d";
    // Data a plain export would mangle: no terminator, embedded NULs, names
    // with quotes, backslashes and characters no ANSI code page holds.
    RegValue unterminated{platform::kRegSz, {'C', 0, ':', 0, '\\', 0, 'x', 0}};
    Set(kLocalMachine, leftover, "DisplayName", platform::MakeSz("Gone \xe2\x98\x83"));
    Set(kLocalMachine, leftover, "odd \"name\" \\ here", unterminated);
    Set(kLocalMachine, leftover + "\\Sub\\Deeper", "bin", platform::MakeBinary({0, 1, 2, 255}));
    Set(kLocalMachine, leftover + "\\Sub", "multi", platform::MakeMultiSz({"a", "", "b"}));
    Set(kLocalMachine, leftover + "\\Sub", "", platform::MakeQword(0x1122334455667788ULL));
    Set(kLocalMachine, std::string(kAppPathsKey) + "\\gone.exe", "",
        platform::MakeSz("%SystemDrive%\\Old\\gone.exe", platform::kRegExpandSz));
    Set(kLocalMachine, std::string(kAppPathsKey) + "\\gone.exe", "Path",
        platform::MakeSz("C:\\Old"));
    const std::string txt = std::string(kOpenSaveMruKey) + "\\txt";
    Set(kCurrentUser, txt, "a", RegValue{platform::kRegSz, {'C', 0, ':', 0, '\\', 0, 'q', 0}});
    Set(kCurrentUser, txt, "b", platform::MakeSz("C:\\Docs\\kept.txt"));
    Set(kCurrentUser, txt, "MRUList", platform::MakeSz("ba"));
    File("C:\\Docs\\kept.txt");
    Set(kLocalMachine, kHtmlHelpKey, "gone.chm", platform::MakeSz("C:\\Help"));
    Set(kLocalMachine, kHelpKey, "gone.hlp", platform::MakeSz("C:\\Help"));
    Set(kLocalMachine, kSharedDllsKey, "C:\\Windows\\gone.dll", platform::MakeDword(7));
    world.environment.Set("SystemDrive", "C:");
    const std::string link = platform::BuildShellLink("C:\\Old\\gone.exe");
    world.files.WriteFile("D:\\Menu\\orphan.lnk", link);
    world.files.SetAttributes("D:\\Menu\\orphan.lnk",
                              platform::kAttrReadOnly | platform::kAttrHidden);
    const auto before = Snapshot();

    pchealth& w = Open();
    for (pchealth::CheckFrame* f : {&w.SR, &w.AP, &w.HF, &w.HP, &w.SC}) {
        w.clock = [n = host.yields] { return FixedTime(n % 60); };
        ASSERT_TRUE(host.Click(f->button));
        EXPECT_EQ(f->repaired.Caption(), f->errors.Caption()) << f->frame.Name();
    }
    ASSERT_TRUE(host.Choose(w.ODrive, 1));  // c:, d:
    ASSERT_TRUE(host.Click(w.OS.button));
    EXPECT_EQ(w.OS.repaired.Caption(), "1");
    ASSERT_NE(Snapshot(), before);
    ASSERT_FALSE(FileExists("D:\\Menu\\orphan.lnk"));
    EXPECT_NE(Export(kCurrentUser, txt).find("\"MRUList\"=\"b\""), std::string::npos);
    host.CloseBox(w);

    RestoreAll();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(world.files.ReadFile("D:\\Menu\\orphan.lnk"), link);
    EXPECT_EQ(world.files.GetAttributes("D:\\Menu\\orphan.lnk") &
                  (platform::kAttrReadOnly | platform::kAttrHidden),
              platform::kAttrReadOnly | platform::kAttrHidden);
    RestoreAll();
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(host.messages.size() >= 12u);
    EXPECT_EQ(host.messages.back().title, "Restore");
}

// Each case on a fresh machine: what stands in the way of the backup.
struct NoBackupCase {
    const char* name;
    void (*arrange)(BackupTest&);
};

class NoBackupTest : public BackupTest, public ::testing::WithParamInterface<NoBackupCase> {
  public:
    void NoAppData() { world.environment.Set("LOCALAPPDATA", ""); }
    void Refused() {
        world.files.FailUnder("C:\\Users\\tester\\AppData\\Local\\Orvelle",
                              platform::kAccessDenied);
    }
    void TooDeep() {
        std::string deep = std::string(kUninstallKey) + "\\Leftover";
        for (int i = 0; i < kMaxKeyDepth + 2; ++i) deep += "\\k";
        Set(kLocalMachine, deep, "v", platform::MakeDword(1));
    }
};

TEST_P(NoBackupTest, NothingIsRemovedAndTheUserIsTold) {
    const std::string leftover = std::string(kUninstallKey) + "\\Leftover";
    Set(kLocalMachine, leftover, "DisplayName", platform::MakeSz("x"));
    GetParam().arrange(*this);
    pchealth& w = Open();
    ASSERT_TRUE(host.Click(w.SR.button));
    EXPECT_TRUE(KeyExists(kLocalMachine, leftover));
    EXPECT_EQ(w.SR.errors.Caption(), "1");
    EXPECT_EQ(w.SR.repaired.Caption(), "0");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("nothing was removed"), std::string::npos);
    EXPECT_TRUE(BackupStore(world.platform).List().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoBackupTest,
    ::testing::Values(NoBackupCase{"NoApplicationDataFolder",
                                   [](BackupTest& t) {
                                       static_cast<NoBackupTest&>(t).NoAppData();
                                   }},
                      NoBackupCase{"BackupFolderRefusesWriting",
                                   [](BackupTest& t) { static_cast<NoBackupTest&>(t).Refused(); }},
                      NoBackupCase{"TreeDeeperThanWindowsAllows",
                                   [](BackupTest& t) { static_cast<NoBackupTest&>(t).TooDeep(); }}),
    [](const ::testing::TestParamInfo<NoBackupCase>& info) { return info.param.name; });

TEST_F(BackupTest, TheRestoreWindowListsNewestFirstAndAsksOnce) {
    const std::string u = std::string(kUninstallKey);
    pchealth& w = Open();
    for (int second : {1, 9}) {
        Set(kLocalMachine, u + "\\L" + std::to_string(second), "x", platform::MakeDword(1));
        w.clock = [second] { return FixedTime(second); };
        ASSERT_TRUE(host.Click(w.SR.button));
    }
    std::vector<std::string> rows;
    host.on_modal = [&](ui::Form& f) {
        auto& r = static_cast<restorefrm&>(f);
        EXPECT_EQ(r.Caption(), "Restore");
        for (const auto& item : r.lstBackups.ListItems())
            rows.push_back(item.text + "|" + item.sub_items[0] + "|" + item.sub_items[1]);
        host.message_answers.push_back(ui::kIdNo);
        EXPECT_TRUE(host.Click(r.cmdRestore));
        host.CloseBox(f);
    };
    ASSERT_TRUE(host.Click(w.restorecmd));
    EXPECT_EQ(rows, (std::vector<std::string>{"2026-12-07 18:30:09|Uninstall entries|1",
                                              "2026-12-07 18:30:01|Uninstall entries|1"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Restore the 1 entries removed by Uninstall entries on 2026-12-07 18:30:09?");
    EXPECT_FALSE(KeyExists(kLocalMachine, u + "\\L9"));  // answered No
}

}  // namespace
}  // namespace orv::health::testing
