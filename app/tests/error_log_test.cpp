#include "shell/error_log.h"

#include <climits>
#include <functional>
#include <stdexcept>

#include "platform/error.h"
#include "shell/user_data.h"

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
    shell::ErrorLog log(world.files, &world.environment);
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
    const std::string line = "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD";  // "café € 中"
    struct Case {
        const char* what;
        unsigned code_page;
        std::string want;
    } cases[] = {
        {"Western", 1252, "caf\xE9 \x80 ?\r\n"},
        {"UTF-8", 65001, line + "\r\n"},
        {"a conversion that fails keeps the line", 12345, "caf? ? ?\r\n"},
    };
    shell::ErrorLog log(world.files, &world.environment);
    for (const auto& c : cases) {
        world.files.WriteFile(log.Path(), "");
        world.files.SetAnsiCodePage(c.code_page);
        log.WriteLogLine(line);
        EXPECT_EQ(Log(), c.want) << c.what;
    }
}

// An installed copy's folder refuses a standard user: the line goes to the
// user's own data folder, and only when that fails too is it lost.
TEST_F(ErrorLogTest, ALogTheProgramFolderRefusesGoesToTheUsersFolder) {
    shell::ErrorLog log(world.files, &world.environment);
    const std::string user = "C:\\Users\\user\\AppData\\Local\\Orvelle\\PROGRAM.LOG";
    EXPECT_EQ(log.UserPath(), user);
    auto user_log = [&] {
        auto bytes = world.files.ReadFile(user);
        return bytes ? *bytes : std::string("(none)");
    };

    world.files.WriteFile(log.Path(), "old\r\n");
    world.files.SetAttributes(log.Path(), platform::kAttrReadOnly);
    log.WriteLogLine("read-only");
    EXPECT_EQ(Log(), "old\r\n");
    EXPECT_EQ(user_log(), "read-only\r\n");

    world.files.SetAttributes(log.Path(), platform::kAttrNormal);
    log.WriteLogLine("writable again");
    EXPECT_EQ(Log(), "old\r\nwritable again\r\n");
    EXPECT_EQ(user_log(), "read-only\r\n");

    // Neither folder: the entry is lost quietly, and nothing appears at a root.
    world.files.SetAttributes(log.Path(), platform::kAttrReadOnly);
    world.environment.Set("LOCALAPPDATA", "");
    world.environment.Set("USERPROFILE", "");
    EXPECT_EQ(log.UserPath(), "");
    log.WriteLogLine("nowhere");
    EXPECT_EQ(Log(), "old\r\nwritable again\r\n");
    EXPECT_EQ(world.files.GetAttributes("C:\\Orvelle"), platform::kInvalidAttributes);
}

TEST(UserData, FolderComesFromTheEnvironmentAndNeverFromARoot) {
    struct Case {
        const char* what;
        const char* local;
        const char* profile;
        std::string want;
    } cases[] = {
        {"local app data", "D:\\Local", "C:\\Users\\u", "D:\\Local\\Orvelle"},
        {"profile only", "", "C:\\Users\\u", "C:\\Users\\u\\AppData\\Local\\Orvelle"},
        {"neither", "", "", ""},
    };
    for (const Case& c : cases) {
        sim::SimEnvironment env;
        env.Set("LOCALAPPDATA", c.local);
        env.Set("USERPROFILE", c.profile);
        EXPECT_EQ(shell::UserDataFolder(env), c.want) << c.what;
    }
}

// The guard's failures name their window, and a failure that repeats (a
// timer failing on every tick) is one line for the whole run.
TEST_F(ErrorLogTest, TheGuardLogsEachFailureOnceUnderItsWindow) {
    InstallProgram();
    ASSERT_TRUE(Start());
    world.files.WriteFile(Folder() + "\\PROGRAM.LOG", "");
    auto fail_in = [](ui::Form& form, std::function<void()> fail) { form.Fire(fail); };
    auto numbered = [](int n, const char* source) {
        return [=] { throw orv::Error(n, source, "boom"); };
    };
    auto plain = [](const char* what) { return [=] { throw std::runtime_error(what); }; };
    for (int tick = 0; tick < 3; ++tick) fail_in(Main(), numbered(7, "tmrCPU_Timer"));
    fail_in(Main(), numbered(8, "tmrCPU_Timer"));
    fail_in(Main(), numbered(7, "FillDrives"));
    fail_in(Main(), plain("no drive"));
    fail_in(Main(), plain("no drive"));
    fail_in(Main(), plain("no folder"));
    host.on_modal = [&](ui::Form& about) {
        fail_in(about, numbered(7, "tmrCPU_Timer"));
        host.CloseBox(about);
    };
    ASSERT_TRUE(host.ClickSkinElement(Main(), "About"));
    host.Run(plain("outside"));
    EXPECT_EQ(Log(),
              "ERROR: 7 at mainform\\tmrCPU_Timer >>> boom\r\n"
              "ERROR: 8 at mainform\\tmrCPU_Timer >>> boom\r\n"
              "ERROR: 7 at mainform\\FillDrives >>> boom\r\n"
              "ERROR: 0 at mainform\\Run >>> no drive\r\n"
              "ERROR: 0 at mainform\\Run >>> no folder\r\n"
              "ERROR: 7 at frmabout\\tmrCPU_Timer >>> boom\r\n"
              "ERROR: 0 at Host\\Run >>> outside\r\n");
}

}  // namespace
}  // namespace orv::app::testing
