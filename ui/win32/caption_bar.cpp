// The caption bar a skinned window draws itself (title, the skin's hot
// spots, minimise and close), and the window-menu commands that stand in for
// the hot spots while the window has the standard caption. Either way a
// chosen element is queued and runs from the form's message loop.
#include "gdi.h"
#include "host_impl.h"
#include "paint.h"

namespace orv::ui {

using namespace win32;

void NativeHost::Impl::SyncMenuElements(FormPeer& fp) {
    GetSystemMenu(fp.hwnd, TRUE);  // back to the standard menu
    fp.menu_elements.clear();
    if (fp.skinned || fp.form->menu_elements.empty()) return;
    HMENU menu = GetSystemMenu(fp.hwnd, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    UINT id = kFirstMenuElement;
    for (const auto& [text, element] : fp.form->menu_elements) {
        AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
        fp.menu_elements.emplace_back(id, element);
        id += 0x10;
    }
}

void NativeHost::Impl::LayoutCaptionBar(FormPeer& fp) {
    fp.boxes.clear();
    fp.spots.clear();
    if (!fp.skinned || !fp.hwnd) {
        fp.caption_h = fp.border = 0;
        return;
    }
    const SkinElement& e = *fp.skin;
    fp.caption_h = Px(fp, e.GetMetric("caption.height", 28));
    fp.border = Px(fp, e.GetMetric("border.width", 1));
    if (e.GetMetric("border.width", 1) > 0) fp.border = std::max(1, fp.border);
    fp.spots = e.HotSpots();
    RECT rc;
    GetWindowRect(fp.hwnd, &rc);
    CaptionMetrics m;
    m.window_width = rc.right - rc.left;
    m.caption_height = fp.caption_h;
    m.border = fp.border;
    m.button_width = Px(fp, e.GetMetric("control.width", 26));
    m.gap = Px(fp, 3);
    m.min_title = Px(fp, 60);
    // Minimising an owned window would hide it and leave its disabled owner
    // with nothing to click; owned windows only close.
    m.minimize = GetWindow(fp.hwnd, GW_OWNER) == nullptr;
    {
        WindowDC dc(fp.hwnd);
        SelectObjectGuard font(dc, Font(fp, e.GetFont("spot.font", DefaultFont())));
        for (const auto& s : fp.spots) {
            std::wstring t = Wide(s.text);
            SIZE size{};
            GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
            m.hot_spot_widths.push_back(size.cx + Px(fp, 18));
        }
    }
    fp.boxes = LayoutCaption(m);
}

namespace {

// One box of the bar: a hot spot's label, or the minimise or close glyph.
void PaintCaptionBox(HDC dc, const FormPeer& fp, const SkinElement& e, std::size_t i, int px4) {
    const CaptionBox& b = fp.boxes[i];
    const bool hot = fp.hot == static_cast<int>(i);
    const bool down = hot && fp.pressed == static_cast<int>(i);
    RECT r{b.left, b.top, b.right - 1, b.bottom - 1};
    const int thick = std::max(1, fp.dpi * 3 / 2 / 96);
    if (b.role == CaptionBox::Role::HotSpot) {
        Fill f = e.GetFill(hot ? "spot.fill.hover" : "spot.fill", e.GetFill("spot.fill"));
        if (down) f = e.GetFill("spot.fill.hover");
        PaintRoundRect(dc, r, px4, f, Ref(e.GetColor("spot.border", {0x9A, 0xB2, 0xCF})), true);
        RECT tr{b.left, b.top, b.right, b.bottom};
        if (down) OffsetRect(&tr, 0, 1);
        PaintText(dc, Wide(fp.spots[static_cast<std::size_t>(b.hot_spot)].text), tr,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                  Ref(e.GetColor("spot.text", {0x1E, 0x3A, 0x5F})));
        return;
    }
    const bool close = b.role == CaptionBox::Role::Close;
    Fill f = e.GetFill("control.fill", *ParseFill("#FFFFFF > #E6EDF5"));
    if (hot) f = e.GetFill(close ? "close.fill.hover" : "control.fill.hover", f);
    Color glyph = e.GetColor("control.glyph", {0x3A, 0x56, 0x78});
    if (hot && close) glyph = e.GetColor("close.glyph.hover", glyph);
    PaintRoundRect(dc, r, px4, f, Ref(e.GetColor("control.border", {0x9A, 0xB2, 0xCF})), true);
    if (close) {
        PaintCloseGlyph(dc, r, Ref(glyph), thick);
    } else {
        PaintMinimizeGlyph(dc, r, Ref(glyph), thick + 1);
    }
}

}  // namespace

void NativeHost::Impl::PaintCaptionBar(FormPeer& fp, HDC dc) {
    RECT client;
    GetClientRect(fp.hwnd, &client);
    const int w = client.right, h = client.bottom;
    const SkinElement& e = *fp.skin;
    COLORREF border = Ref(e.GetColor("border.color", {0x7F, 0x9D, 0xC2}));
    GdiObject<HBRUSH> bb(CreateSolidBrush(border));
    {
        MemoryDC mem(dc, RECT{0, 0, w, fp.caption_h});
        RECT bar{0, 0, w, fp.caption_h};
        FillRect(mem, &bar, bb);
        RECT inner{fp.border, fp.border, w - fp.border, fp.caption_h};
        PaintFill(mem, inner, e.GetFill("caption.fill", *ParseFill("#FFFFFF > #D8E4F2")));
        // Title between the left edge and the first box.
        int title_right = w - fp.border;
        for (const auto& b : fp.boxes) title_right = std::min(title_right, b.left);
        SelectObjectGuard font(mem, Font(fp, e.GetFont("caption.font", DefaultFont())));
        std::wstring title = Wide(fp.form->Caption());
        RECT t{fp.border + Px(fp, 10), fp.border, title_right - Px(fp, 6), fp.caption_h};
        Align align = e.GetAlign("caption.align", Align::Left);
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        if (align == Align::Center) {
            // Centred on the window, unless the boxes would cover it.
            RECT measure = t;
            DrawTextW(mem, title.c_str(), -1, &measure, flags | DT_CALCRECT);
            const int tw = measure.right - measure.left;
            const int left = (w - tw) / 2;
            if (left >= t.left && left + tw <= t.right) {
                t.left = left;
                t.right = left + tw + 1;
            }
        } else if (align == Align::Right) {
            flags |= DT_RIGHT;
        }
        std::optional<Color> shadow_c;
        if (e.Value("caption.shadow")) shadow_c = e.GetColor("caption.shadow", {});
        COLORREF shadow = shadow_c ? Ref(*shadow_c) : 0;
        PaintText(mem, title, t, flags, Ref(e.GetColor("caption.text", {0x1E, 0x3A, 0x5F})),
                  shadow_c ? &shadow : nullptr);
        SelectObject(mem, Font(fp, e.GetFont("spot.font", DefaultFont())));
        for (std::size_t i = 0; i < fp.boxes.size(); ++i) {
            PaintCaptionBox(mem, fp, e, i, Px(fp, 4));
        }
        // A soft line under the bar.
        RECT line{fp.border, fp.caption_h - 1, w - fp.border, fp.caption_h};
        FillSolid(mem, line, Ref(e.GetColor("caption.separator", FromRef(border))));
    }
    // Border around the body, and the outline of the window's own shape.
    RECT left{0, fp.caption_h, fp.border, h}, right{w - fp.border, fp.caption_h, w, h},
        bottom{0, h - fp.border, w, h};
    FillRect(dc, &left, bb);
    FillRect(dc, &right, bb);
    FillRect(dc, &bottom, bb);
    GdiObject<HRGN> rgn(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(fp.hwnd, rgn) != ERROR) FrameRgn(dc, rgn, bb, 1, 1);
}

void NativeHost::Impl::CaptionMouse(FormPeer& fp, UINT msg, int x, int y) {
    int hit = HitCaption(fp.boxes, x, y);
    RECT bar{0, 0, 0, fp.caption_h};
    RECT wr;
    GetClientRect(fp.hwnd, &wr);
    bar.right = wr.right;
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!fp.tracking) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, fp.hwnd, 0};
                fp.tracking = TrackMouseEvent(&tme);
            }
            if (hit != fp.hot) {
                fp.hot = hit;
                InvalidateRect(fp.hwnd, &bar, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            fp.tracking = false;
            if (fp.hot != -1) {
                fp.hot = -1;
                InvalidateRect(fp.hwnd, &bar, FALSE);
            }
            break;
        case WM_LBUTTONDOWN:
            fp.pressed = hit;
            if (hit >= 0) SetCapture(fp.hwnd);
            InvalidateRect(fp.hwnd, &bar, FALSE);
            break;
        case WM_LBUTTONUP: {
            int pressed = fp.pressed;
            fp.pressed = -1;
            if (GetCapture() == fp.hwnd) ReleaseCapture();
            InvalidateRect(fp.hwnd, &bar, FALSE);
            if (pressed >= 0 && pressed == hit) ActCaption(fp, hit);
            break;
        }
        default:
            break;
    }
}

