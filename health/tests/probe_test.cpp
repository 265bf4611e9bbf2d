// The existence test: what counts as there, as gone, and as unknown.
#include "health/probe.h"
#include "fixture.h"

namespace orv::health::testing {
namespace {

using platform::kAttrHidden;
using platform::kAttrReadOnly;
using platform::kAttrSystem;

class ProbeTest : public HealthTest {};

TEST_F(ProbeTest, PresenceByPath) {
    File("C:\\App\\plain.exe");
    File("C:\\App\\hidden.dll", kAttrHidden);
    File("C:\\App\\system.dll", kAttrSystem | kAttrReadOnly);
    File("C:\\App\\Tool.v2\\inside.txt");
    File("E:\\x.txt");  // no drive E: is mapped: nothing is written
    world.files.FailUnder("D:\\", platform::kNotReady);
    File("C:\\Net\\denied\\a.exe");
    world.files.FailUnder("C:\\Net\\denied", platform::kAccessDenied);
    const std::string long_name = "C:\\Deep\\" + std::string(300, 'a') + ".exe";

    struct Case {
        const char* name;
        std::string path;
        bool folders_count;
        Presence want;
    };
    const Case cases[] = {
        {"ordinary file", "C:\\App\\plain.exe", false, Presence::kPresent},
        {"letter case differs", "c:\\app\\PLAIN.EXE", false, Presence::kPresent},
        {"hidden file", "C:\\App\\hidden.dll", false, Presence::kPresent},
        {"system read-only file", "C:\\App\\system.dll", false, Presence::kPresent},
        {"wildcard matching a file", "C:\\App\\pla*.exe", false, Presence::kPresent},
        {"folder, files only", "C:\\App\\Tool.v2", false, Presence::kMissing},
        {"folder, folders count", "C:\\App\\Tool.v2", true, Presence::kPresent},
        {"drive root, folders count", "C:\\", true, Presence::kPresent},
        {"file gone from a folder that is there", "C:\\App\\gone.exe", false, Presence::kMissing},
        {"folder gone", "C:\\Gone\\app.exe", false, Presence::kMissing},
        {"path over 260 characters, gone", long_name, false, Presence::kMissing},
        {"drive nobody mapped", "E:\\x.txt", false, Presence::kUnknown},
        {"drive not ready", "D:\\setup.exe", false, Presence::kUnknown},
        {"folder refuses access", "C:\\Net\\denied\\a.exe", false, Presence::kUnknown},
        {"empty path", "", true, Presence::kUnknown},
        {"relative path", "app.exe", false, Presence::kUnknown},
        {"rooted on the current drive", "\\help.chm", false, Presence::kUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Probe(world.files, c.path, c.folders_count), c.want);
    }
}

TEST_F(ProbeTest, CommandLinesAreJudgedByTheirProgram) {
    File("C:\\Program Files\\Editor\\edit.exe");
    struct Case {
        const char* name;
        const char* command;
        Presence want;
    };
    const Case cases[] = {
        {"quoted program with arguments", "\"C:\\Program Files\\Editor\\edit.exe\" /n \"%1\"",
         Presence::kPresent},
        {"quoted program alone, blanks around", "  \"C:\\Program Files\\Editor\\edit.exe\"  ",
         Presence::kPresent},
        {"unquoted program with arguments", "C:\\Program Files\\Editor\\edit.exe -safe",
         Presence::kPresent},
        {"quoted program that is gone", "\"C:\\Program Files\\Old\\old.exe\" /x",
         Presence::kMissing},
        {"unquoted program that is gone", "C:\\Old\\old.exe -x", Presence::kMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ProbeCommandLine(world.files, c.command), c.want);
    }
    EXPECT_EQ(QuotesToSpaces("\"C:\\a b\\c.exe\" -x"), " C:\\a b\\c.exe  -x");
}

}  // namespace
}  // namespace orv::health::testing
