// Layout and fonts: the window's frame (skinned popup or standard caption),
// twips to pixels at the window's DPI, the z-order of the controls, and the
// per-form cache of fonts the skin asks for.
#include "control_family.h"
#include "control_messages.h"
#include "gdi.h"

namespace orv::ui {

using namespace win32;

SkinFont NativeHost::Impl::DefaultFont() {
    SkinFont f;
    f.faces = {"Tahoma", "MS Shell Dlg 2"};
    f.points = 8;
    return f;
}

HFONT NativeHost::Impl::Font(FormPeer& fp, SkinFont want) {
    if (want.faces.empty()) want.faces = DefaultFont().faces;
    if (want.points == 0) want.points = DefaultFont().points;
    std::string key;
    for (auto& f : want.faces) key += f + "|";
    key += std::to_string(want.points) + (want.bold ? "b" : "") + (want.italic ? "i" : "") +
           (want.strikeout ? "s" : "");
    auto it = fp.fonts.find(key);
    if (it != fp.fonts.end()) return it->second;
    HFONT font = CreateFontFor(fp, want);
    fp.fonts[key] = font;
    return font;
}

HFONT NativeHost::Impl::CreateFontFor(const FormPeer& fp, const SkinFont& want) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(want.points, fp.dpi, 72);
    lf.lfWeight = want.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = want.italic;
    lf.lfStrikeOut = want.strikeout;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    // The first face the system really has. A missing face is not an error
    // for CreateFont: it substitutes another (Wine maps "Segoe UI" to
    // whatever fontconfig offers), so the face actually selected is compared
    // with the one asked for.
    WindowDC dc(nullptr);
    for (std::size_t i = 0; i < want.faces.size(); ++i) {
        std::wstring face = Wide(want.faces[i]);
        wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        HFONT candidate = CreateFontIndirectW(&lf);
        if (!candidate) continue;
        wchar_t got[LF_FACESIZE] = {};
        {
            SelectObjectGuard select(dc, candidate);
            GetTextFaceW(dc, LF_FACESIZE, got);
        }
        if (_wcsicmp(got, face.c_str()) == 0 || i + 1 == want.faces.size()) return candidate;
        DeleteObject(candidate);
    }
    return nullptr;
}

HFONT NativeHost::Impl::ControlFont(FormPeer& fp, const ViewPeer& v) {
    const SkinElement* e = v.Skin();
    return Font(fp, e ? e->GetFont("font", DefaultFont()) : DefaultFont());
}

void NativeHost::Impl::ApplyControlFont(FormPeer& fp, ViewPeer& v, bool redraw) {
    HFONT old_own = v.own_font;
    v.own_font = nullptr;
    const ui::ControlFont& own = v.control ? v.control->Font() : ui::ControlFont{};
    if (own == ui::ControlFont{}) {
        v.font = ControlFont(fp, v);
    } else {
        // A font of the control's own (a sample in a chosen face and size)
        // is the window's alone: the form's cache would keep every face and
        // size ever shown.
        const SkinElement* e = v.Skin();
        SkinFont want = e ? e->GetFont("font", DefaultFont()) : DefaultFont();
        if (!own.face.empty()) want.faces = {own.face};
        if (own.points > 0) want.points = own.points;
        want.bold = own.bold;
        want.italic = own.italic;
        want.strikeout = own.strikeout;
        v.own_font = CreateFontFor(fp, want);
        v.font = v.own_font ? v.own_font : ControlFont(fp, v);
    }
    SetFont(v.hwnd, v.font, redraw);
    if (old_own) DeleteObject(old_own);
}

