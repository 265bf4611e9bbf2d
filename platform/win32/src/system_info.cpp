#include <windows.h>

#include <vector>

#include "machine.h"
#include "platform/win32/platform.h"

namespace orv::win32 {
namespace {

using namespace orv::platform;

class Win32SystemInfo : public SystemInfo {
  public:
    std::optional<std::string> ComputerName() override {
        wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1];
        DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
        if (!GetComputerNameW(buf, &n)) return std::nullopt;
        return Narrow(std::wstring_view(buf, n));
    }
    std::optional<std::string> UserName() override {
        std::vector<wchar_t> buf(257);
        DWORD n = static_cast<DWORD>(buf.size());
        if (!GetUserNameW(buf.data(), &n)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
            buf.resize(n);
            if (!GetUserNameW(buf.data(), &n)) return std::nullopt;
        }
        return Narrow(buf.data());
    }
    std::optional<MemoryFigures> Memory() override {
        MEMORYSTATUSEX m{};
        m.dwLength = sizeof m;
        if (!GlobalMemoryStatusEx(&m)) return std::nullopt;
        return MemoryFigures{m.ullTotalPhys, m.ullTotalPageFile};
    }
    std::optional<OsVersion> Version() override {
        // GetVersionEx answers 6.2 to every program without a manifest that
        // names newer systems; the kernel's own call does not pretend.
        using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        auto fn = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                              reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                        : nullptr;
        if (!fn) return std::nullopt;
        OSVERSIONINFOW v{};
        v.dwOSVersionInfoSize = sizeof v;
        if (fn(&v) != 0) return std::nullopt;
        return OsVersion{v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber, v.dwPlatformId};
    }
    std::uint16_t ProcessorArchitecture() override {
        SYSTEM_INFO si{};
        GetNativeSystemInfo(&si);
        return si.wProcessorArchitecture;
    }
    std::string DecimalSeparator() override {
        wchar_t buf[8];
        int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8);
        if (n <= 1) return ".";
        return Narrow(std::wstring_view(buf, static_cast<std::size_t>(n - 1)));
    }
};

}  // namespace

std::unique_ptr<SystemInfo> MakeSystemInfo() {
    return std::make_unique<Win32SystemInfo>();
}

}  // namespace orv::win32
