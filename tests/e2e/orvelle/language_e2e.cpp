// orvelle.exe in each of its languages: the language is chosen on the
// language panel as a user would, the program restarted, and the captions it
// shows compared with the language file beside it. Pictures of the main
// panels in German and French go to the shot folder for docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "platform/win32/platform.h"

namespace orv::e2e {
namespace {

constexpr wchar_t kChoiceKey[] = L"Software\\VB and VBA Program Settings\\Kadrim\\Language";

using win32::Narrow;
using win32::Wide;

// The file read as Windows-1252 whatever code page Wine runs in, so that a
// wrong letter on screen cannot hide behind the same wrong letter here.
std::string FromWindows1252(const std::string& bytes) {
    int n = MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), w.data(), n);
    return Narrow(w);
}

// section -> key -> text of a language file.
std::map<std::string, std::map<std::string, std::string>> ReadLanguage(const std::string& path) {
    std::map<std::string, std::map<std::string, std::string>> out;
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    std::string section;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(at, end - at);
        at = end + 2;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (std::size_t eq = line.find('='); eq != std::string::npos) {
            out[section][line.substr(0, eq)] = FromWindows1252(line.substr(eq + 1));
        }
    }
    return out;
}

std::string StoredChoice() {
    wchar_t buf[256];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, kChoiceKey, L"lng", RRF_RT_REG_SZ, nullptr, buf, &size) !=
        ERROR_SUCCESS)
        return {};
    return Narrow(buf);
}

class Languages : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
        exe = WindowsPath(Environment("ORVELLE_EXE"));
        ASSERT_FALSE(exe.empty()) << "ORVELLE_EXE names no orvelle.exe";
        folder = exe.substr(0, exe.find_last_of('\\'));
        // A run that stopped half way may have left another language chosen.
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kChoiceKey, L"lng");
        StartProgram();
    }
    void TearDown() override { RegDeleteKeyValueW(HKEY_CURRENT_USER, kChoiceKey, L"lng"); }

    void StartProgram() {
        ASSERT_TRUE(program.Start(exe)) << exe;
        main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main) << "no window named mainform";
        ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
    }
    void Restart() {
        ASSERT_TRUE(Close(main));
        ASSERT_TRUE(program.Wait(20s).has_value()) << "orvelle.exe still runs";
        StartProgram();
    }
    Window Get(std::string_view name) {
        Window w = FindControl(main, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    void ShowPanel(const char* button) {
        if (!Visible(Get("Frame1"))) {
            ASSERT_TRUE(Click(Get("syscmd")));
        }
        ASSERT_TRUE(Click(Get(button)));
    }
    // The main window, or only `panel` when the window is taller than the
    // screen Wine gives the test (the monitor at 150%).
    void Shot(const std::string& what, const char* panel = nullptr) {
        const std::string dir = Environment("ORVELLE_E2E_SHOT_DIR");
        if (dir.empty()) return;
        // A grown window may reach past the bottom of the screen: top left.
        SetWindowPos(reinterpret_cast<HWND>(main.hwnd), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(1000);  // let the resize and the last repaint land
        const bool fits = WindowRect(main).Height() <= GetSystemMetrics(SM_CYSCREEN);
        EXPECT_TRUE(Screenshot(
            fits || !panel ? main : Get(panel),
            WindowsPath(dir) + "\\" + what + "-" + Environment("ORVELLE_E2E_PERCENT") + ".bmp"));
    }

    std::string exe, folder;
    Process program;
    Window main;
};

// The language is chosen by the name the file gives itself; the program takes
// it from its next start. German, French, then back to English.
TEST_F(Languages, ChosenOnThePanelTheyTakeOverAtTheNextStart) {
    struct Case {
        const char* file;
        const char* shot;  // prefix of the pictures, none for English
    } cases[] = {{"Deutsch", "lang-de"}, {"Francais", "lang-fr"}, {"English", nullptr}};
    // Controls of every panel and what they show: a caption id each.
    const std::vector<std::pair<const char*, const char*>> captions = {
        {"syscmd", "1000"},   {"cpucmd", "1001"},          {"Command4", "1002"},
        {"Command3", "1007"}, {"Command7", "1026"},        {"VoptionsFrame(0)", "7014"},
        {"fsmooth", "5013"},  {"lblTotalCaption", "3002"}, {"Frame7", "2000"},
        {"cmdEnum", "1008"},  {"KeyboardFrame", "2004"},   {"RecycleFrame", "2013"},
        {"expandcp", "5016"}, {"lblhome", "3015"},         {"SIFrame", "2012"},
        {"SMframe", "7000"},  {"lnglabel", "3043"},        {"Applylangcmd", "1016"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto file = ReadLanguage(folder + "\\languages\\" + c.file + ".ini");
        const std::string name = file["Language"]["Name"];
        ASSERT_FALSE(name.empty()) << "no [Language] Name in " << c.file << ".ini";

        ShowPanel("Command7");
        Window list = Get("combolng");
        int item = -1;
        for (int i = 0; i < ItemCount(list); ++i)
            if (ItemText(list, i) == name) item = i;
        ASSERT_GE(item, 0) << "the list does not offer " << name;
        ASSERT_TRUE(ChooseItem(list, item));
        ASSERT_TRUE(Click(Get("Applylangcmd")));
        EXPECT_EQ(StoredChoice(), c.file);  // the file's name, not the one shown
        Restart();

        EXPECT_EQ(Text(main), file["Kadrim"]["7009"]);
        for (const auto& [control, id] : captions)
            EXPECT_EQ(Text(Get(control)), file["Kadrim"][id]) << control << " (" << id << ")";
        EXPECT_EQ(ItemText(Get("combolng"), SelectedItem(Get("combolng"))), name);
        if (std::string(c.file) == "Deutsch") {
            EXPECT_EQ(Text(Get("lblTotalCaption")),
                      "Gesamtgr\xC3\xB6\xC3\x9F"
                      "e");
        }
        if (std::string(c.file) == "Francais") {
            EXPECT_EQ(name,
                      "Fran\xC3\xA7"
                      "ais");
        }

        if (!c.shot) continue;
        const std::string prefix = c.shot;
        Shot(prefix + "-visual");
        ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 2));
        Shot(prefix + "-startmenu");
        ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 1));
        struct Panel {
            const char* button;
            const char* name;
            const char* frame;
        } panels[] = {{"cpucmd", "monitor", "SMframe"},    {"Command5", "drives", "drivesframe"},
                      {"Command6", "input", "Inputframe"}, {"Command1", "explorer", "EXPFrame"},
                      {"Command2", "sysinfo", "SIFrame"},  {"Command7", "language", "langFrame"}};
        for (const Panel& p : panels) {
            if (std::string(p.button) == "cpucmd") {
                ASSERT_TRUE(Click(Get("cpucmd")));
            } else {
                ShowPanel(p.button);
            }
            Shot(prefix + "-" + p.name, p.frame);
        }
    }
}

}  // namespace
}  // namespace orv::e2e
