// DPI look-ups. The per-window and per-system functions arrived with
// Windows 10 and Wine may lack them: they are looked up once, and the screen
// DC's LOGPIXELSY stands in where they are missing.
#include "gdi.h"
#include "host_impl.h"

namespace orv::ui {
namespace {

struct DpiApi {
    UINT(WINAPI* for_window)(HWND) = nullptr;
    UINT(WINAPI* for_system)() = nullptr;
    BOOL(WINAPI* set_context)(HANDLE) = nullptr;
    BOOL(WINAPI* set_aware)() = nullptr;
    DpiApi() {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        if (!user) return;
        for_window = reinterpret_cast<UINT(WINAPI*)(HWND)>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
        for_system = reinterpret_cast<UINT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
        set_context = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
        set_aware = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
    }
};

const DpiApi& Dpi() {
    static const DpiApi api;
    return api;
}

int ScreenDpi() {
    win32::WindowDC dc(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int SystemDpi() {
    if (Dpi().for_system) {
        UINT d = Dpi().for_system();
        if (d) return static_cast<int>(d);
    }
    return ScreenDpi();
}

int WindowDpi(HWND hwnd) {
    if (hwnd && Dpi().for_window) {
        UINT d = Dpi().for_window(hwnd);
        if (d) return static_cast<int>(d);
    }
    return ScreenDpi();
}

void RequestPerMonitorDpi() {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; harmless when the manifest
    // set it already.
    if (Dpi().set_context) {
        Dpi().set_context(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)));
    } else if (Dpi().set_aware) {
        Dpi().set_aware();
    }
}

bool RunningOnWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

}  // namespace orv::ui
