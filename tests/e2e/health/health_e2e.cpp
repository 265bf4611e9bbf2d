// The System Health window of orvelle.exe from the outside: the test seeds
// the prefix's registry and its own drive T: with valid and stale entries,
// presses each check's button, reads the counts, checks what is left, and
// restores every backup through the Restore window.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace orv::e2e {
namespace {

std::wstring W(std::string_view s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kMru =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
constexpr const char* kHtmlHelp = "Software\\Microsoft\\Windows\\HTML Help";
constexpr const char* kHelp = "Software\\Microsoft\\Windows\\Help";
constexpr const char* kShared = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

void SetSz(HKEY root, const std::string& key, const std::string& name, const std::string& data) {
    HKEY h = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, W(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        ERROR_SUCCESS)
        << key;
    std::wstring d = W(data);
    RegSetValueExW(h, W(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(d.c_str()),
                   static_cast<DWORD>((d.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

void SetDword(HKEY root, const std::string& key, const std::string& name, DWORD v) {
    HKEY h = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, W(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(h, W(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), 4);
    RegCloseKey(h);
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, W(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool ValueExists(HKEY root, const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, W(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    LONG st = RegQueryValueExW(h, W(name).c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return st == ERROR_SUCCESS;
}

// Every value below `key` as "path|name|type|bytes", sorted: what an export
// holds, without the order values happen to be enumerated in.
void Dump(HKEY root, const std::wstring& key, std::vector<std::wstring>& out) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    out.push_back(key);
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD name_len = 16384, type = 0, size = 0;
        if (RegEnumValueW(h, i, name, &name_len, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size + 2);
        name_len = 16384;
        RegEnumValueW(h, i, name, &name_len, nullptr, &type, data.data(), &size);
        std::wstring line = key + L"|" + name + L"|" + std::to_wstring(type) + L"|";
        for (DWORD b = 0; b < size; ++b) line += std::to_wstring(data[b]) + L",";
        out.push_back(line);
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD len = 256;
        if (RegEnumKeyExW(h, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name);
    }
    RegCloseKey(h);
    for (const auto& s : subkeys) Dump(root, key + L"\\" + s, out);
}

std::vector<std::wstring> Snapshot() {
    std::vector<std::wstring> out;
    for (auto [root, key] : {std::pair{HKEY_LOCAL_MACHINE, kUninstall},
                             {HKEY_LOCAL_MACHINE, kAppPaths},
                             {HKEY_CURRENT_USER, kMru},
                             {HKEY_LOCAL_MACHINE, kHtmlHelp},
                             {HKEY_LOCAL_MACHINE, kHelp},
                             {HKEY_LOCAL_MACHINE, kShared}})
        Dump(root, W(key), out);
    std::sort(out.begin(), out.end());
    return out;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

void MakeShortcut(const std::string& link, const std::string& target) {
    IShellLinkW* sl = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&sl))));
    sl->SetPath(W(target).c_str());
    IPersistFile* pf = nullptr;
    ASSERT_TRUE(SUCCEEDED(sl->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pf))));
    EXPECT_TRUE(SUCCEEDED(pf->Save(W(link).c_str(), TRUE))) << link;
    pf->Release();
    sl->Release();
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

class Health : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(Exists("T:\\")) << "drive T: is not mapped (run through with-drive)";
        const std::string exe = WindowsPath(Environment("ORVELLE_EXE"));
        ASSERT_TRUE(program.Start(exe)) << exe;
        main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main);
        ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
    }
    void TearDown() override { CoUninitialize(); }

    Window OpenHealth() {
        Window syscmd = FindControl(main, "syscmd");
        if (!Visible(FindControl(main, "Command3"))) {
            EXPECT_TRUE(Click(syscmd));
        }
        EXPECT_TRUE(PostClick(FindControl(main, "Command3")));
        Window w = FindForm("pchealth", 10s, program.Id());
        EXPECT_TRUE(w) << "no pchealth window";
        return w;
    }
    // Presses a check's button and waits for its run to end.
    std::pair<std::string, std::string> RunCheck(Window w, const char* button, const char* errors,
                                                 const char* repaired) {
        Window close = FindControl(w, "Command1");
        // Sent, not posted: the click returns once the check has run, so the
        // labels read below are this run's, not the previous run's figures.
        EXPECT_TRUE(Click(FindControl(w, button), 60s)) << button;
        EXPECT_TRUE(WaitUntil(
            [&] { return !Text(FindControl(w, repaired)).empty() && Enabled(close); }, 60s))
            << button;
        return {Text(FindControl(w, errors)), Text(FindControl(w, repaired))};
    }

    Process program;
    Window main;
};

TEST_F(Health, EachCheckRemovesExactlyTheStaleEntriesAndRestoreBringsThemBack) {
    Window w = OpenHealth();
    ASSERT_TRUE(w);
    EXPECT_EQ(Text(w), "System Health");
    // What the fresh prefix itself holds is cleaned first, so the counts
    // below are the seeded entries only.
    const char* checks[][3] = {{"checkcmd", "Elabel", "Rlabel"},
                               {"check2cmd", "t2label", "R2label"},
                               {"check4cmd", "t4label", "R4label"},
                               {"check5cmd", "e5label", "R5label"},
                               {"check6cmd", "E6label", "R6label"}};
    for (auto& c : checks) RunCheck(w, c[0], c[1], c[2]);

    CreateDirectoryW(L"C:\\OrvTest", nullptr);
    WriteFileBytes("C:\\OrvTest\\good.exe", "MZ");
    WriteFileBytes("C:\\OrvTest\\good.chm", "ITSF");
    WriteFileBytes("C:\\OrvTest\\good.dll", "MZ");
    WriteFileBytes("C:\\OrvTest\\doomed.exe", "MZ");
    const std::string u = std::string(kUninstall) + "\\";
    SetSz(HKEY_LOCAL_MACHINE, u + "OrvTest Leftover", "DisplayName", "Gone");
    SetSz(HKEY_LOCAL_MACHINE, u + "OrvTest Leftover\\Sub", "x", "y");
    SetSz(HKEY_LOCAL_MACHINE, u + "OrvTest Keep", "UninstallString", "C:\\OrvTest\\good.exe");
    SetDword(HKEY_LOCAL_MACHINE, u + "OrvTest Component", "SystemComponent", 1);
    const std::string a = std::string(kAppPaths) + "\\";
    SetSz(HKEY_LOCAL_MACHINE, a + "orvtest-gone.exe", "", "C:\\OrvTest\\gone.exe");
    SetSz(HKEY_LOCAL_MACHINE, a + "orvtest-good.exe", "", "\"C:\\OrvTest\\good.exe\" /x");
    const std::string m = std::string(kMru) + "\\orvtest";
    SetSz(HKEY_CURRENT_USER, m, "a", "C:\\OrvTest\\good.exe");
    SetSz(HKEY_CURRENT_USER, m, "b", "C:\\OrvTest\\gone.txt");
    SetSz(HKEY_CURRENT_USER, m, "MRUList", "ba");
    SetSz(HKEY_LOCAL_MACHINE, kHtmlHelp, "good.chm", "C:\\OrvTest");
    SetSz(HKEY_LOCAL_MACHINE, kHtmlHelp, "gone.chm", "C:\\OrvTest");
    SetSz(HKEY_LOCAL_MACHINE, kHelp, "gone.hlp", "C:\\OrvTest\\");
    SetDword(HKEY_LOCAL_MACHINE, kShared, "C:\\OrvTest\\good.dll", 0);
    SetDword(HKEY_LOCAL_MACHINE, kShared, "C:\\OrvTest\\gone.dll", 2);
    CreateDirectoryW(L"T:\\Menu", nullptr);
    MakeShortcut("T:\\good.lnk", "C:\\OrvTest\\good.exe");
    MakeShortcut("T:\\folder.lnk", "C:\\OrvTest");
    MakeShortcut("T:\\Menu\\hidden-good.lnk", "C:\\OrvTest\\good.exe");
    MakeShortcut("T:\\Menu\\orphan.lnk", "C:\\OrvTest\\doomed.exe");
    WriteFileBytes("T:\\notalink.lnk", "plain text");
    SetFileAttributesW(L"T:\\Menu\\hidden-good.lnk", FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(L"T:\\Menu\\orphan.lnk", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    DeleteFileW(L"C:\\OrvTest\\doomed.exe");
    const std::vector<std::wstring> before = Snapshot();

    struct Case {
        const char* button;
        const char* errors;
        const char* repaired;
        const char* want;
    };
    const Case cases[] = {{"checkcmd", "Elabel", "Rlabel", "1"},
                          {"check2cmd", "t2label", "R2label", "1"},
                          {"check4cmd", "t4label", "R4label", "1"},
                          {"check5cmd", "e5label", "R5label", "2"},
                          {"check6cmd", "E6label", "R6label", "1"}};
    for (const Case& c : cases) {
        auto [errors, repaired] = RunCheck(w, c.button, c.errors, c.repaired);
        EXPECT_EQ(errors, c.want) << c.button;
        EXPECT_EQ(repaired, c.want) << c.button;
    }
    Window drives = FindControl(w, "ODrive");
    int t = -1;
    for (int i = 0; i < ItemCount(drives); ++i)
        if (ItemText(drives, i) == "t:") t = i;
    ASSERT_GE(t, 0) << "no t: in the drive list";
    ASSERT_TRUE(ChooseItem(drives, t));
    auto [errors, repaired] = RunCheck(w, "check3cmd", "E3label", "R3label");
    EXPECT_EQ(errors, "1");
    EXPECT_EQ(repaired, "1");
    EXPECT_EQ(Text(FindControl(w, "label29")), "Done ... 1 shortcut(s) could not be read");

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u + "OrvTest Leftover"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u + "OrvTest Keep"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u + "OrvTest Component"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, a + "orvtest-gone.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, a + "orvtest-good.exe"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, m, "a"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, m, "b"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kHtmlHelp, "good.chm"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kHtmlHelp, "gone.chm"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kHelp, "gone.hlp"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kShared, "C:\\OrvTest\\good.dll"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kShared, "C:\\OrvTest\\gone.dll"));
    EXPECT_TRUE(Exists("T:\\good.lnk"));
    EXPECT_TRUE(Exists("T:\\folder.lnk"));
    EXPECT_TRUE(Exists("T:\\Menu\\hidden-good.lnk"));
    EXPECT_TRUE(Exists("T:\\notalink.lnk"));
    EXPECT_FALSE(Exists("T:\\Menu\\orphan.lnk"));

    const std::string shot = Environment("ORVELLE_E2E_SHOT");
    if (!shot.empty()) {
        const Rect at = WindowRect(w);
        std::printf("pchealth at %d,%d-%d,%d on %dx%d\n", at.left, at.top, at.right, at.bottom,
                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        EXPECT_TRUE(Screenshot(w, WindowsPath(shot)));
    }

    ASSERT_TRUE(PostClick(FindControl(w, "restorecmd")));
    Window r = FindForm("restorefrm", 10s, program.Id());
    ASSERT_TRUE(r);
    Window list;
    ASSERT_TRUE(WaitUntil(
        [&] {
            list = FindControl(r, "lstBackups");
            return list && ListViewCount(list) >= 6;
        },
        10s))
        << ListViewCount(list) << " backups listed";
    if (!shot.empty()) {
        std::string restore_shot = shot;
        const std::size_t at = restore_shot.rfind("pchealth");
        if (at != std::string::npos) restore_shot.replace(at, 8, "restorefrm");
        EXPECT_TRUE(Screenshot(r, WindowsPath(restore_shot)));
    }
    // The six newest are this run's.
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(SelectListViewItem(list, i));
        ASSERT_TRUE(PostClick(FindControl(r, "cmdRestore")));
        Window question = FindDialog(program.Id(), 10s);
        ASSERT_TRUE(question);
        ASSERT_TRUE(PressDialogButton(question, IDYES));
        ASSERT_TRUE(WaitGone(question, 10s));
    }
    // The last restore runs after its question has gone.
    WaitUntil([&] { return Snapshot() == before; }, 10s);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(Exists("T:\\Menu\\orphan.lnk"));
    EXPECT_EQ(GetFileAttributesW(L"T:\\Menu\\orphan.lnk") &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(PostClick(FindControl(r, "cmdClose")));
    EXPECT_TRUE(WaitGone(r, 10s));
    ASSERT_TRUE(PostClick(FindControl(w, "Command1")));
    EXPECT_TRUE(WaitGone(w, 10s));
    EXPECT_TRUE(Close(main));
    EXPECT_TRUE(program.Wait(10s).has_value());
}

}  // namespace
}  // namespace orv::e2e