void NativeHost::Impl::ApplyFrame(FormPeer& fp) {
    const Form& form = *fp.form;
    fp.skin_set = form.Skin();
    fp.skin = fp.skin_set ? fp.skin_set->Find(form.SkinElement()) : nullptr;
    fp.skinned = fp.skin != nullptr;
    if (!fp.hwnd) return;
    LONG_PTR style = GetWindowLongPtrW(fp.hwnd, GWL_STYLE);
    LONG_PTR ex = GetWindowLongPtrW(fp.hwnd, GWL_EXSTYLE);
    const LONG_PTR visible = style & WS_VISIBLE;
    const bool owned = GetWindow(fp.hwnd, GW_OWNER) != nullptr;
    const LONG_PTR minimize = owned ? 0 : WS_MINIMIZEBOX;
    if (fp.skinned) {
        // The skinned window draws its own caption bar and border in its client
        // area: a popup with the system menu and minimise box, so the taskbar,
        // Alt+F4 and Alt+Space still behave as with a standard caption.
        style = WS_POPUP | WS_SYSMENU | minimize | WS_CLIPCHILDREN | visible;
        if (!owned) ex |= WS_EX_APPWINDOW;
    } else {
        style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | minimize | WS_CLIPCHILDREN | visible;
    }
    SyncMenuElements(fp);
    SetWindowLongPtrW(fp.hwnd, GWL_STYLE, style);
    SetWindowLongPtrW(fp.hwnd, GWL_EXSTYLE, ex);
    SetWindowPos(fp.hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    LayoutForm(fp);
    DirtyBackgrounds(fp, nullptr);
}

void NativeHost::Impl::LayoutForm(FormPeer& fp, const RECT* suggested) {
    if (!fp.hwnd) return;
    const int w = std::max(1, TwipsToPixels(fp.form->Width(), fp.dpi));
    const int h = std::max(1, TwipsToPixels(fp.form->Height(), fp.dpi));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (suggested) {
        x = suggested->left, y = suggested->top;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(fp.hwnd, nullptr, x, y, w, h, flags);
    LayoutCaptionBar(fp);
    const int r = fp.skinned ? Px(fp, fp.skin->GetMetric("corner.radius", 0)) : 0;
    if (r > 0 && !RunningOnWine()) {
        // Rounded at the top only, as a caption bar is.
        GdiObject<HRGN> rgn(CreateRoundRectRgn(0, 0, w + 1, h + 1, r * 2, r * 2));
        GdiObject<HRGN> low(CreateRectRgn(0, h / 2, w, h));
        CombineRgn(rgn, rgn, low, RGN_OR);
        SetWindowRgn(fp.hwnd, rgn.release(), TRUE);  // the window owns the region now
    } else {
        SetWindowRgn(fp.hwnd, nullptr, TRUE);
    }
    if (fp.body.hwnd) {
        RECT client;
        GetClientRect(fp.hwnd, &client);
        if (fp.skinned) {
            client.left += fp.border;
            client.right -= fp.border;
            client.top += fp.caption_h;
            client.bottom -= fp.border;
        }
        SetWindowPos(fp.body.hwnd, nullptr, client.left, client.top,
                     std::max(0L, client.right - client.left),
                     std::max(0L, client.bottom - client.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(fp.hwnd, nullptr, TRUE);
}

void NativeHost::Impl::LayoutView(FormPeer& fp, ViewPeer& v) {
    if (!v.hwnd) return;
    Control& c = *v.control;
    const ControlFamily& family = FamilyOf(c.GetKind());
    PixelRect r = TwipsRectToPixels(c.Left(), c.Top(), c.Width(), c.Height(), fp.dpi);
    const int height = family.WindowHeight(*this, v, r.height);
    SetWindowPos(v.hwnd, nullptr, r.left, r.top, r.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    family.Laid(*this, v);
}

void NativeHost::Impl::ApplyZOrder(FormPeer& fp) {
    std::vector<ViewPeer*> order;
    for (auto& [c, v] : fp.views) {
        if (v->hwnd) order.push_back(v.get());
    }
    std::sort(order.begin(), order.end(), [](ViewPeer* a, ViewPeer* b) {
        return a->control->ZSerial() < b->control->ZSerial();
    });
    // Each goes to the top in turn: the highest serial ends in front.
    for (ViewPeer* v : order) {
        SetWindowPos(v->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// After a DPI change: every font again at the new size, the old ones
// deleted once no window uses them.
void NativeHost::Impl::ApplyFonts(FormPeer& fp) {
    std::map<std::string, HFONT> old;
    old.swap(fp.fonts);
    for (auto& [c, v] : fp.views) {
        if (v->hwnd) ApplyControlFont(fp, *v, true);
    }
    for (auto& [key, font] : old) DeleteObject(font);
}

}  // namespace orv::ui
