#include "shell/error_log.h"

#include <climits>

#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

TEST(LogLine, JoinsTheFourFields) {
    struct Case {
        std::int32_t number;
        std::string message, module, procedure, want;
    } cases[] = {
        {5, "OpenProcess failed", "mdlMisc", "Kill_Process",
         "ERROR: 5 at mdlMisc\\Kill_Process >>> OpenProcess failed"},
        {-1, "m", "mod", "proc", "ERROR: -1 at mod\\proc >>> m"},
        {0, "", "", "", "ERROR: 0 at \\ >>> "},
        {INT32_MIN, "x", "a", "b", "ERROR: -2147483648 at a\\b >>> x"},
        {INT32_MAX, "x", "a", "b", "ERROR: 2147483647 at a\\b >>> x"},
        // a line end inside a field would split the entry
        {6, "first\r\nsecond", "mod\n", "proc", "ERROR: 6 at mod \\proc >>> first  second"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::FormatLogLine(c.number, c.message, c.module, c.procedure), c.want);
}

class ErrorLogTest : public ShellTest {};

TEST_F(ErrorLogTest, AppendsOneCrLfLinePerEntryInCallOrder) {
    shell::ErrorLog log(world.files);
    EXPECT_EQ(log.Path(), Folder() + "\\PROGRAM.LOG");
    world.files.WriteFile(Folder() + "\\Splash.spl", "");  // the folder exists, the log not yet
    log.LogError(5, "OpenProcess failed", "mdlMisc", "Kill_Process");
    EXPECT_EQ(Log(), "ERROR: 5 at mdlMisc\\Kill_Process >>> OpenProcess failed\r\n");
    log.LogError(-6, "CloseHandle failed", "mdlMisc", "Kill_Process");
    EXPECT_EQ(Log(),
              "ERROR: 5 at mdlMisc\\Kill_Process >>> OpenProcess failed\r\n"
              "ERROR: -6 at mdlMisc\\Kill_Process >>> CloseHandle failed\r\n");
}

TEST_F(ErrorLogTest, WritesTheAnsiCodePageWithQuestionMarksForTheRest) {
    world.files.WriteFile(Folder() + "\\Splash.spl", "");
    shell::ErrorLog(world.files)
        .WriteLogLine("caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD");  // "café € 中"
    EXPECT_EQ(Log(), "caf\xE9 \x80 ?\r\n");
}

TEST_F(ErrorLogTest, AnUnwritableLogLosesTheEntryQuietly) {
    shell::ErrorLog log(world.files);
    log.WriteLogLine("no folder yet");  // the program folder does not exist
    EXPECT_EQ(world.files.GetAttributes(log.Path()), platform::kInvalidAttributes);

    world.files.WriteFile(log.Path(), "old\r\n");
    world.files.SetAttributes(log.Path(), platform::kAttrReadOnly);
    log.WriteLogLine("read-only");
    EXPECT_EQ(Log(), "old\r\n");
}

}  // namespace
}  // namespace orv::app::testing
