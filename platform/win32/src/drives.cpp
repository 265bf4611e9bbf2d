// <windows.h> first: the shell headers rely on what it defines.
#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "machine.h"
#include "platform/win32/platform.h"

namespace orv::win32 {
namespace {

using namespace orv::platform;

// An empty floppy or CD drive makes Windows ask "There is no disk in the
// drive" in a system box of its own; the caller reports it instead.
class NoCriticalErrorBoxes {
  public:
    NoCriticalErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &old_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(old_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

  private:
    DWORD old_ = 0;
};

class Win32Drives : public Drives {
  public:
    std::vector<std::string> LogicalDrives() override {
        std::vector<wchar_t> buf(128);
        for (;;) {
            DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(buf.size()), buf.data());
            if (n == 0) return {};
            if (n < buf.size()) break;
            buf.resize(n + 1);
        }
        std::vector<std::string> out;
        for (const wchar_t* p = buf.data(); *p; p += wcslen(p) + 1) out.push_back(Narrow(p));
        return out;
    }
    std::uint32_t DriveType(std::string_view root) override {
        return GetDriveTypeW(Wide(root).c_str());
    }
    Status FreeSpace(std::string_view path, DiskSpace& space) override {
        NoCriticalErrorBoxes quiet;
        ULARGE_INTEGER avail{}, total{}, free{};
        if (!GetDiskFreeSpaceExW(Wide(path).c_str(), &avail, &total, &free))
            return static_cast<Status>(GetLastError());
        space = {total.QuadPart, free.QuadPart};
        return kSuccess;
    }
    std::uint32_t FormatDrive(std::uintptr_t owner, unsigned drive) override {
        return SHFormatDrive(reinterpret_cast<HWND>(owner), drive, SHFMT_ID_DEFAULT, 0);
    }
    Status StartProgram(std::string_view command_line, int show) override {
        std::wstring cmd = Wide(command_line);  // CreateProcessW may write into it
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(show);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &pi))
            return static_cast<Status>(GetLastError());
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return kSuccess;
    }
};

}  // namespace

std::unique_ptr<Drives> MakeDrives() {
    return std::make_unique<Win32Drives>();
}

}  // namespace orv::win32
