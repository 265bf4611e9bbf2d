// Scoped GDI resources for the host's painting: each pairs the call that
// takes a resource with the one that gives it back, so a paint routine never
// ends in hand-written clean-up.
#pragma once

#include <windows.h>

#include <algorithm>
#include <utility>

namespace orv::ui::win32 {

// BeginPaint/EndPaint.
class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    operator HDC() const { return dc_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC/ReleaseDC; a null window is the screen.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// SelectObject, and the previous object selected back at the end.
class SelectObjectGuard {
  public:
    SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectObjectGuard() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectObjectGuard(const SelectObjectGuard&) = delete;
    SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// An owned GDI object (brush, pen, region, bitmap), deleted at the end.
template <typename Handle>
class GdiObject {
  public:
    explicit GdiObject(Handle h = nullptr) : h_(h) {}
    ~GdiObject() {
        if (h_) DeleteObject(h_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    operator Handle() const { return h_; }
    Handle get() const { return h_; }
    // Gives up ownership (to a window that takes it, as SetWindowRgn does).
    Handle release() { return std::exchange(h_, nullptr); }

  private:
    Handle h_;
};

// CreateCompatibleDC/DeleteDC.
class CompatibleDC {
  public:
    explicit CompatibleDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~CompatibleDC() {
        if (dc_) DeleteDC(dc_);
    }
    CompatibleDC(const CompatibleDC&) = delete;
    CompatibleDC& operator=(const CompatibleDC&) = delete;
    operator HDC() const { return dc_; }

  private:
    HDC dc_;
};

// A memory DC with `bitmap` selected: the source of a blit.
class BitmapDC {
  public:
    BitmapDC(HDC like, HBITMAP bitmap) : dc_(like), select_(dc_, bitmap) {}
    operator HDC() const { return dc_; }

  private:
    CompatibleDC dc_;  // deleted after the selection is undone
    SelectObjectGuard select_;
};

// Off-screen drawing: a memory DC over a bitmap of the size of `dest`,
// copied to `dest` on `target` at the end, so what is drawn appears in one
// blit, without flicker.
class MemoryDC {
  public:
    MemoryDC(HDC target, const RECT& dest)
        : target_(target),
          dest_(dest),
          bitmap_(CreateCompatibleBitmap(target, std::max(1L, dest.right - dest.left),
                                         std::max(1L, dest.bottom - dest.top))),
          dc_(target, bitmap_) {}
    ~MemoryDC() {
        BitBlt(target_, dest_.left, dest_.top, dest_.right - dest_.left, dest_.bottom - dest_.top,
               dc_, 0, 0, SRCCOPY);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    operator HDC() const { return dc_; }

  private:
    HDC target_;
    RECT dest_;
    GdiObject<HBITMAP> bitmap_;  // deleted after the DC lets go of it
    BitmapDC dc_;
};

// SetBrushOrgEx, and the previous origin back at the end.
class BrushOriginGuard {
  public:
    BrushOriginGuard(HDC dc, int x, int y) : dc_(dc) { SetBrushOrgEx(dc, x, y, &old_); }
    ~BrushOriginGuard() { SetBrushOrgEx(dc_, old_.x, old_.y, nullptr); }
    BrushOriginGuard(const BrushOriginGuard&) = delete;
    BrushOriginGuard& operator=(const BrushOriginGuard&) = delete;

  private:
    HDC dc_;
    POINT old_{};
};

// Drawing clipped to `region` (within the current clip) until the end.
class ClipGuard {
  public:
    ClipGuard(HDC dc, HRGN region) : dc_(dc), saved_(SaveDC(dc)) {
        ExtSelectClipRgn(dc, region, RGN_AND);
    }
    ~ClipGuard() { RestoreDC(dc_, saved_); }
    ClipGuard(const ClipGuard&) = delete;
    ClipGuard& operator=(const ClipGuard&) = delete;

  private:
    HDC dc_;
    int saved_;
};

// The window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND child, HWND parent) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &rc, brush);
}

}  // namespace orv::ui::win32
