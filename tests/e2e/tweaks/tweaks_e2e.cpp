// The tweak panels of orvelle.exe from the outside: a prefix seeded with
// known values shows them at start; an Apply changes exactly the values its
// page owns; the start-menu page's No writes nothing and its Yes writes and
// logs off; the Input page empties a Recycle Bin the test filled (the Trash
// of the throw-away HOME the runner sets).
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace orv::e2e {
namespace {

const std::wstring kPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\";
const std::wstring kIeMain = L"Software\\Microsoft\\Internet Explorer\\Main";

std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

void SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY k = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    HKEY k = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

void DeleteValue(HKEY root, const std::wstring& key, const wchar_t* name) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
    RegDeleteValueW(k, name);
    RegCloseKey(k);
}

// Every value of the keys the tweak pages touch: "key\name" -> "type:data".
using Snapshot = std::map<std::wstring, std::wstring>;

void AddKey(Snapshot& s, HKEY root, const std::wstring& label, const std::wstring& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD name_len = 512, type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        if (RegEnumValueW(k, i, name, &name_len, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring text;
        if (type == REG_DWORD)
            text = std::to_wstring(*reinterpret_cast<DWORD*>(data));
        else if (type == REG_SZ || type == REG_EXPAND_SZ)
            text.assign(reinterpret_cast<wchar_t*>(data), size / sizeof(wchar_t));
        else
            text = L"<" + std::to_wstring(size) + L" bytes>";
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        s[label + L"\\" + key + L"\\" + name] = std::to_wstring(type) + L":" + text;
    }
    RegCloseKey(k);
}

Snapshot Take() {
    Snapshot s;
    for (const wchar_t* key : {L"Explorer", L"System"})
        AddKey(s, HKEY_CURRENT_USER, L"HKCU", kPolicies + key);
    for (const wchar_t* key : {L"Control Panel\\Desktop", L"Control Panel\\Keyboard"})
        AddKey(s, HKEY_CURRENT_USER, L"HKCU", key);
    AddKey(s, HKEY_USERS, L"HKU", L".DEFAULT\\Control Panel\\Desktop");
    AddKey(s, HKEY_CURRENT_USER, L"HKCU", kIeMain);
    AddKey(s, HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Internet Explorer");
    return s;
}

// What differs: "key\name" -> "before => after" ("-" for absent).
std::map<std::wstring, std::wstring> Diff(const Snapshot& a, const Snapshot& b) {
    std::map<std::wstring, std::wstring> d;
    for (const auto& [k, v] : a) {
        auto it = b.find(k);
        if (it == b.end())
            d[k] = v + L" => -";
        else if (it->second != v)
            d[k] = v + L" => " + it->second;
    }
    for (const auto& [k, v] : b)
        if (!a.count(k)) d[k] = L"- => " + v;
    return d;
}

std::string Narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}
std::string Show(const std::map<std::wstring, std::wstring>& d) {
    std::string out;
    for (const auto& [k, v] : d) out += Narrow(k) + " = " + Narrow(v) + "\n";
    return out;
}

class Tweaks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetDword(HKEY_CURRENT_USER, kPolicies + L"Explorer", L"NoClose", 1);
        SetDword(HKEY_CURRENT_USER, kPolicies + L"Explorer", L"NoRun", 0);
        SetDword(HKEY_CURRENT_USER, kPolicies + L"Explorer", L"NoInternetIcon", 1);
        SetDword(HKEY_CURRENT_USER, kPolicies + L"System", L"DisableRegistryTools", 1);
        SetText(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"MenuShowDelay", L"250");
        SetText(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", L"KeyboardDelay", L"2");
        SetText(HKEY_CURRENT_USER, L"Control Panel\\Keyboard", L"KeyboardSpeed", L"20");
        SetText(HKEY_CURRENT_USER, kIeMain, L"Window Title", L"Seeded Title");
        SetText(HKEY_CURRENT_USER, kIeMain, L"Start Page", L"about:seeded");
        DeleteValue(HKEY_CURRENT_USER, kPolicies + L"Explorer", L"NoDesktop");
        DeleteValue(HKEY_CURRENT_USER, kPolicies + L"Explorer", L"NoViewContextMenu");
    }
    void SetUp() override {
        std::string why;
        main = StartOrvelle(program, why);
        ASSERT_TRUE(main) << why;
    }
    Window Get(std::string_view name) {
        Window w = FindControl(main, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    // The fold-out group, then the panel's button.
    void Open(const char* button) {
        ASSERT_TRUE(Click(Get("syscmd")));
        ASSERT_TRUE(Click(Get(button)));
    }
    // Presses Apply, which asks first, and answers.
    void ApplyMenu(int answer) {
        ASSERT_TRUE(PostClick(Get("applymenu")));
        Window box = FindDialog(program.Id(), 10s);
        ASSERT_TRUE(box) << "no question";
        EXPECT_EQ(Text(DialogItem(box, 0xFFFF)), "Are you sure to restart?");
        ASSERT_TRUE(PressDialogButton(box, answer));
        ASSERT_TRUE(WaitGone(box, 5s));
    }

    Process program;
    Window main;
};

TEST_F(Tweaks, SeededValuesShowAtStart) {
    EXPECT_EQ(CheckState(Get("shutchk")), 1);
    EXPECT_EQ(CheckState(Get("runchk")), 0);
    EXPECT_EQ(CheckState(Get("ieiconchk")), 1);
    EXPECT_EQ(Text(Get("mdelaycombo")), "250");
    EXPECT_EQ(ItemCount(Get("mdelaycombo")), 999);
    EXPECT_EQ(ItemCount(Get("wheelcombo")), 100);
    EXPECT_FALSE(Enabled(Get("applymenu")));
    EXPECT_EQ(Position(Get("Delayslider")), 2);
    EXPECT_EQ(Position(Get("Repeatslider")), 20);
    EXPECT_EQ(Text(Get("changetxt")), "Seeded Title");
    EXPECT_EQ(Text(Get("hometxt")), "about:seeded");
    EXPECT_EQ(CheckState(Get("disableregchk")), 1);
    EXPECT_EQ(CheckState(Get("recycle")), 0);

    const std::string shots = Environment("ORVELLE_E2E_SHOTS");
    if (shots.empty()) return;
    struct Page {
        const char* button;
        const char* tabs;
        int tab;
        const char* file;
    };
    const Page pages[] = {{"Command4", "TabStrip1", 2, "startmenu"},
                          {"Command4", "TabStrip1", 3, "desktop"},
                          {"Command1", "ExpTab", 1, "explorer"},
                          {"Command1", "ExpTab", 2, "privacy"},
                          {"Command6", nullptr, 0, "input"}};
    ASSERT_TRUE(Click(Get("syscmd")));
    // At 144 DPI the panels' height reaches below a 768-line desktop: move
    // the window up so that all of it is on the screen.
    SetWindowPos(reinterpret_cast<HWND>(main.hwnd), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Page& p : pages) {
        ASSERT_TRUE(Click(Get(p.button)));
        if (p.tabs) {
            ASSERT_TRUE(ChooseTab(Get(p.tabs), p.tab));
        }
        Sleep(300);
        EXPECT_TRUE(Screenshot(main, WindowsPath(shots + "-" + p.file + ".bmp")));
    }
}

TEST_F(Tweaks, ApplyChangesOnlyWhatItsPageOwns) {
    Open("Command1");
    const Snapshot before = Take();
    ASSERT_TRUE(SetText(Get("hometxt"), "about:changed"));
    ASSERT_TRUE(Click(Get("applycmd")));
    EXPECT_EQ(Show(Diff(before, Take())),
              "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page = "
              "1:about:seeded => 1:about:changed\n");

    ASSERT_TRUE(Click(Get("Command4")));
    ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 3));
    const Snapshot before_desktop = Take();
    ASSERT_TRUE(Click(Get("dskrightchk")));
    ASSERT_TRUE(Click(Get("applydesktop")));
    const std::string p =
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\";
    EXPECT_EQ(Show(Diff(before_desktop, Take())),
              p + "NoDesktop = - => 4:0\n" + p + "NoViewContextMenu = - => 4:1\n")
        << "NoInternetIcon is written with the 1 it held";
}

TEST_F(Tweaks, NoWritesNothingAndPutsTheBoxesBack) {
    Open("Command4");
    ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 2));
    const Snapshot before = Take();
    ASSERT_TRUE(Click(Get("shutchk")));
    ASSERT_TRUE(Click(Get("favchk")));
    EXPECT_TRUE(Enabled(Get("applymenu")));
    ApplyMenu(IDNO);
    EXPECT_TRUE(WaitUntil([&] { return CheckState(Get("shutchk")) == 1; }));
    EXPECT_EQ(CheckState(Get("favchk")), 1);
    EXPECT_TRUE(Enabled(Get("applymenu")));
    EXPECT_EQ(Show(Diff(before, Take())), "");
    EXPECT_TRUE(program.Running());
}

