#include "paint.h"

#include <algorithm>

#include "gdi.h"

namespace orv::ui::win32 {

COLORREF Ref(Color c) {
    return RGB(c.r, c.g, c.b);
}
Color FromRef(COLORREF c) {
    return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
            static_cast<std::uint8_t>(GetBValue(c))};
}

void PaintFill(HDC dc, const RECT& rc, const Fill& fill) {
    if (fill.type == Fill::Type::None || rc.right <= rc.left || rc.bottom <= rc.top) return;
    const int h = rc.bottom - rc.top;
    if (fill.type == Fill::Type::Solid) {
        FillSolid(dc, rc, Ref(fill.top));
        return;
    }
    // One brush per run of equal rows: gradients of a few colours over tall
    // areas cost a handful of calls.
    int start = 0;
    Color run = fill.At(0, h);
    for (int y = 1; y <= h; ++y) {
        Color c = y < h ? fill.At(y, h) : Color{};
        if (y < h && c == run) continue;
        RECT row{rc.left, rc.top + start, rc.right, rc.top + y};
        FillSolid(dc, row, Ref(run));
        start = y;
        run = c;
    }
}

void PaintRoundRect(HDC dc, const RECT& rc, int radius, const Fill& fill, COLORREF border,
                    bool with_border) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    const int d = std::max(0, radius * 2);
    GdiObject<HRGN> outer(
        d > 0 ? CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, d, d)
              : CreateRectRgn(rc.left, rc.top, rc.right, rc.bottom));
    if (fill.type != Fill::Type::None) {
        ClipGuard clip(dc, outer);
        PaintFill(dc, rc, fill);
    }
    if (with_border) {
        GdiObject<HBRUSH> b(CreateSolidBrush(border));
        FrameRgn(dc, outer, b, 1, 1);
    }
}

void PaintEllipse(HDC dc, const RECT& rc, const Fill& fill, COLORREF border) {
    GdiObject<HRGN> rgn(CreateEllipticRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1));
    {
        ClipGuard clip(dc, rgn);
        PaintFill(dc, rc, fill);
    }
    GdiObject<HBRUSH> b(CreateSolidBrush(border));
    FrameRgn(dc, rgn, b, 1, 1);
}

void PaintText(HDC dc, const std::wstring& text, RECT rc, UINT flags, COLORREF color,
               const COLORREF* shadow) {
    SetBkMode(dc, TRANSPARENT);
    if (shadow) {
        RECT s = rc;
        OffsetRect(&s, 0, 1);
        SetTextColor(dc, *shadow);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &s, flags);
    }
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, flags);
}

void PaintTextCentredVertically(HDC dc, const std::wstring& text, RECT rc, UINT flags,
                                COLORREF color, const COLORREF* shadow) {
    RECT measure = rc;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, flags | DT_CALCRECT);
    const int h = measure.bottom - measure.top;
    if (h < rc.bottom - rc.top) {
        rc.top += (rc.bottom - rc.top - h) / 2;
        rc.bottom = rc.top + h;
    }
    PaintText(dc, text, rc, flags, color, shadow);
}

namespace {

void Lines(HDC dc, const POINT* pts, int n, COLORREF color, int thickness) {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(1, thickness), color));
    SelectObjectGuard select(dc, pen);
    Polyline(dc, pts, n);
}

}  // namespace

void PaintCheckMark(HDC dc, const RECT& box, COLORREF color, int thickness) {
    const int w = box.right - box.left, h = box.bottom - box.top;
    POINT pts[3] = {{box.left + w * 22 / 100, box.top + h * 52 / 100},
                    {box.left + w * 42 / 100, box.top + h * 72 / 100},
                    {box.left + w * 78 / 100, box.top + h * 28 / 100}};
    Lines(dc, pts, 3, color, thickness);
}

void PaintCloseGlyph(HDC dc, const RECT& box, COLORREF color, int thickness) {
    const int s = std::min(box.right - box.left, box.bottom - box.top) * 22 / 100;
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    POINT a[2] = {{cx - s, cy - s}, {cx + s + 1, cy + s + 1}};
    POINT b[2] = {{cx + s, cy - s}, {cx - s - 1, cy + s + 1}};
    Lines(dc, a, 2, color, thickness);
    Lines(dc, b, 2, color, thickness);
}

void PaintMinimizeGlyph(HDC dc, const RECT& box, COLORREF color, int thickness) {
    const int s = std::min(box.right - box.left, box.bottom - box.top) * 30 / 100;
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2 + s / 2;
    RECT bar{cx - s, cy, cx + s + 1, cy + std::max(1, thickness)};
    FillSolid(dc, bar, color);
}

void PaintEtchedFrame(HDC dc, RECT rc) {
    DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
}

}  // namespace orv::ui::win32