void NativeHost::Impl::ActCaption(FormPeer& fp, int box) {
    const CaptionBox& b = fp.boxes[static_cast<std::size_t>(box)];
    switch (b.role) {
        case CaptionBox::Role::Close:
            // Through the system command, so it is the same close as Alt+F4.
            PostMessageW(fp.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case CaptionBox::Role::Minimize:
            PostMessageW(fp.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case CaptionBox::Role::HotSpot:
            QueueElement(fp, fp.hwnd, fp.spots[static_cast<std::size_t>(b.hot_spot)].name);
            break;
    }
}

void NativeHost::Impl::QueueElement(FormPeer& fp, HWND hwnd, const std::string& element) {
    fp.pending_elements.push_back(element);
    PostMessageW(hwnd, kMsgRunSkinElement, 0, 0);
}

LRESULT NativeHost::Impl::OnRunSkinElement(FormPeer& fp) {
    if (fp.pending_elements.empty()) return 0;
    std::string element = fp.pending_elements.front();
    fp.pending_elements.pop_front();
    Form& form = *fp.form;
    if (form.onSkinElementClick) {
        form.Fire([&form, element] { form.onSkinElementClick(element); });
    }
    return 0;
}

LRESULT NativeHost::Impl::OnSysCommand(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    for (const auto& [id, element] : fp.menu_elements) {
        if ((wp & 0xFFF0) == id) {
            QueueElement(fp, hwnd, element);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, WM_SYSCOMMAND, wp, lp);
}

LRESULT NativeHost::Impl::OnNcHitTest(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (!fp.skinned) return DefWindowProcW(hwnd, WM_NCHITTEST, wp, lp);
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ScreenToClient(hwnd, &pt);
    if (pt.y >= 0 && pt.y < fp.caption_h) {
        return HitCaption(fp.boxes, pt.x, pt.y) >= 0 ? HTCLIENT : HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT NativeHost::Impl::OnFormMouse(FormPeer& fp, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!fp.skinned) return DefWindowProcW(hwnd, msg, wp, lp);
    CaptionMouse(fp, msg, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
    return 0;
}

LRESULT NativeHost::Impl::OnFormSetText(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    LRESULT r = DefWindowProcW(hwnd, WM_SETTEXT, wp, lp);
    if (fp.skinned) {
        RECT bar{0, 0, 32767, fp.caption_h};
        InvalidateRect(hwnd, &bar, FALSE);
    }
    return r;
}

}  // namespace orv::ui
