// The setup program in a fresh Wine prefix: a silent install, what it put
// where, the installed program starting, and a silent uninstall that leaves
// the registry and the files of the prefix as they were before, except for
// the user's settings when the user keeps them.
#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "health/scans.h"
#include "platform/win32/platform.h"

namespace orv::e2e {
namespace {

using win32::Narrow;
using win32::Wide;

// The install folder: no blank in it, or Wine's uninstaller ignores "_?=".
const std::string kDir = "C:\\OrvelleTest";
const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvelle";
const std::wstring kClsid = L"{7B52EDC9-205E-4A92-83E3-E618768A5753}";
const std::wstring kSettingsKey = L"Software\\VB and VBA Program Settings\\Kadrim";

// ---- snapshots of the prefix ----------------------------------------------

std::string Hex(const BYTE* data, DWORD size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (DWORD i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

// Every value below `path` as "root\key|name|type|data", keys as "root\key\".
void DumpKey(HKEY root, const std::wstring& name, const std::wstring& path,
             std::set<std::string>& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return;
    const std::wstring here = name + L"\\" + path;
    out.insert(Narrow(here) + "\\");
    std::vector<wchar_t> value(32768);
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD value_len = static_cast<DWORD>(value.size()),
              data_len = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, value.data(), &value_len, nullptr, &type, data.data(),
                          &data_len) != ERROR_SUCCESS)
            break;
        out.insert(Narrow(here) + "|" + Narrow({value.data(), value_len}) + "|" +
                   std::to_string(type) + "|" + Hex(data.data(), data_len));
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(value.size());
        if (RegEnumKeyExW(key, i, value.data(), &len, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.emplace_back(value.data(), len);
    }
    RegCloseKey(key);
    for (const auto& sub : subkeys)
        DumpKey(root, name, path.empty() ? sub : path + L"\\" + sub, out);
}

void DumpFiles(const std::wstring& folder, std::set<std::string>& out) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> folders;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert(Narrow(path) + "\\");
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(path);
        } else {
            const ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            out.insert(Narrow(path) + "|" + std::to_string(size));
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    for (const auto& f : folders) DumpFiles(f, out);
}

// What changes in a Wine prefix whatever the setup does. Each entry is a
// prefix of a snapshot line; keep the list short and say why.
bool IsWineNoise(const std::string& line) {
    static const char* const noise[] = {
        // Wine keeps the system parameters a program reads (the input
        // panel's mouse settings) in a volatile key of its own.
        "HKCU\\Software\\Wine\\Temporary System Parameters",
        // Wine mirrors a Start menu shortcut into the host's menus (in the
        // throw-away HOME) and keeps this record of it after the shortcut
        // is gone; Windows has no such thing.
        "HKCU\\Software\\Wine\\MenuFiles",
    };
    for (const char* n : noise)
        if (line.rfind(n, 0) == 0) return true;
    // Wine's display driver stamps its devices with the time it started.
    return line.rfind("HKLM\\System\\CurrentControlSet\\Control\\", 0) == 0 &&
           line.find("|DriverDateData|") != std::string::npos;
}

std::set<std::string> Snapshot() {
    std::set<std::string> all;
    DumpKey(HKEY_LOCAL_MACHINE, L"HKLM", L"Software", all);
    DumpKey(HKEY_LOCAL_MACHINE, L"HKLM", L"System", all);
    DumpKey(HKEY_CURRENT_USER, L"HKCU", L"", all);
    DumpFiles(L"C:", all);
    std::set<std::string> kept;
    for (const auto& line : all)
        if (!IsWineNoise(line)) kept.insert(line);
    return kept;
}

std::string Difference(const std::set<std::string>& before, const std::set<std::string>& after) {
    std::ostringstream out;
    int n = 0;
    for (const auto& line : after)
        if (!before.count(line) && n++ < 40) out << "  added:   " << line << "\n";
    for (const auto& line : before)
        if (!after.count(line) && n++ < 40) out << "  removed: " << line << "\n";
    return out.str();
}

// ---- reading what the setup made --------------------------------------------

std::wstring RegText(HKEY root, const std::wstring& key, const wchar_t* value) {
    wchar_t buf[2048];
    DWORD size = sizeof(buf);
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"(none)";
    return buf;
}

DWORD RegNumber(HKEY root, const std::wstring& key, const wchar_t* value) {
    DWORD n = 0xDEADBEEF, size = sizeof(n);
    RegGetValueW(root, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &n, &size);
    return n;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// "a.b.c.d" from a file's fixed version block.
std::string FileVersion(const std::string& path) {
    const std::wstring wide = Wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    if (size == 0) return "(no version)";
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) return "(no version)";
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info)
        return "(no version)";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
           std::to_string(LOWORD(info->dwFileVersionLS));
}

std::string ShortcutTarget(const std::string& lnk) {
    std::string target = "(unreadable)";
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = L"";
        if (SUCCEEDED(file->Load(Wide(lnk).c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = Narrow(path);
        file->Release();
    }
    link->Release();
    return target;
}

std::string CommonPrograms() {
    PWSTR path = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_CommonPrograms, 0, nullptr, &path))) return "";
    std::string out = Narrow(path);
    CoTaskMemFree(path);
    return out;
}

