// Reading a shortcut's target, on both backends: the simulation parses the
// file, the real one asks the shell. Both must agree on what a built link
// says and on how unreadable files are reported.
#include <gtest/gtest.h>

#include "backend.h"
#include "platform/shortcuts.h"

namespace orv {
namespace {

using namespace platform;

class ShortcutsContract : public ::testing::Test {
  protected:
    void SetUp() override { backend = testing::MakeTestBackend(); }
    std::string Path(std::string_view name) {
        return backend->TempFolder() + "\\" + std::string(name);
    }
    std::unique_ptr<testing::TestBackend> backend;
};

TEST_F(ShortcutsContract, ReadsTheTargetABuiltLinkRecords) {
    struct Case {
        const char* name;
        std::string target;
    };
    const Case cases[] = {
        {"plain", "C:\\Windows\\notepad.exe"},
        {"blanks and accents", "C:\\Program Files\\Caf\xc3\xa9 Menu\\app.exe"},
        {"missing target", "C:\\Gone\\nowhere.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        backend->WriteFile(Path("a.lnk"), BuildShellLink(c.target));
        std::string target = "stale";
        EXPECT_EQ(backend->P().shortcuts.ReadTarget(Path("a.lnk"), target), kSuccess);
        EXPECT_EQ(target, c.target);
    }
}

TEST_F(ShortcutsContract, UnreadableFilesAreReportedNotGuessed) {
    backend->WriteFile(Path("text.lnk"), "this is not a shortcut");
    backend->WriteFile(Path("empty.lnk"), "");
    std::string target = "stale";
    EXPECT_NE(backend->P().shortcuts.ReadTarget(Path("text.lnk"), target), kSuccess);
    EXPECT_EQ(target, "");
    EXPECT_NE(backend->P().shortcuts.ReadTarget(Path("empty.lnk"), target), kSuccess);
    EXPECT_EQ(backend->P().shortcuts.ReadTarget(Path("absent.lnk"), target), kFileNotFound);
    EXPECT_NE(backend->P().shortcuts.ReadTarget(backend->TempFolder(), target), kSuccess);
}

}  // namespace
}  // namespace orv
