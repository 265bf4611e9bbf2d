// A measurement, not a test: the processor time orvelle.exe spends over a
// minute with the monitor showing at its fastest speed, against Wine's own
// taskmgr.exe showing its performance page over the same minute.
//   orvelle_monitor_cpu [seconds]   (ORVELLE_EXE names the program)
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/driver.h"

namespace {

double CpuSeconds(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h) return -1;
    FILETIME c, e, k, u;
    double s = -1;
    if (GetProcessTimes(h, &c, &e, &k, &u)) {
        auto t = [](FILETIME f) {
            return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) |
                                       f.dwLowDateTime) /
                   1e7;
        };
        s = t(k) + t(u);
    }
    CloseHandle(h);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orv::e2e;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    Process orvelle, taskmgr;
    if (!orvelle.Start(WindowsPath(Environment("ORVELLE_EXE")))) return 1;
    Window main = FindForm("mainform", 30s, orvelle.Id());
    if (!main) return 2;
    WaitUntil([&] { return Visible(main); }, 10s);
    if (!Click(FindControl(main, "cpucmd"))) return 5;
    Window speed = FindControl(main, "Slider2");
    WaitUntil([&] { return Visible(speed); }, 5s);
    if (!SetPosition(speed, 1000)) return 6;
    if (!taskmgr.Start("C:\\windows\\system32\\taskmgr.exe")) return 3;
    HWND tm = nullptr;
    WaitUntil([&] { return (tm = FindWindowW(nullptr, L"Task Manager")) != nullptr; }, 10s);
    HWND tabs = tm ? FindWindowExW(tm, nullptr, WC_TABCONTROLW, nullptr) : nullptr;
    if (!tabs) return 4;
    SendMessageW(tabs, TCM_SETCURFOCUS, 2, 0);  // Applications, Processes, Performance
    Sleep(2000);
    const double o0 = CpuSeconds(orvelle.Id()), t0 = CpuSeconds(taskmgr.Id());
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const double o1 = CpuSeconds(orvelle.Id()), t1 = CpuSeconds(taskmgr.Id());
    std::printf("over %d s: orvelle.exe %.2f s of processor time, taskmgr.exe %.2f s\n", seconds,
                o1 - o0, t1 - t0);
    return 0;
}
