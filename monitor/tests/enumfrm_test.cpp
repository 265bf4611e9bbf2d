#include "monitor/enumfrm.h"

#include "monitor_fixture.h"

namespace orv::monitor {
namespace {

using namespace orv::platform;
using testing::MonitorTest;

std::vector<std::string> Names(const ui::ListView& lv) {
    std::vector<std::string> out;
    for (const auto& item : lv.ListItems()) out.push_back(item.text + ":" + item.sub_items.at(0));
    return out;
}

class EnumfrmTest : public MonitorTest {
  protected:
    EnumfrmTest() {
        world.processes.Start(4, "System");
        world.processes.Start(300, "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
        world.processes.Start(812, "explorer.exe");
    }
    enumfrm& Open() {
        enumfrm& f = forms.Get<enumfrm>(ctx, main);
        host.ShowForm(f, nullptr, false);
        return f;
    }
};

TEST(ProcessFileNameTest, KeepsWhatFollowsTheLastBackslash) {
    struct Case {
        const char* name;
        std::string exe, expect;
    };
    const Case cases[] = {
        {"full path (9x)", "C:\\WINDOWS\\EXPLORER.EXE", "EXPLORER.EXE"},
        {"bare name (NT)", "svchost.exe", "svchost.exe"},
        {"cut at the first NUL", std::string("a.exe\0\\junk", 11), "a.exe"},
        {"ends in a backslash", "C:\\dir\\", ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ProcessFileName(c.exe), c.expect) << c.name;
}

TEST_F(EnumfrmTest, ListsEveryProcessInSnapshotOrder) {
    enumfrm& f = Open();
    ASSERT_EQ(f.info.Columns().size(), 2u);
    EXPECT_EQ(f.info.Columns()[0].text, "Process Name");
    EXPECT_EQ(f.info.Columns()[1].text, "Process ID");
    EXPECT_EQ(Names(f.info),
              (std::vector<std::string>{"System:4", "KERNEL32.DLL:300", "explorer.exe:812"}));
}

// Changes between two ticks, and what the list and its selection become.
TEST_F(EnumfrmTest, FollowsTheSetOfProcessesAndKeepsTheSelection) {
    struct Case {
        const char* name;
        std::function<void(sim::SimProcesses&)> change;
        std::vector<std::string> rows;
        std::string selected;  // "" = none
    };
    const Case cases[] = {
        {"nothing changed",
         [](sim::SimProcesses&) {},
         {"System:4", "KERNEL32.DLL:300", "explorer.exe:812"},
         "explorer.exe:812"},
        {"one ends and another starts: same count",
         [](sim::SimProcesses& p) {
             p.End(300);
             p.Start(900, "notepad.exe");
         },
         {"System:4", "explorer.exe:812", "notepad.exe:900"},
         "explorer.exe:812"},
        {"the id comes back as another program",
         [](sim::SimProcesses& p) {
             p.End(812);
             p.Start(812, "explorer.exe");
         },
         {"System:4", "KERNEL32.DLL:300", "explorer.exe:812"},
         ""},
        {"the selected process ended",
         [](sim::SimProcesses& p) { p.End(812); },
         {"System:4", "KERNEL32.DLL:300"},
         ""},
        {"no snapshot keeps the rows",
         [](sim::SimProcesses& p) {
             p.End(4);
             p.Fail("SnapshotProcesses", kNotReady);
         },
         {"System:4", "KERNEL32.DLL:300", "explorer.exe:812"},
         "explorer.exe:812"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world.processes.table.clear();
        world.processes.Fail("SnapshotProcesses", kSuccess);
        world.processes.Start(4, "System");
        world.processes.Start(300, "KERNEL32.DLL");
        world.processes.Start(812, "explorer.exe");
        enumfrm& f = Open();
        f.info.Select(2);
        c.change(world.processes);
        host.FireTimer(f.Timer1);
        EXPECT_EQ(Names(f.info), c.rows);
        const int sel = f.info.SelectedIndex();
        EXPECT_EQ(sel < 0 ? "" : Names(f.info)[static_cast<std::size_t>(sel)], c.selected);
        f.Unload();
    }
}

TEST_F(EnumfrmTest, KillProcessLogsEachFailedStep) {
    struct Case {
        const char* name;
        std::function<void(sim::SimProcesses&)> setup;
        std::vector<std::string> lines;
        bool ends;
    };
    const Case cases[] = {
        {"ends it with the exit code it reported", [](sim::SimProcesses&) {}, {}, true},
        {"cannot open: every step fails and logs",
         [](sim::SimProcesses& p) { p.table.back().grantable = 0; },
         {"ERROR: 5 at mdlMisc\\Kill_Process >>> OpenProcess failed",
          "ERROR: 6 at mdlMisc\\Kill_Process >>> GetExitCodeProcess failed",
          "ERROR: 6 at mdlMisc\\Kill_Process >>> TerminateProcess failed",
          "ERROR: 6 at mdlMisc\\Kill_Process >>> CloseHandle failed"},
         false},
        {"terminate refused",
         [](sim::SimProcesses& p) { p.Fail("Terminate", kAccessDenied); },
         {"ERROR: 5 at mdlMisc\\Kill_Process >>> TerminateProcess failed"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        world.files.RemoveFile(log.Path());
        world.processes.Fail("Terminate", kSuccess);
        world.processes.Start(2000, "victim.exe");
        c.setup(world.processes);
        Kill_Process(world.processes, log, 2000);
        std::string expect;
        for (const auto& l : c.lines) expect += l + "\r\n";
        EXPECT_EQ(Log(), expect);
        EXPECT_EQ(world.processes.Find(2000) == nullptr, c.ends);
        if (c.ends) {
            EXPECT_EQ(world.processes.terminated[2000], kStillActive);
        }
        world.processes.End(2000);
        EXPECT_EQ(world.processes.OpenHandles(), 0u);
    }
}

TEST_F(EnumfrmTest, TerminateEndsTheSelectedProcessOnly) {
    enumfrm& f = Open();
    host.FireTimer(f.Timer2);
    EXPECT_EQ(f.label2.Caption(), "");
    host.Click(f.terminatecmd);  // nothing selected: nothing happens
    EXPECT_EQ(f.info.ListItems().size(), 3u);
    EXPECT_EQ(Log(), "");

    f.info.Select(1);
    host.FireTimer(f.Timer2);
    EXPECT_EQ(f.label2.Caption(), "KERNEL32.DLL");
    host.Click(f.terminatecmd);
    EXPECT_EQ(world.processes.Find(300), nullptr);
    EXPECT_EQ(Names(f.info), (std::vector<std::string>{"System:4", "explorer.exe:812"}));
    EXPECT_EQ(f.info.SelectedIndex(), 0);
}

TEST_F(EnumfrmTest, ARecycledIdIsNotTerminated) {
    enumfrm& f = Open();
    f.info.Select(2);
    world.processes.End(812);
    world.processes.Start(812, "newcomer.exe");  // before the list's next refresh
    host.Click(f.terminatecmd);
    ASSERT_NE(world.processes.Find(812), nullptr);
    EXPECT_EQ(world.processes.Find(812)->entry.exe_file, "newcomer.exe");
    const std::string text = Log();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("at mdlMisc\\Kill_Process >>> The process id belongs to another"),
              std::string::npos);
    EXPECT_EQ(world.processes.OpenHandles(), 0u);
}

}  // namespace
}  // namespace orv::monitor
