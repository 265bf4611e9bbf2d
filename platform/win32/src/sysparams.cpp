#include <windows.h>

#include "groups.h"
#include "platform/win32/platform.h"

namespace orv::win32::detail {

using namespace orv::platform;

namespace {

class Win32SystemParameters : public SystemParameters {
  public:
    bool GetInt(std::uint32_t action, int& value) override {
        UINT v = 0;
        if (!SystemParametersInfoW(action, 0, &v, 0)) return false;
        value = static_cast<int>(v);
        return true;
    }
    bool Set(std::uint32_t action, std::uint32_t ui_param, std::uintptr_t pv,
             std::uint32_t flags) override {
        return SystemParametersInfoW(action, ui_param, reinterpret_cast<void*>(pv), flags) != 0;
    }
    std::uint32_t GetDoubleClickTime() override { return ::GetDoubleClickTime(); }
    bool SetDoubleClickTime(std::uint32_t ms) override { return ::SetDoubleClickTime(ms) != 0; }
    bool ExitSession(std::uint32_t flags, std::uint32_t reason) override {
        return ExitWindowsEx(flags, reason) != 0;
    }
    void BroadcastSettingChange(std::string_view area) override {
        // With a timeout, so that one hung window cannot stop the program.
        std::wstring text = Wide(area);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                            reinterpret_cast<LPARAM>(area.empty() ? nullptr : text.c_str()),
                            SMTO_ABORTIFHUNG, 1000, &result);
    }
};

}  // namespace

std::unique_ptr<SystemParameters> MakeSystemParameters() {
    return std::make_unique<Win32SystemParameters>();
}

}  // namespace orv::win32::detail
