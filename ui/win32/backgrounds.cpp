// Container backgrounds. The body and each frame keep a bitmap of what they
// show behind their children (skin fill, frame outline and caption, the
// container they sit in); children that blend in (labels, check boxes, tab
// strips, owner-drawn buttons) copy their part of it. The bitmap is redrawn
// only when marked dirty or resized.
#include "control_family.h"
#include "gdi.h"
#include "paint.h"

namespace orv::ui {

using namespace win32;

void NativeHost::Impl::DirtyBackgrounds(FormPeer& fp, ViewPeer* from) {
    auto inside = [&](Control* c) {
        if (!from) return true;
        for (Control* p = c; p; p = p->Container()) {
            if (p == from->control) return true;
        }
        return false;
    };
    if (!from) fp.body.bg_dirty = true;
    for (auto& [c, v] : fp.views) {
        if (IsContainer(c) && inside(c)) v->bg_dirty = true;
    }
    HWND target = from ? from->hwnd : fp.body.hwnd;
    if (target)
        RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (!from && fp.hwnd) InvalidateRect(fp.hwnd, nullptr, FALSE);
}

void NativeHost::Impl::RenderBackground(ViewPeer& v, HDC dc, int w, int h) {
    FormPeer& fp = *v.form;
    RECT all{0, 0, w, h};
    if (&v == &fp.body) {
        if (fp.skinned) {
            PaintFill(dc, all, fp.skin->GetFill("body.fill", *ParseFill("#F0F0F0")));
        } else {
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        }
        return;
    }
    // A frame shows its container's background around and through itself.
    ViewPeer* pv = ViewOf(GetParent(v.hwnd));
    if (pv && pv->IsContainerView()) {
        EnsureBackground(*pv);
        RECT me = RectInParent(v.hwnd, pv->hwnd);
        BitmapDC src(dc, pv->bg);
        BitBlt(dc, 0, 0, w, h, src, me.left, me.top, SRCCOPY);
    } else {
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    RenderFrame(v, pv, dc, w, h);
}

// A frame's outline and caption: the skin's rounded box, or the standard
// etched group box whose line the caption interrupts.
void NativeHost::Impl::RenderFrame(ViewPeer& v, ViewPeer* container, HDC dc, int w, int h) {
    FormPeer& fp = *v.form;
    const Control& c = *v.control;
    std::wstring caption = Wide(c.Caption());
    const SkinElement* e = v.Skin();
    if (e) {
        const int r = Px(fp, e->GetMetric("corner.radius", 0));
        PaintRoundRect(dc, {0, 0, w - 1, h - 1}, r, e->GetFill("fill"),
                       Ref(e->GetColor("border.color", {0xB8, 0xC9, 0xDD})),
                       e->Value("border.color").has_value());
        if (caption.empty()) return;
        SelectObjectGuard font(dc, Font(fp, e->GetFont("caption.font", DefaultFont())));
        COLORREF color = c.Enabled() ? Ref(e->GetColor("caption.color", {0x20, 0x40, 0x70}))
                                     : GetSysColor(COLOR_GRAYTEXT);
        RECT text{Px(fp, 8), Px(fp, 2), w - Px(fp, 8), Px(fp, 20)};
        PaintText(dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS, color);
        return;
    }
    SelectObjectGuard font(dc, v.font ? v.font : Font(fp, DefaultFont()));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT edge{0, caption.empty() ? 0 : tm.tmHeight / 2, w, h};
    PaintEtchedFrame(dc, edge);
    if (caption.empty()) return;
    RECT text{Px(fp, 6), 0, w - Px(fp, 6), tm.tmHeight};
    RECT measure = text;
    DrawTextW(dc, caption.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
    measure.left -= Px(fp, 2);
    measure.right = std::min(measure.right + Px(fp, 2), text.right);
    // The caption interrupts the line: paint the container's background under it.
    HBRUSH under = container ? container->bg_brush : nullptr;
    if (under) {
        RECT me = RectInParent(v.hwnd, GetParent(v.hwnd));
        BrushOriginGuard origin(dc, -me.left, -me.top);
        FillRect(dc, &measure, under);
    } else {
        FillRect(dc, &measure, GetSysColorBrush(COLOR_BTNFACE));
    }
    PaintText(dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS,
              GetSysColor(c.Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

void NativeHost::Impl::EnsureBackground(ViewPeer& v) {
    if (!v.hwnd) return;
    RECT rc;
    GetClientRect(v.hwnd, &rc);
    const int w = std::max(1L, rc.right), h = std::max(1L, rc.bottom);
    if (v.bg && !v.bg_dirty && v.bg_w == w && v.bg_h == h) return;
    if (v.bg_brush) DeleteObject(v.bg_brush);
    if (v.bg) DeleteObject(v.bg);
    {
        WindowDC screen(v.hwnd);
        v.bg = CreateCompatibleBitmap(screen, w, h);
        BitmapDC dc(screen, v.bg);
        RenderBackground(v, dc, w, h);
    }
    // A pattern brush of the whole background: children that ask their parent
    // for a brush (WM_CTLCOLOR*) get it with the origin moved to their own
    // position, so they blend into gradients.
    v.bg_brush = CreatePatternBrush(v.bg);
    v.bg_w = w, v.bg_h = h;
    v.bg_dirty = false;
}

void NativeHost::Impl::FillParentBackground(HWND child, HDC dc, const RECT& rc) {
    HWND parent = GetParent(child);
    ViewPeer* pv = ViewOf(parent);
    if (!pv || !pv->IsContainerView()) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    EnsureBackground(*pv);
    RECT me = RectInParent(child, parent);
    BrushOriginGuard origin(dc, -me.left, -me.top);
    FillRect(dc, &rc, pv->bg_brush ? pv->bg_brush : GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT NativeHost::Impl::OnCtlColor(ViewPeer& container, HWND hwnd, UINT msg, WPARAM wp,
                                     LPARAM lp) {
    HWND child_hwnd = reinterpret_cast<HWND>(lp);
    ViewPeer* child = ViewOf(child_hwnd);
    if (!child || !child->control ||
        FamilyOf(child->control->GetKind()).KeepsOwnBackground(child->control->GetKind())) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    EnsureBackground(container);
    if (!container.bg_brush) return DefWindowProcW(hwnd, msg, wp, lp);
    // The child's DC keeps the origin: its own text and background use it.
    HDC dc = reinterpret_cast<HDC>(wp);
    RECT me = RectInParent(child_hwnd, container.hwnd);
    SetBrushOrgEx(dc, -me.left, -me.top, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(container.bg_brush);
}

}  // namespace orv::ui
