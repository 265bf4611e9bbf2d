// The form window's procedure: a switchboard of the messages a form handles,
// each handed to a named handler.
#include "gdi.h"
#include "host_impl.h"

namespace orv::ui {

using namespace win32;

LRESULT CALLBACK NativeHost::Impl::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* fp = static_cast<FormPeer*>(CreationPeer(hwnd, msg, lp));
    if (!fp || !fp->alive || !fp->body.host) return DefWindowProcW(hwnd, msg, wp, lp);
    return fp->body.host->Guarded(
        hwnd, msg, wp, lp, [&] { return fp->body.host->HandleForm(*fp, hwnd, msg, wp, lp); });
}

LRESULT NativeHost::Impl::HandleForm(FormPeer& fp, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // A registered message has no constant to switch on.
    if (msg == skin_click_msg && skin_click_msg != 0) return OnSkinElementRequest(fp, hwnd, wp);
    switch (msg) {
        case WM_CLOSE:
            return OnClose(fp);
        case WM_SYSCOMMAND:
            return OnSysCommand(fp, hwnd, wp, lp);
        case WM_TIMER:
            return OnTimer(fp, wp);
        case kMsgRunSkinElement:
            return OnRunSkinElement(fp);
        case WM_DPICHANGED:
            return OnDpiChanged(fp, hwnd, wp, lp);
        case WM_ACTIVATE:
            return OnActivate(fp, hwnd, wp, lp);
        case WM_ERASEBKGND:
            return OnFormEraseBackground(fp, hwnd, wp, lp);
        case WM_PAINT:
            return OnFormPaint(fp, hwnd);
        case WM_NCHITTEST:
            return OnNcHitTest(fp, hwnd, wp, lp);
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return OnFormMouse(fp, hwnd, msg, wp, lp);
        case WM_SETTEXT:
            return OnFormSetText(fp, hwnd, wp, lp);
        case WM_NCDESTROY:
            return OnFormNcDestroy(fp, hwnd, wp, lp);
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT NativeHost::Impl::OnClose(FormPeer& fp) {
    host.Run([&] { host.CloseForm(*fp.form); }, fp.form->Name());
    return 0;
}

LRESULT NativeHost::Impl::OnTimer(FormPeer& fp, WPARAM id) {
    auto it = fp.timers.find(id);
    if (it == fp.timers.end()) return 0;
    auto& timer = static_cast<Timer&>(*it->second);
    if (timer.Enabled() && timer.onTimer) timer.Owner().Fire(timer.onTimer);
    return 0;
}

// Moved to a screen of another DPI: fonts and layout again, at the size and
// place Windows suggests.
LRESULT NativeHost::Impl::OnDpiChanged(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    fp.dpi = std::max(1, static_cast<int>(HIWORD(wp)));
    PublishDpi(hwnd, fp.dpi);
    ApplyFonts(fp);
    LayoutForm(fp, reinterpret_cast<RECT*>(lp));
    for (auto& [c, v] : fp.views) LayoutView(fp, *v);
    DirtyBackgrounds(fp, nullptr);
    return 0;
}

// A skinned form paints all of its client area itself.
LRESULT NativeHost::Impl::OnFormEraseBackground(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    return fp.skinned ? 1 : DefWindowProcW(hwnd, WM_ERASEBKGND, wp, lp);
}

LRESULT NativeHost::Impl::OnFormPaint(FormPeer& fp, HWND hwnd) {
    PaintDC dc(hwnd);
    if (fp.skinned) PaintCaptionBar(fp, dc);
    return 0;
}

// Destroyed behind the host's back (end of session): forget it.
LRESULT NativeHost::Impl::OnFormNcDestroy(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (fp.hwnd == hwnd) {
        fp.hwnd = nullptr;
        fp.form->SetHandle(0);
    }
    return DefWindowProcW(hwnd, WM_NCDESTROY, wp, lp);
}

}  // namespace orv::ui
