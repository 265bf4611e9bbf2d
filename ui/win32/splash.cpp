// The splash: a 24-bit picture in a topmost popup, scaled to the system DPI,
// shown until the first form appears.
#include "gdi.h"
#include "host_impl.h"
#include "ui/automation.h"
#include "ui/image.h"

namespace orv::ui {

using namespace win32;

HBITMAP BitmapFromImage(const DecodedImage& image) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = image.width;
    bi.bmiHeader.biHeight = -image.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return bmp;
    std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
    return bmp;
}

LRESULT CALLBACK NativeHost::Impl::SplashProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* impl = static_cast<Impl*>(CreationPeer(hwnd, msg, lp));
    if (impl && msg == WM_PAINT) {
        PaintDC dc(hwnd);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (impl->splash_bmp) {
            BitmapDC src(dc, impl->splash_bmp);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, rc.right, rc.bottom, src, 0, 0, impl->splash_w, impl->splash_h,
                       SRCCOPY);
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void NativeHost::ShowSplash(const std::string& file_bytes) {
    CloseSplash();
    auto image = DecodeBmp(file_bytes);
    if (!image) return;  // not a picture we can show: no splash, no error
    Impl& im = *impl_;
    im.splash_bmp = BitmapFromImage(*image);
    if (!im.splash_bmp) return;
    im.splash_w = image->width;
    im.splash_h = image->height;
    const int dpi = SystemDpi();
    const int w = ScalePixels(image->width, dpi), h = ScalePixels(image->height, dpi);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    im.splash = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, L"", WS_POPUP,
                                area.left + (area.right - area.left - w) / 2,
                                area.top + (area.bottom - area.top - h) / 2, w, h, nullptr, nullptr,
                                im.instance, &im);
    if (!im.splash) {
        DeleteObject(im.splash_bmp);
        im.splash_bmp = nullptr;
        return;
    }
    im.SetAutomationName(im.splash, automation::kSplashName, "Splash", im.splash_atom, nullptr);
    if (!RunningOnWine()) {
        const int r = ScalePixels(12, dpi);
        SetWindowRgn(im.splash, CreateRoundRectRgn(0, 0, w + 1, h + 1, r, r), FALSE);
    }
    ShowWindow(im.splash, SW_SHOWNOACTIVATE);
    // The load that shows the splash keeps the thread busy: paint it now.
    UpdateWindow(im.splash);
}

void NativeHost::CloseSplash() {
    Impl& im = *impl_;
    if (im.splash) {
        Impl::ReleaseAutomationName(im.splash, im.splash_atom, nullptr);
        DestroyWindow(im.splash);
        im.splash = nullptr;
    }
    if (im.splash_bmp) DeleteObject(im.splash_bmp);
    im.splash_bmp = nullptr;
}

bool NativeHost::SplashShown() const {
    return impl_->splash != nullptr;
}

}  // namespace orv::ui
