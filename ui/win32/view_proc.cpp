// The procedures of the host's own view windows (a form's body, frames,
// labels, pictures...) and of the subclass on owner-drawn buttons and tab
// strips. A view that holds children also hears what they report.
#include "control_family.h"
#include "gdi.h"

namespace orv::ui {

using namespace win32;

LRESULT CALLBACK NativeHost::Impl::ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* v = static_cast<ViewPeer*>(CreationPeer(hwnd, msg, lp));
    if (!v || !v->host || !v->form->alive) return DefWindowProcW(hwnd, msg, wp, lp);
    return v->host->Guarded(hwnd, msg, wp, lp,
                            [&] { return v->host->HandleView(*v, hwnd, msg, wp, lp); });
}

LRESULT NativeHost::Impl::HandleView(ViewPeer& v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            return OnChildCommand(v, hwnd, wp, lp);
        case WM_NOTIFY:
            return OnChildNotify(v, hwnd, wp, lp);
        case WM_HSCROLL:
        case WM_VSCROLL:
            return OnChildScroll(v, hwnd, msg, wp, lp);
        case WM_DRAWITEM:
            return OnDrawItem(v, hwnd, wp, lp);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(v, hwnd, msg, wp, lp);
        case kMsgSyncRows:
            return OnSyncRows(lp);
        case kMsgSyncListView:
            return OnSyncListView(lp);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers everything
        case WM_PAINT:
            return OnViewPaint(v, hwnd);
        case WM_PRINTCLIENT:
            return OnPrintClient(v, wp);
        case WM_SETFONT:
            return OnViewSetFont(v, hwnd, wp, lp);
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(v.font);
        case WM_SETTEXT:
            return OnViewSetText(hwnd, wp, lp);
        case WM_ENABLE:
            return OnViewEnable(hwnd, wp, lp);
        // BM_CLICK lets automation click labels, frames and pictures as it
        // clicks buttons.
        case WM_LBUTTONUP:
        case BM_CLICK:
            return OnViewClickMessage(v);
        case WM_SIZE:
            return OnViewSize(v, hwnd, wp, lp);
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT NativeHost::Impl::OnChildCommand(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp) {
    ViewPeer* child = ChildOf(v, reinterpret_cast<HWND>(lp));
    if (!child) return DefWindowProcW(hwnd, WM_COMMAND, wp, lp);
    OnCommand(*child, HIWORD(wp));
    return 0;
}

LRESULT NativeHost::Impl::OnChildNotify(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp) {
    auto* nm = reinterpret_cast<NMHDR*>(lp);
    ViewPeer* child = nm ? ChildOf(v, nm->hwndFrom) : nullptr;
    if (!child) return DefWindowProcW(hwnd, WM_NOTIFY, wp, lp);
    OnNotify(*child, *nm);
    return 0;
}

LRESULT NativeHost::Impl::OnChildScroll(ViewPeer&, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
    if (!child || !child->control) return DefWindowProcW(hwnd, msg, wp, lp);
    OnScroll(*child, LOWORD(wp));
    return 0;
}

LRESULT NativeHost::Impl::OnDrawItem(ViewPeer&, HWND hwnd, WPARAM wp, LPARAM lp) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    ViewPeer* child = di ? ViewOf(di->hwndItem) : nullptr;
    if (child && child->control &&
        FamilyOf(child->control->GetKind()).DrawItem(*this, *child, *di)) {
        return TRUE;
    }
    return DefWindowProcW(hwnd, WM_DRAWITEM, wp, lp);
}

LRESULT NativeHost::Impl::OnSyncRows(LPARAM lp) {
    ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
    if (child && child->control && child->control->GetKind() == Kind::ListView &&
        child->rows_pending) {
        SyncRows(*this, *child);
    }
    return 0;
}

LRESULT NativeHost::Impl::OnSyncListView(LPARAM lp) {
    ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
    if (child && child->control && child->control->GetKind() == Kind::ListView) {
        SyncListViewSelection(*this, *child);
    }
    return 0;
}

void NativeHost::Impl::PaintView(ViewPeer& v, HDC dc) {
    RECT rc;
    GetClientRect(v.hwnd, &rc);
    if (v.IsContainerView()) {
        EnsureBackground(v);
        BitmapDC src(dc, v.bg);
        BitBlt(dc, 0, 0, rc.right, rc.bottom, src, 0, 0, SRCCOPY);
        return;
    }
    MemoryDC mem(dc, rc);
    SelectObjectGuard font(mem, v.font ? v.font : Font(*v.form, DefaultFont()));
    FamilyOf(v.control->GetKind()).Paint(*this, v, mem, rc);
}

LRESULT NativeHost::Impl::OnViewPaint(ViewPeer& v, HWND hwnd) {
    PaintDC dc(hwnd);
    PaintView(v, dc);
    return 0;
}

LRESULT NativeHost::Impl::OnPrintClient(ViewPeer& v, WPARAM wp) {
    PaintView(v, reinterpret_cast<HDC>(wp));
    return 0;
}

LRESULT NativeHost::Impl::OnViewEnable(HWND hwnd, WPARAM wp, LPARAM lp) {
    InvalidateRect(hwnd, nullptr, TRUE);
    return DefWindowProcW(hwnd, WM_ENABLE, wp, lp);
}

LRESULT NativeHost::Impl::OnViewSetFont(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp) {
    v.font = reinterpret_cast<HFONT>(wp);
    if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT NativeHost::Impl::OnViewSetText(HWND hwnd, WPARAM wp, LPARAM lp) {
    LRESULT r = DefWindowProcW(hwnd, WM_SETTEXT, wp, lp);
    InvalidateRect(hwnd, nullptr, TRUE);
    return r;
}

LRESULT NativeHost::Impl::OnViewClickMessage(ViewPeer& v) {
    if (v.control) OnViewClick(v);
    return 0;
}

// The body's size is the window's: its background is drawn again.
LRESULT NativeHost::Impl::OnViewSize(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (&v == &v.form->body) DirtyBackgrounds(*v.form, nullptr);
    return DefWindowProcW(hwnd, WM_SIZE, wp, lp);
}

LRESULT CALLBACK NativeHost::Impl::HoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR data) {
    auto* v = reinterpret_cast<ViewPeer*>(data);
    if (v->control && v->control->GetKind() == Kind::TabStrip) {
        if (msg == WM_ERASEBKGND && v->form->alive) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            v->host->FillParentBackground(hwnd, reinterpret_cast<HDC>(wp), rc);
            return 1;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!v->hover) {
                v->hover = true;
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&tme);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            v->hover = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_ERASEBKGND:
            return 1;  // WM_DRAWITEM paints everything
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace orv::ui
