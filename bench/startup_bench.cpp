// Start-up time of Windows programs, from process creation to their main
// window painted, measured side by side: the programs are started in turn,
// round after round, so a machine that slows down slows all of them alike.
//   startup_bench [--rounds N] NAME=COMMAND LINE ...
// The main window is the first visible top-level window of the process that
// is neither topmost (a splash) nor a tool window nor owned; it counts as
// painted when neither it nor any visible child has a pending update region.
// Each program is then closed (WM_CLOSE, or ended after 10 s).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Target {
    std::wstring name;
    std::wstring command;
    std::vector<double> ms;
    int failures = 0;
};

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM lp) {
    auto& s = *reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s.pid || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER)) return TRUE;
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (ex & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW)) return TRUE;
    s.found = hwnd;
    return FALSE;
}

BOOL CALLBACK ChildPending(HWND hwnd, LPARAM lp) {
    if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

bool Painted(HWND hwnd) {
    if (GetUpdateRect(hwnd, nullptr, FALSE)) return false;
    bool pending = false;
    EnumChildWindows(hwnd, ChildPending, reinterpret_cast<LPARAM>(&pending));
    return !pending;
}

double Now() {
    static const double ticks_per_ms = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticks_per_ms;
}

// The folder of the program a command line starts (its first token), so a
// program finds the files beside it.
std::wstring FolderOf(const std::wstring& command) {
    std::wstring exe = command;
    if (!exe.empty() && exe[0] == L'"') {
        exe = exe.substr(1, exe.find(L'"', 1) - 1);
    } else {
        exe = exe.substr(0, exe.find(L' '));
    }
    auto slash = exe.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
}

std::optional<double> StartOnce(const std::wstring& command) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = command;
    std::wstring folder = FolderOf(command);
    const double t0 = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return std::nullopt;
    std::optional<double> took;
    HWND main = nullptr;
    while (Now() - t0 < 30000) {
        Search s{pi.dwProcessId, nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found && Painted(s.found)) {
            took = Now() - t0;
            main = s.found;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Fastest(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int rounds = 7;
    std::vector<Target> targets;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--rounds" && i + 1 < argc) {
            rounds = std::max(1, _wtoi(argv[++i]));
        } else if (auto eq = a.find(L'='); eq != std::wstring::npos) {
            targets.push_back({a.substr(0, eq), a.substr(eq + 1), {}, 0});
        } else {
            std::fwprintf(stderr, L"usage: startup_bench [--rounds N] NAME=COMMAND ...\n");
            return 2;
        }
    }
    if (targets.empty()) return 2;
    // One start of each first, untimed: Wine loads its own DLLs from disk once.
    for (Target& t : targets) StartOnce(t.command);
    for (int r = 0; r < rounds; ++r) {
        for (Target& t : targets) {
            if (auto ms = StartOnce(t.command)) {
                t.ms.push_back(*ms);
                std::wprintf(L"round %d %-10ls %8.1f ms\n", r + 1, t.name.c_str(), *ms);
            } else {
                ++t.failures;
                std::wprintf(L"round %d %-10ls no painted window\n", r + 1, t.name.c_str());
            }
            std::fflush(stdout);
        }
    }
    // The fastest run is the cost with the least interference from the rest of
    // a busy machine; the median is the typical one.
    const double base = Median(targets.front().ms);
    const double base_min = Fastest(targets.front().ms);
    std::wprintf(L"\n%-10ls %10ls %8ls %10ls %8ls %6ls %6ls\n", L"program", L"median ms",
                 L"x first", L"fastest ms", L"x first", L"runs", L"fails");
    for (const Target& t : targets) {
        const double m = Median(t.ms), f = Fastest(t.ms);
        std::wprintf(L"%-10ls %10.1f %8.2f %10.1f %8.2f %6zu %6d\n", t.name.c_str(), m,
                     base > 0 ? m / base : 0.0, f, base_min > 0 ? f / base_min : 0.0, t.ms.size(),
                     t.failures);
    }
    return 0;
}
