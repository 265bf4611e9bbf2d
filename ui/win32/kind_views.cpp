// Controls the host draws itself in its own window class: labels, the
// status bar, the histogram, pictures and images, and frames (containers,
// whose look is their background: see backgrounds.cpp).
#include "control_family.h"
#include "gdi.h"
#include "paint.h"
#include "ui/image.h"

namespace orv::ui {

using namespace win32;

namespace {

bool ReadWholeFile(const std::wstring& path, std::string& out) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart >= 0 && size.QuadPart < (64 << 20);
    if (ok) {
        out.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = out.empty() ||
             (::ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &read, nullptr) &&
              read == out.size());
    }
    CloseHandle(f);
    return ok;
}

bool EndsWithNoCase(const std::wstring& s, const wchar_t* suffix) {
    std::size_t n = wcslen(suffix);
    return s.size() >= n && _wcsicmp(s.c_str() + s.size() - n, suffix) == 0;
}

// An icon file, a BMP file, or else a bitmap resource of the program by that name.
void LoadPicture(HINSTANCE instance, ViewPeer& v) {
    if (v.picture) DeleteObject(v.picture);
    if (v.icon) DestroyIcon(v.icon);
    v.picture = nullptr, v.icon = nullptr, v.pic_w = v.pic_h = 0;
    const std::wstring source = Wide(static_cast<Picture&>(*v.control).Source());
    if (source.empty()) return;
    if (EndsWithNoCase(source, L".ico")) {
        v.icon = static_cast<HICON>(LoadImageW(nullptr, source.c_str(), IMAGE_ICON, 0, 0,
                                               LR_LOADFROMFILE | LR_DEFAULTSIZE));
        if (v.icon) v.pic_w = v.pic_h = GetSystemMetrics(SM_CXICON);
        return;
    }
    std::string bytes;
    if (ReadWholeFile(source, bytes)) {
        if (auto image = DecodeBmp(bytes)) {
            v.picture = BitmapFromImage(*image);
            v.pic_w = image->width, v.pic_h = image->height;
            return;
        }
    }
    v.picture = static_cast<HBITMAP>(
        LoadImageW(instance, source.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (v.picture) {
        BITMAP bm{};
        GetObjectW(v.picture, sizeof bm, &bm);
        v.pic_w = bm.bmWidth, v.pic_h = bm.bmHeight;
    }
}

void PaintLabel(NativeHost::Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) {
    const SkinElement* e = v.Skin();
    impl.FillParentBackground(v.hwnd, dc, rc);
    COLORREF color = !IsWindowEnabled(v.hwnd) ? GetSysColor(COLOR_GRAYTEXT)
                     : e                      ? Ref(e->GetColor("text.color", {0, 0, 0}))
                                              : GetSysColor(COLOR_BTNTEXT);
    PaintText(dc, Wide(v.control->Caption()), rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EXPANDTABS,
              color);
}

void PaintStatusBar(NativeHost::Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) {
    const SkinElement* e = v.Skin();
    RECT copy = rc;
    if (e) {
        PaintFill(dc, rc, e->GetFill("fill", *ParseFill("#EEF3F9 > #D9E3EF")));
        FillSolid(dc, {0, 0, rc.right, 1}, Ref(e->GetColor("border.color", {0xA9, 0xBC, 0xD3})));
    } else {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &copy, BDR_SUNKENOUTER, BF_RECT);
    }
    const FormPeer& fp = *v.form;
    RECT t{impl.Px(fp, 6), 0, rc.right - impl.Px(fp, 4), rc.bottom};
    PaintText(dc, Wide(v.control->Caption()), t,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
              e ? Ref(e->GetColor("text.color", {0, 0, 0})) : GetSysColor(COLOR_BTNTEXT));
}

// The history as bars in the histogram's colour over a dark grid; the view
// procedure paints into a memory bitmap, so a new sample never flickers.
void PaintHistogram(NativeHost::Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) {
    PaintFill(dc, rc, *ParseFill("#0E2233 > #08131D"));
    GdiObject<HPEN> grid(CreatePen(PS_SOLID, 1, RGB(0x1F, 0x4A, 0x3A)));
    SelectObjectGuard pen(dc, grid);
    const int step = std::max(4, impl.Px(*v.form, 12));
    for (int x = step; x < rc.right; x += step) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, rc.bottom);
    }
    for (int y = step; y < rc.bottom; y += step) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, rc.right, y);
    }
    const auto& h = static_cast<const Histogram&>(*v.control);
    GdiObject<HBRUSH> bar(CreateSolidBrush(static_cast<COLORREF>(h.NewColor() & 0xFFFFFF)));
    for (const auto& b : h.Bars(rc.right, rc.bottom)) {
        RECT r{b.left, b.top, b.right, b.bottom};
        FillRect(dc, &r, bar);
    }
}

void PaintPicture(NativeHost::Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) {
    const Control& c = *v.control;
    if (c.GetKind() == Kind::Picture) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        impl.FillParentBackground(v.hwnd, dc, rc);
    }
    const int dpi = v.form->dpi;
    const bool stretch = static_cast<const Picture&>(c).stretch;
    const int pw = stretch ? rc.right : ScalePixels(v.pic_w, dpi);
    const int ph = stretch ? rc.bottom : ScalePixels(v.pic_h, dpi);
    if (v.picture) {
        BitmapDC src(dc, v.picture);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, pw, ph, src, 0, 0, v.pic_w, v.pic_h, SRCCOPY);
    } else if (v.icon) {
        DrawIconEx(dc, 0, 0, v.icon, pw, ph, 0, nullptr, DI_NORMAL);
    }
}

class Views : public ControlFamily {
  public:
    WindowPlan Plan(const Control& c, bool) const override {
        WindowPlan s{kViewClass};
        switch (c.GetKind()) {
            case Kind::Frame:
                s.ex_style = WS_EX_CONTROLPARENT;
                s.style = WS_CLIPCHILDREN;
                s.caption_as_text = true;
                break;
            case Kind::Picture:
                s.ex_style = WS_EX_CLIENTEDGE;
                break;
            case Kind::Image:
                break;
            default:  // Label, StatusBar, Histogram
                s.caption_as_text = true;
                break;
        }
        return s;
    }

    bool ShowsCaption(const Control& c) const override {
        return c.HasCaption() || c.GetKind() == Kind::StatusBar || c.GetKind() == Kind::Histogram;
    }

    void Push(Impl& impl, ViewPeer& v, Prop prop) const override {
        const Kind kind = v.control->GetKind();
        if (prop == Prop::Picture && (kind == Kind::Picture || kind == Kind::Image)) {
            LoadPicture(impl.instance, v);
            InvalidateRect(v.hwnd, nullptr, TRUE);
        }
    }

    void Paint(Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) const override {
        switch (v.control->GetKind()) {
            case Kind::Label:
                PaintLabel(impl, v, dc, rc);
                break;
            case Kind::StatusBar:
                PaintStatusBar(impl, v, dc, rc);
                break;
            case Kind::Histogram:
                PaintHistogram(impl, v, dc, rc);
                break;
            case Kind::Picture:
            case Kind::Image:
                PaintPicture(impl, v, dc, rc);
                break;
            default:
                ControlFamily::Paint(impl, v, dc, rc);
                break;
        }
    }
};

}  // namespace

const ControlFamily& ViewFamily() {
    static const Views family;
    return family;
}

}  // namespace orv::ui