std::string LocalAppData() {
    PWSTR path = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path))) return "";
    std::string out = Narrow(path);
    CoTaskMemFree(path);
    return out;
}

// ---- the fixture -------------------------------------------------------------

class Setup : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

    void SetUp() override {
        setup = WindowsPath(Environment("ORVELLE_SETUP_EXE"));
        stage = WindowsPath(Environment("ORVELLE_STAGE_DIR"));
        version = Environment("ORVELLE_VERSION");
        ASSERT_FALSE(setup.empty()) << "ORVELLE_SETUP_EXE names no setup program";
        ASSERT_TRUE(FileExists(setup)) << setup;
    }

    // Runs a program to its end; its exit code, or -1 when it did not end.
    static long long RunToEnd(const std::string& exe, const std::vector<std::string>& args,
                              Millis timeout = 120s) {
        Process p;
        if (!p.Start(exe, args)) return -2;
        auto code = p.Wait(timeout);
        return code ? static_cast<long long>(*code) : -1;
    }
    long long Install() { return RunToEnd(setup, {"/S", "/D=" + kDir}); }
    // "_?=" runs the uninstaller in place and waits for it; it then cannot
    // delete itself, so the test removes what is left of it.
    long long Uninstall(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), "/S");
        extra.push_back("_?=" + kDir);
        const long long code = RunToEnd(kDir + "\\uninstall.exe", extra);
        DeleteFileW(Wide(kDir + "\\uninstall.exe").c_str());
        RemoveDirectoryW(Wide(kDir).c_str());
        return code;
    }

    std::string setup, stage, version;
};

TEST_F(Setup, InstallsStartsAndUninstallsLeavingThePrefixAsItWas) {
    const auto before = Snapshot();
    ASSERT_EQ(Install(), 0);

    // Every staged file, byte for byte, and nothing missing.
    std::set<std::string> staged;
    DumpFiles(Wide(stage), staged);
    int files = 0;
    for (const auto& line : staged) {
        if (line.back() == '\\') continue;
        const std::string rel = line.substr(stage.size() + 1, line.rfind('|') - stage.size() - 1);
        SCOPED_TRACE(rel);
        EXPECT_EQ(ReadAll(kDir + "\\" + rel), ReadAll(stage + "\\" + rel));
        ++files;
    }
    EXPECT_GE(files, 6);  // exe, dll, skin, splash, help, the languages
    for (const char* name : {"orvelle.exe", "ardshred.dll", "winaquas.skn", "Splash.spl",
                             "newhelp.chm", "languages\\English.ini"})
        EXPECT_TRUE(FileExists(kDir + "\\" + name)) << name;
    EXPECT_TRUE(FileExists(kDir + "\\uninstall.exe"));

    // The Start menu entry, for every user.
    EXPECT_EQ(ShortcutTarget(CommonPrograms() + "\\Orvelle.lnk"), kDir + "\\orvelle.exe");

    // The uninstall entry.
    const std::wstring dir = Wide(kDir);
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Orvelle");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), Wide(version));
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Orvelle");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), dir + L"\\orvelle.exe,0");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"), dir);
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
              L"\"" + dir + L"\\uninstall.exe\"");
    EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"),
              L"\"" + dir + L"\\uninstall.exe\" /S");
    const DWORD kb = RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize");
    EXPECT_GT(kb, 100u);
    EXPECT_LT(kb, 100000u);
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"), 1u);
    EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoRepair"), 1u);

    // The health window's uninstall check judges the entry valid.
    {
        auto real = win32::MakePlatform();
        const auto scan = health::ScanUninstall(real->platform, [](std::size_t, std::size_t) {});
        EXPECT_TRUE(std::find(scan.candidates.begin(), scan.candidates.end(), "Orvelle") !=
                    scan.candidates.end());
        for (const auto& stale : scan.stale)
            EXPECT_EQ(stale.key.find("\\Orvelle"), std::string::npos);
    }

    // The shell extension: its class and the handlers for files and folders.
    EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L"CLSID\\" + kClsid + L"\\InprocServer32", nullptr),
              dir + L"\\ardshred.dll");
    EXPECT_EQ(
        RegText(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\ArdenoShredder", nullptr),
        kClsid);
    EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L"Directory\\shellex\\ContextMenuHandlers\\ArdenoShredder",
                      nullptr),
              kClsid);

    // One version everywhere.
    EXPECT_EQ(FileVersion(setup), version);
    EXPECT_EQ(FileVersion(kDir + "\\orvelle.exe"), version);
    EXPECT_EQ(FileVersion(kDir + "\\ardshred.dll"), version);

    // The installed program shows its main window and closes.
    {
        Process program;
        ASSERT_TRUE(program.Start(kDir + "\\orvelle.exe"));
        Window main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main);
        EXPECT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
        EXPECT_EQ(Text(main), "Orvelle");
        EXPECT_TRUE(Close(main));
        EXPECT_TRUE(program.Wait(20s).has_value());
    }

    ASSERT_EQ(Uninstall({"/REMOVESETTINGS=1"}), 0);
    const auto after = Snapshot();
    EXPECT_TRUE(before == after) << Difference(before, after);
}

