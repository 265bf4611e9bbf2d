#include "processes.h"

#include <windows.h>

#include <tlhelp32.h>

#include "platform/win32/platform.h"

namespace orv::win32 {

using namespace orv::platform;

namespace {

HANDLE H(ProcessHandle h) {
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(h));
}

std::int64_t Ticks(const FILETIME& ft) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) |
                                     ft.dwLowDateTime);
}

// A BOOL result as a status: the thread's last error on failure, never a
// success code for a call that failed.
Status Result(BOOL ok) {
    if (ok) return kSuccess;
    DWORD e = GetLastError();
    return e ? static_cast<Status>(e) : kInvalidParameter;
}

class Win32Processes : public Processes {
  public:
    Status SnapshotProcesses(std::vector<ProcessEntry>& out) override {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
        if (snap == INVALID_HANDLE_VALUE) return Result(FALSE);
        out.clear();
        PROCESSENTRY32W pe{};
        pe.dwSize = sizeof pe;
        for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
            // szExeFile is cut at its first NUL and never read past its array.
            std::size_t n = 0;
            while (n < MAX_PATH && pe.szExeFile[n]) ++n;
            out.push_back({pe.th32ProcessID, pe.th32ParentProcessID, pe.cntThreads,
                           Narrow(std::wstring_view(pe.szExeFile, n))});
            pe.dwSize = sizeof pe;
        }
        ::CloseHandle(snap);
        return kSuccess;
    }
    Status OpenProcess(std::uint32_t access, std::uint32_t id, ProcessHandle& out) override {
        HANDLE h = ::OpenProcess(access, FALSE, id);
        if (!h) return Result(FALSE);
        out = static_cast<ProcessHandle>(reinterpret_cast<std::uintptr_t>(h));
        return kSuccess;
    }
    Status GetExitCode(ProcessHandle process, std::uint32_t& code) override {
        DWORD c = 0;
        Status st = Result(GetExitCodeProcess(H(process), &c));
        if (st == kSuccess) code = c;
        return st;
    }
    Status Terminate(ProcessHandle process, std::uint32_t exit_code) override {
        return Result(TerminateProcess(H(process), exit_code));
    }
    Status CreationTime(ProcessHandle process, std::int64_t& time) override {
        FILETIME created{}, exited{}, kernel{}, user{};
        Status st = Result(GetProcessTimes(H(process), &created, &exited, &kernel, &user));
        if (st == kSuccess) time = Ticks(created);
        return st;
    }
    Status CloseHandle(ProcessHandle process) override { return Result(::CloseHandle(H(process))); }
    Status GetMemoryStatus(MemoryStatus& out) override {
        MEMORYSTATUSEX ms{};
        ms.dwLength = sizeof ms;
        Status st = Result(GlobalMemoryStatusEx(&ms));
        if (st != kSuccess) return st;
        out = {ms.dwMemoryLoad,     ms.ullTotalPhys,    ms.ullAvailPhys,   ms.ullTotalPageFile,
               ms.ullAvailPageFile, ms.ullTotalVirtual, ms.ullAvailVirtual};
        return kSuccess;
    }
    void GetSystemInfo(SystemInfoRecord& out) override {
        SYSTEM_INFO si{};
        ::GetSystemInfo(&si);
        out = {si.dwNumberOfProcessors, si.dwPageSize, si.wProcessorArchitecture};
    }
    Status GetVersion(VersionRecord& out) override {
        OSVERSIONINFOW vi{};
        vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Status st = Result(GetVersionExW(&vi));
#pragma GCC diagnostic pop
        if (st != kSuccess) return st;
        std::size_t n = 0;
        while (n < 128 && vi.szCSDVersion[n]) ++n;
        out = {vi.dwMajorVersion, vi.dwMinorVersion, vi.dwBuildNumber, vi.dwPlatformId,
               Narrow(std::wstring_view(vi.szCSDVersion, n))};
        return kSuccess;
    }
    Status GetProcessorTimes(ProcessorTimes& out) override {
        FILETIME idle{}, kernel{}, user{};
        Status st = Result(GetSystemTimes(&idle, &kernel, &user));
        if (st == kSuccess) out = {Ticks(idle), Ticks(kernel), Ticks(user)};
        return st;
    }
    std::string ThousandsSeparator() override {
        wchar_t sep[8] = {};
        int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
        if (n <= 1) return ",";
        return Narrow(std::wstring_view(sep, static_cast<std::size_t>(n - 1)));
    }
};

}  // namespace

std::unique_ptr<Processes> MakeProcesses() {
    return std::make_unique<Win32Processes>();
}

}  // namespace orv::win32
