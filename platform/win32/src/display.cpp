#include <windows.h>

#include <vector>

#include "machine.h"
#include "platform/win32/platform.h"

namespace orv::win32 {
namespace {

using namespace orv::platform;

class Win32Display : public Display {
  public:
    bool EnumMode(std::uint32_t index, DisplayMode& mode) override {
        DEVMODEW dm{};
        dm.dmSize = sizeof dm;
        if (!EnumDisplaySettingsW(nullptr, index, &dm)) return false;
        mode = {dm.dmPelsWidth, dm.dmPelsHeight, dm.dmBitsPerPel, dm.dmDisplayFrequency};
        return true;
    }
    std::int32_t ChangeMode(std::uint32_t width, std::uint32_t height) override {
        // Only the size is named: depth and frequency stay what the display
        // has, so the change cannot fail for a field nobody asked for.
        DEVMODEW dm{};
        dm.dmSize = sizeof dm;
        dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        dm.dmPelsWidth = width;
        dm.dmPelsHeight = height;
        return ChangeDisplaySettingsW(&dm, 0);
    }
    std::uint32_t GetSysColor(int index) override {
        if (index < 0 || index >= kColorCount) return 0;
        return ::GetSysColor(index);
    }
    bool SetSysColors(std::span<const int> indices,
                      std::span<const std::uint32_t> colors) override {
        if (indices.size() != colors.size()) return false;
        for (int i : indices)
            if (i < 0 || i >= kColorCount) return false;
        std::vector<COLORREF> c(colors.begin(), colors.end());
        return ::SetSysColors(static_cast<int>(indices.size()), indices.data(), c.data()) != 0;
    }
    bool SetWallpaper(std::string_view path) override {
        std::wstring w = Wide(path);
        return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, w.data(),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
    }
    std::optional<bool> GetFontSmoothing() override {
        BOOL on = FALSE;
        if (!SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &on, 0)) return std::nullopt;
        return on != FALSE;
    }
    bool SetFontSmoothing(bool on) override {
        return SystemParametersInfoW(SPI_SETFONTSMOOTHING, on ? TRUE : FALSE, nullptr,
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
    }
};

}  // namespace

std::unique_ptr<Display> MakeDisplay() {
    return std::make_unique<Win32Display>();
}

}  // namespace orv::win32