TEST_F(Tweaks, InputApplyEmptiesTheRecycleBinOnce) {
    // Only ever the runner's throw-away HOME: never a real user's Trash.
    const std::string data = Environment("XDG_DATA_HOME");
    ASSERT_NE(data.find("/build/"), std::string::npos) << data;
    const std::string trash = WindowsPath(data + "/Trash");
    CreateDirectoryA((WindowsPath(data)).c_str(), nullptr);
    CreateDirectoryA(trash.c_str(), nullptr);
    CreateDirectoryA((trash + "\\files").c_str(), nullptr);
    CreateDirectoryA((trash + "\\info").c_str(), nullptr);
    const std::string file = trash + "\\files\\orvelle-e2e.txt";
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    h = CreateFileA((trash + "\\info\\orvelle-e2e.txt.trashinfo").c_str(), GENERIC_WRITE, 0,
                    nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const char info[] =
        "[Trash Info]\nPath=/tmp/orvelle-e2e.txt\nDeletionDate=2026-01-01T00:00:00\n";
    DWORD written = 0;
    WriteFile(h, info, sizeof info - 1, &written, nullptr);
    CloseHandle(h);

    Open("Command6");
    const UINT double_click = GetDoubleClickTime();
    ASSERT_TRUE(SetPosition(Get("Delayslider"), 1));
    ASSERT_TRUE(Click(Get("recycle")));
    ASSERT_TRUE(Click(Get("inputcmd"), 20s));
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10s));
    EXPECT_EQ(CheckState(Get("recycle")), 0);
    UINT delay = 9;
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0));
    EXPECT_EQ(delay, 1u);
    EXPECT_EQ(Take().at(L"HKCU\\Control Panel\\Keyboard\\KeyboardDelay"), L"1:1");
    EXPECT_EQ(GetDoubleClickTime(), double_click) << "the double-click slider was not moved";
}

