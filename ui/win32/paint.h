// GDI drawing of skin elements: fills, rounded shapes, the glossy buttons,
// check marks and caption glyphs. Pure drawing: no state, no windows.
#pragma once

#include <windows.h>

#include <string>

#include "ui/skin.h"

namespace orv::ui::win32 {

COLORREF Ref(Color c);
Color FromRef(COLORREF c);

// Fills `rc` row by row from `fill` (nothing for Fill::Type::None).
void PaintFill(HDC dc, const RECT& rc, const Fill& fill);

// A rounded rectangle filled with `fill` inside a one-pixel `border` (drawn
// only when `with_border`). `radius` in pixels; 0 = square corners. The inside
// and the outline use regions of the same shape so they meet exactly.
void PaintRoundRect(HDC dc, const RECT& rc, int radius, const Fill& fill, COLORREF border,
                    bool with_border);

// An ellipse the same way (radio buttons).
void PaintEllipse(HDC dc, const RECT& rc, const Fill& fill, COLORREF border);

// Text in `rc`; `flags` as DrawTextW. A shadow colour draws the text once one
// pixel lower first (the embossed look of glossy buttons).
void PaintText(HDC dc, const std::wstring& text, RECT rc, UINT flags, COLORREF color,
               const COLORREF* shadow = nullptr);

// Text wrapped in `rc` and centred vertically as a whole.
void PaintTextCentredVertically(HDC dc, const std::wstring& text, RECT rc, UINT flags,
                                COLORREF color, const COLORREF* shadow = nullptr);

void PaintCheckMark(HDC dc, const RECT& box, COLORREF color, int thickness);
void PaintCloseGlyph(HDC dc, const RECT& box, COLORREF color, int thickness);
void PaintMinimizeGlyph(HDC dc, const RECT& box, COLORREF color, int thickness);

// A standard etched group-box outline with room for a caption at the top left.
void PaintEtchedFrame(HDC dc, RECT rc);

}  // namespace orv::ui::win32
