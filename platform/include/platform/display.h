// System parameters and display: display modes, the system colours, the
// desktop wallpaper and font smoothing. Results keep their Win32 meaning:
// ChangeMode returns the DISP_CHANGE_* code, so a refused mode can be told
// from a changed one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv::platform {

// ChangeDisplaySettings results.
inline constexpr std::int32_t kDispChangeSuccessful = 0;
inline constexpr std::int32_t kDispChangeRestart = 1;
inline constexpr std::int32_t kDispChangeFailed = -1;
inline constexpr std::int32_t kDispChangeBadMode = -2;

// GetSysColor indices the program uses.
inline constexpr int kColorScrollbar = 0;
inline constexpr int kColorDesktop = 1;
inline constexpr int kColorCount = 31;

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bits_per_pixel = 0;
    std::uint32_t frequency = 0;
};

class Display {
  public:
    virtual ~Display() = default;
    // EnumDisplaySettings of the primary display; false past the last mode.
    virtual bool EnumMode(std::uint32_t index, DisplayMode& mode) = 0;
    // ChangeDisplaySettings with width and height only, flags 0 (for this
    // session, not stored).
    virtual std::int32_t ChangeMode(std::uint32_t width, std::uint32_t height) = 0;
    // 0x00BBGGRR; an index outside 0..30 gives 0, as GetSysColor does.
    virtual std::uint32_t GetSysColor(int index) = 0;
    // SetSysColors: all or nothing; false (and nothing changed) for an index
    // outside 0..30.
    virtual bool SetSysColors(std::span<const int> indices,
                              std::span<const std::uint32_t> colors) = 0;
    // SPI_SETDESKWALLPAPER with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE: the
    // value HKCU\Control Panel\Desktop\Wallpaper follows.
    virtual bool SetWallpaper(std::string_view path) = 0;
    // SPI_GETFONTSMOOTHING; nothing when the call fails.
    virtual std::optional<bool> GetFontSmoothing() = 0;
    // SPI_SETFONTSMOOTHING, stored in the profile and broadcast.
    virtual bool SetFontSmoothing(bool on) = 0;
};

}  // namespace orv::platform
