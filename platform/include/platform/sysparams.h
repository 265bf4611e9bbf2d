// System parameters and the session: SystemParametersInfo for the keyboard,
// mouse and menu values the tweak panels use, the double-click time, log-off,
// and the broadcast that tells running programs a setting changed.
#pragma once

#include <cstdint>
#include <string_view>

namespace orv::platform {

// SystemParametersInfo actions (their Win32 numbers).
inline constexpr std::uint32_t kSpiGetKeyboardSpeed = 0x000A;
inline constexpr std::uint32_t kSpiSetKeyboardSpeed = 0x000B;
inline constexpr std::uint32_t kSpiGetKeyboardDelay = 0x0016;
inline constexpr std::uint32_t kSpiSetKeyboardDelay = 0x0017;
inline constexpr std::uint32_t kSpiSetMouseButtonSwap = 0x0021;
inline constexpr std::uint32_t kSpiSetMouseTrails = 0x005D;
inline constexpr std::uint32_t kSpiGetMouseTrails = 0x005E;
inline constexpr std::uint32_t kSpiGetWheelScrollLines = 0x0068;
inline constexpr std::uint32_t kSpiSetWheelScrollLines = 0x0069;
inline constexpr std::uint32_t kSpiGetMenuShowDelay = 0x006A;
inline constexpr std::uint32_t kSpiSetMenuShowDelay = 0x006B;
inline constexpr std::uint32_t kSpiGetMouseSpeed = 0x0070;
inline constexpr std::uint32_t kSpiSetMouseSpeed = 0x0071;

// fWinIni flags: store in the user profile, then broadcast WM_SETTINGCHANGE.
inline constexpr std::uint32_t kSpifUpdateIniFile = 0x01;
inline constexpr std::uint32_t kSpifSendChange = 0x02;

// ExitWindowsEx flags.
inline constexpr std::uint32_t kEwxLogOff = 0x00;
inline constexpr std::uint32_t kEwxForce = 0x04;

class SystemParameters {
  public:
    virtual ~SystemParameters() = default;
    // A "get" action whose pointer argument receives one UINT; false when
    // the call fails (`value` is then left alone).
    virtual bool GetInt(std::uint32_t action, int& value) = 0;
    // A "set" action. `pv` is handed over as the pointer argument itself:
    // SPI_SETMOUSESPEED takes its value there, the other set actions used
    // here ignore it and get 0.
    virtual bool Set(std::uint32_t action, std::uint32_t ui_param, std::uintptr_t pv,
                     std::uint32_t flags) = 0;
    virtual std::uint32_t GetDoubleClickTime() = 0;
    // The new time holds for every program of the session at once; it is not
    // stored in the profile (DoubleClickSpeed is the caller's to write).
    virtual bool SetDoubleClickTime(std::uint32_t ms) = 0;
    // ExitWindowsEx. True means the request was accepted; the session ends
    // later, with WM_QUERYENDSESSION/WM_ENDSESSION to every window.
    virtual bool ExitSession(std::uint32_t flags, std::uint32_t reason) = 0;
    // WM_SETTINGCHANGE to every top-level window; `area` ("" for none) is
    // the section text the message carries ("Policies", "intl", ...).
    virtual void BroadcastSettingChange(std::string_view area) = 0;
};

}  // namespace orv::platform
