// The health scans against the system's own tools, side by side in one run
// under Wine (or Windows): the uninstall and application-path scans over
// 10,000 seeded keys against `reg query /s` of the same keys, the shortcut
// walk over 100,000 files against `cmd /c dir /s /b` of the same tree, and
// the backup of 10,000 keys. Run it in a throw-away prefix with a drive of
// its own: it writes to HKLM and fills the folder it is given.
//   health_bench.exe T:\bench
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "health/backup.h"
#include "health/scans.h"
#include "platform/win32/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double RunCommand(const std::wstring& command) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE nul =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);
    si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    std::wstring line = command;
    auto start = Clock::now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double s = Seconds(start);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(nul);
    return s;
}

void SeedKeys(const std::wstring& parent, int count, const wchar_t* name,
              const std::wstring& data) {
    for (int i = 0; i < count; ++i) {
        HKEY h = nullptr;
        std::wstring key = parent + L"\\OrvBench" + std::to_wstring(i);
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr);
        RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * 2));
        RegSetValueExW(h, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Bench"), 12);
        RegCloseKey(h);
    }
}

void SeedTree(const std::wstring& root, int files) {
    // A tree left by an earlier run is measured again as it is.
    if (!CreateDirectoryW(root.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS) return;
    const int per_folder = 100;
    for (int f = 0; f * per_folder < files; ++f) {
        std::wstring dir = root + L"\\d" + std::to_wstring(f / 10);
        CreateDirectoryW(dir.c_str(), nullptr);
        dir += L"\\s" + std::to_wstring(f);
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int i = 0; i < per_folder; ++i) {
            std::wstring file = dir + L"\\f" + std::to_wstring(i) + (i % 10 ? L".txt" : L".lnk");
            HANDLE h =
                CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            CloseHandle(h);
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace orv;
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: health_bench FOLDER (an empty folder on a drive of its own)\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int keys = 10000, files = 100000;
    auto real = win32::MakePlatform();
    platform::Platform& p = real->platform;
    const health::Progress none = [](std::size_t, std::size_t) {};

    const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    const std::wstring app_paths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
    SeedKeys(uninstall, keys, L"UninstallString", L"C:\\windows\\notepad.exe");
    SeedKeys(app_paths, keys, L"", L"C:\\windows\\notepad.exe");
    std::printf("| What | Orvelle | System tool |\n|---|---|---|\n");

    auto t = Clock::now();
    auto u = health::ScanUninstall(p, none);
    double ours = Seconds(t);
    double theirs = RunCommand(L"reg query \"HKLM\\" + uninstall + L"\" /s");
    std::printf("| uninstall scan, %zu keys | %.2f s | %.2f s (reg query /s) |\n",
                u.candidates.size(), ours, theirs);

    t = Clock::now();
    auto a = health::ScanAppPaths(p, none);
    ours = Seconds(t);
    theirs = RunCommand(L"reg query \"HKLM\\" + app_paths + L"\" /s");
    std::printf("| application-path scan, %zu keys | %.2f s | %.2f s (reg query /s) |\n",
                a.candidates.size(), ours, theirs);

    std::vector<health::Removal> removals;
    for (const auto& name : u.candidates) {
        health::Removal r;
        r.kind = health::Removal::Kind::kKeyTree;
        r.root = platform::kLocalMachine;
        r.key = win32::Narrow(uninstall) + "\\" + name;
        removals.push_back(std::move(r));
    }
    health::BackupStore store(p);
    health::BackupInfo info;
    t = Clock::now();
    platform::Status st = store.Write("Bench", removals, info);
    std::printf("| backup of %zu keys | %.2f s (status %d) | |\n", removals.size(), Seconds(t),
                static_cast<int>(st));

    SeedTree(folder, files);
    const std::string root = win32::Narrow(folder);
    t = Clock::now();
    std::size_t listed = 0;
    health::ScanShortcuts(p, root, [&](const std::string&) { ++listed; });
    std::printf("| (first walk, cold: %zu folders) | %.2f s | |\n", listed, Seconds(t));
    t = Clock::now();
    auto s = health::ScanShortcuts(p, root, [](const std::string&) {});
    ours = Seconds(t);
    theirs = RunCommand(L"cmd /c dir /s /b \"" + folder + L"\"");
    std::printf("| shortcut walk, %d files (%zu shortcuts) | %.2f s | %.2f s (dir /s /b) |\n",
                files, s.candidates.size(), ours, theirs);
    return 0;
}