TEST_F(Setup, AnUninstallKeepsTheUsersSettingsUnlessAskedToRemoveThem) {
    const auto before = Snapshot();
    ASSERT_EQ(Install(), 0);
    // What the program keeps of the user's: the language choice and a backup.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t lng[] = L"English";
    RegSetValueExW(key, L"lng", 0, REG_SZ, reinterpret_cast<const BYTE*>(lng), sizeof(lng));
    RegCloseKey(key);
    const std::string backups = LocalAppData() + "\\Orvelle\\Backups";
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, Wide(backups).c_str(), nullptr), ERROR_SUCCESS);
    const std::string manifest = backups + "\\backup.txt";
    std::ofstream(Wide(manifest).c_str()) << "kept";

    ASSERT_EQ(Uninstall(), 0);
    EXPECT_FALSE(FileExists(kDir));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(RegText(HKEY_CURRENT_USER, kSettingsKey, L"lng"), L"English");
    EXPECT_EQ(ReadAll(manifest), "kept");

    // A second install and an uninstall that is asked to remove them.
    ASSERT_EQ(Install(), 0);
    ASSERT_EQ(Uninstall({"/REMOVESETTINGS=1"}), 0);
    const auto after = Snapshot();
    EXPECT_TRUE(before == after) << Difference(before, after);
}

// Explorer holds the extension while the user updates or removes the
// program: the new file or the removal waits for the restart, and nothing is
// half removed meanwhile. Wine lets a loaded DLL be deleted, so the test
// holds the file the way that refuses deletion on both systems: a handle
// that does not share delete access.
TEST_F(Setup, AShellExtensionInUseIsReplacedAndRemovedAtTheRestart) {
    const auto before = Snapshot();
    ASSERT_EQ(Install(), 0);
    const std::string dll = kDir + "\\ardshred.dll";
    HANDLE held = CreateFileW(Wide(dll).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_FALSE(DeleteFileW(Wide(dll).c_str())) << "the file is not held";

    EXPECT_EQ(Install(), 0) << "installing over an extension in use";
    EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, L"CLSID\\" + kClsid + L"\\InprocServer32", nullptr),
              Wide(dll));

    EXPECT_EQ(Uninstall(), 0);
    // Unregistered and unlisted at once; only the files wait for the restart.
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID\\" + kClsid));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\ArdenoShredder"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(FileExists(CommonPrograms() + "\\Orvelle.lnk"));
    EXPECT_FALSE(FileExists(kDir + "\\orvelle.exe"));
    EXPECT_TRUE(FileExists(dll)) << "the file in use is left for the restart";

    CloseHandle(held);
    EXPECT_EQ(RunToEnd("C:\\windows\\system32\\wineboot.exe", {"-r"}), 0);
    // A slow disk may still be finishing the renames when wineboot returns.
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(dll) && !FileExists(kDir); }, 10s))
        << dll << " or its folder is still there after the restart";
    const auto after = Snapshot();
    EXPECT_TRUE(before == after) << Difference(before, after);
}

}  // namespace
}  // namespace orv::e2e