// Last: the log-off ends every windowed program of the prefix.
TEST_F(Tweaks, YesWritesEverythingAndLogsOff) {
    Open("Command4");
    ASSERT_TRUE(ChooseTab(Get("TabStrip1"), 2));
    ASSERT_TRUE(Click(Get("runchk")));
    ASSERT_TRUE(ChooseItem(Get("wheelcombo"), 6));
    ApplyMenu(IDYES);
    // Wine answers ExitWindowsEx by ending every windowed process of the
    // prefix after WM_QUERYENDSESSION/WM_ENDSESSION; Windows would end the
    // session. Either way the program goes, with nothing left to do.
    auto code = program.Wait(20s);
    EXPECT_TRUE(code.has_value()) << "the log-off did not end the program";
    const Snapshot after = Take();
    const std::wstring p = L"HKCU\\" + kPolicies;
    EXPECT_EQ(after.at(p + L"Explorer\\NoRun"), L"4:1");
    EXPECT_EQ(after.at(p + L"Explorer\\NoClose"), L"4:1");
    EXPECT_EQ(after.at(p + L"System\\NoDispCPL"), L"4:0");
    EXPECT_EQ(after.at(L"HKCU\\Control Panel\\Desktop\\MenuShowDelay"), L"1:250");
    EXPECT_EQ(after.at(L"HKU\\.DEFAULT\\Control Panel\\Desktop\\MenuShowDelay"), L"1:250");
    EXPECT_EQ(after.at(L"HKCU\\Control Panel\\Desktop\\WheelScrollLines"), L"1:7");
    EXPECT_EQ(after.at(L"HKU\\.DEFAULT\\Control Panel\\Desktop\\WheelScrollLines"), L"1:7");
}

}  // namespace
}  // namespace orv::e2e
