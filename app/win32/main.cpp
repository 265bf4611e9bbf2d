// The Windows entry point: the real platform and the native host under the
// program. Everything else happens in the main window's load and handlers.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "app/program.h"
#include "app/startup_trace.h"
#include "platform/win32/platform.h"
#include "ui/native_host.h"

// Last: <windows.h> defines MessageBox as a macro, which must not rename the
// host's member of that name in the declarations above.
#include <windows.h>

#include "ole_apartment.h"

namespace {

// ORVELLE_STARTUP_TRACE=<file>: each start-up point is appended to the file
// as the milliseconds since the process was created and its label. The last
// point, "painted", is the first timer message: Windows delivers WM_TIMER only
// once no window of the thread is waiting to be painted.
class StartupTraceFile {
  public:
    StartupTraceFile() {
        wchar_t path[MAX_PATH];
        DWORD n = GetEnvironmentVariableW(L"ORVELLE_STARTUP_TRACE", path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        path_ = path;
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        created_ = Ticks(created);
        orv::app::SetStartupTrace([this](std::string_view point) { Add(point); });
        Add("entry");
        self_ = this;
    }
    // Marks "painted" at the first timer message from now on (at least 10 ms
    // later: the trace is an upper bound there).
    void AwaitPainted() {
        if (!path_.empty()) SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &StartupTraceFile::OnPainted);
    }
    ~StartupTraceFile() {
        if (path_.empty()) return;
        orv::app::SetStartupTrace(nullptr);
        self_ = nullptr;
        Flush();
    }
    StartupTraceFile(const StartupTraceFile&) = delete;
    StartupTraceFile& operator=(const StartupTraceFile&) = delete;

  private:
    static std::uint64_t Ticks(FILETIME t) {
        return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
    }
    void Add(std::string_view point) {
        FILETIME now;
        GetSystemTimePreciseAsFileTime(&now);
        char line[160];
        std::snprintf(line, sizeof line, "%9.1f ms  %.*s\r\n",
                      static_cast<double>(Ticks(now) - created_) / 10000.0,
                      static_cast<int>(point.size()), point.data());
        text_ += line;
    }
    void Flush() {
        HANDLE h = CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(h, text_.data(), static_cast<DWORD>(text_.size()), &written, nullptr);
        CloseHandle(h);
        text_.clear();
    }
    static void CALLBACK OnPainted(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (!self_) return;
        self_->Add("painted");
        self_->Flush();
    }

    static inline StartupTraceFile* self_ = nullptr;
    std::wstring path_;
    std::uint64_t created_ = 0;
    std::string text_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        StartupTraceFile trace;
        // Before the first window and balanced after the last one is gone.
        orv::app::OleApartment apartment;
        orv::app::TraceStartup("OLE initialised");
        std::unique_ptr<orv::win32::RealPlatform> real = orv::win32::MakePlatform();
        orv::app::TraceStartup("platform");
        orv::ui::NativeHost host;
        orv::app::TraceStartup("native host (common controls, window classes)");
        orv::app::Program program(host, real->platform);
        // A second copy ends here without having shown anything.
        if (!program.Start()) return 0;
        orv::app::TraceStartup("shown (load done, window shown and updated)");
        trace.AwaitPainted();
        return host.RunMessageLoop();
    } catch (const std::exception& e) {
        // Only the set-up itself can get here (handlers run inside the host's
        // guard): without a platform or a host there is no window to keep.
        std::wstring text = L"Orvelle could not start:\n" + orv::win32::Wide(e.what());
        MessageBoxW(nullptr, text.c_str(), L"Orvelle", MB_OK | MB_ICONERROR);
        return 1;
    }
}
