// Command buttons, check boxes and option buttons: standard BUTTON windows,
// or owner-drawn from the skin (glossy fills, own check marks) when the
// control has a skin element.
#include "control_family.h"
#include "control_messages.h"
#include "gdi.h"
#include "paint.h"

namespace orv::ui {

using namespace win32;

namespace {

void DrawCommandButton(NativeHost::Impl& impl, const ViewPeer& v, const SkinElement& e, HDC dc,
                       int w, int h, UINT state, COLORREF text_color) {
    const FormPeer& fp = *v.form;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pressed = (state & ODS_SELECTED) != 0;
    const bool focus = (state & ODS_FOCUS) != 0 && !(state & ODS_NOFOCUSRECT);
    const char* fill_key = disabled  ? "fill.disabled"
                           : pressed ? "fill.pressed"
                           : v.hover ? "fill.hover"
                                     : "fill";
    Fill fill = e.GetFill(fill_key, e.GetFill("fill", *ParseFill("#FFFFFF > #E0E0E0")));
    const char* border_key = disabled  ? "border.disabled"
                             : v.hover ? "border.hover"
                                       : "border.color";
    Color border = e.GetColor(border_key, e.GetColor("border.color", {0x90, 0x90, 0x90}));
    const int radius = impl.Px(fp, e.GetMetric("corner.radius", 3));
    PaintRoundRect(dc, {0, 0, w - 1, h - 1}, radius, fill, Ref(border), true);
    if (focus) {
        const int inset = impl.Px(fp, 2);
        PaintRoundRect(dc, {inset, inset, w - 1 - inset, h - 1 - inset},
                       std::max(0, radius - inset), Fill{},
                       Ref(e.GetColor("focus.color", {0x5E, 0x8F, 0xC9})), true);
    }
    RECT t{impl.Px(fp, 4), 0, w - impl.Px(fp, 4), h};
    if (pressed) OffsetRect(&t, 0, 1);
    std::optional<Color> shadow_c;
    if (!disabled && e.Value("text.shadow")) shadow_c = e.GetColor("text.shadow", {});
    COLORREF shadow = shadow_c ? Ref(*shadow_c) : 0;
    PaintTextCentredVertically(dc, Wide(v.control->Caption()), t, DT_CENTER | DT_WORDBREAK,
                               text_color, shadow_c ? &shadow : nullptr);
}

void DrawCheckOrOption(NativeHost::Impl& impl, const ViewPeer& v, const SkinElement& e, HDC dc,
                       int w, int h, UINT state, COLORREF text_color) {
    const FormPeer& fp = *v.form;
    const Control& c = *v.control;
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool focus = (state & ODS_FOCUS) != 0 && !(state & ODS_NOFOCUSRECT);
    const bool radio = c.GetKind() == Kind::OptionButton;
    int value = radio ? (static_cast<const OptionButton&>(c).Value() ? 1 : 0)
                      : static_cast<const CheckBox&>(c).Value();
    const int size = impl.Px(fp, 13);
    RECT mark{0, (h - size) / 2, size, (h - size) / 2 + size};
    Fill fill = e.GetFill(v.hover && !disabled ? "box.fill.hover" : "box.fill",
                          e.GetFill("box.fill", *ParseFill("#FFFFFF")));
    if (disabled) fill = *ParseFill("#F2F4F7");
    COLORREF border = Ref(e.GetColor("box.border", {0x7F, 0x9D, 0xC2}));
    COLORREF mark_color =
        disabled ? GetSysColor(COLOR_GRAYTEXT) : Ref(e.GetColor("mark.color", {0x2F, 0x6F, 0xB5}));
    if (radio) {
        PaintEllipse(dc, {mark.left, mark.top, mark.right - 1, mark.bottom - 1}, fill, border);
        if (value) {
            const int in = std::max(3, size * 3 / 10);
            Fill dot;
            dot.type = Fill::Type::Gradient;
            dot.top = dot.mid = FromRef(mark_color);
            dot.mid2 = dot.bottom = FromRef(mark_color);
            PaintEllipse(dc,
                         {mark.left + in, mark.top + in, mark.right - 1 - in, mark.bottom - 1 - in},
                         dot, mark_color);
        }
    } else {
        PaintRoundRect(dc, {mark.left, mark.top, mark.right - 1, mark.bottom - 1}, impl.Px(fp, 2),
                       fill, border, true);
        if (value == 1) {
            PaintCheckMark(dc, mark, mark_color, std::max(2, impl.Px(fp, 2)));
        } else if (value == 2) {
            const int in = std::max(3, size / 4);
            FillSolid(dc, {mark.left + in, mark.top + in, mark.right - in, mark.bottom - in},
                      mark_color);
        }
    }
    std::wstring text = Wide(c.Caption());
    RECT t{size + impl.Px(fp, 5), 0, w, h};
    PaintTextCentredVertically(dc, text, t, DT_LEFT | DT_WORDBREAK, text_color);
    if (focus) {
        RECT f = t;
        DrawTextW(dc, text.c_str(), -1, &f, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
        OffsetRect(&f, 0, (h - (f.bottom - f.top)) / 2);
        InflateRect(&f, 1, 0);
        DrawFocusRect(dc, &f);
    }
}

class Buttons : public ControlFamily {
  public:
    WindowPlan Plan(const Control& c, bool skinned) const override {
        WindowPlan s{L"BUTTON", WS_TABSTOP, 0, true, skinned};
        switch (c.GetKind()) {
            case Kind::CommandButton:
                s.style |= skinned ? BS_OWNERDRAW : BS_PUSHBUTTON | BS_MULTILINE;
                break;
            case Kind::CheckBox:
                // Not BS_AUTO3STATE: a click toggles 0 <-> 1 only; the host sets the state.
                s.style |= skinned ? BS_OWNERDRAW : BS_3STATE | BS_MULTILINE;
                break;
            default:
                s.style |= skinned ? BS_OWNERDRAW : BS_RADIOBUTTON | BS_MULTILINE;
                break;
        }
        return s;
    }

    void Push(Impl& impl, ViewPeer& v, Prop prop) const override {
        if (prop != Prop::Value) return;
        Control& c = *v.control;
        WPARAM state = BST_UNCHECKED;
        if (c.GetKind() == Kind::CheckBox) {
            const int value = static_cast<CheckBox&>(c).Value();
            impl.PublishValue(v.hwnd, value);
            state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
        } else if (c.GetKind() == Kind::OptionButton) {
            const bool value = static_cast<OptionButton&>(c).Value();
            impl.PublishValue(v.hwnd, value);
            state = value ? BST_CHECKED : BST_UNCHECKED;
        } else {
            return;
        }
        if (v.owner_draw) {
            InvalidateRect(v.hwnd, nullptr, FALSE);
        } else {
            Button{v.hwnd}.SetCheck(state);
        }
    }

    void OnCommand(Impl&, ViewPeer& v, UINT code) const override {
        // Owner-drawn buttons report a fast second click as a double click.
        if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
        Control& c = *v.control;
        switch (c.GetKind()) {
            case Kind::CommandButton:
                if (c.onClick) c.Owner().Fire(c.onClick);
                break;
            case Kind::CheckBox: {
                auto& box = static_cast<CheckBox&>(c);
                box.SetValue(box.Value() == 1 ? 0 : 1);
                break;
            }
            default: {
                auto& option = static_cast<OptionButton&>(c);
                if (option.Value()) {
                    if (option.onClick) option.Owner().Fire(option.onClick);
                } else {
                    option.SetValue(true);
                }
                break;
            }
        }
    }

    bool DrawItem(Impl& impl, ViewPeer& v, const DRAWITEMSTRUCT& di) const override {
        const SkinElement* e = v.Skin();
        if (!e) return false;
        const RECT& rc = di.rcItem;
        const int w = rc.right - rc.left, h = rc.bottom - rc.top;
        const bool disabled = (di.itemState & ODS_DISABLED) != 0;
        const Color default_text{0x1E, 0x2E, 0x44};
        COLORREF text_color = disabled ? Ref(e->GetColor("text.disabled", {0x9A, 0xA6, 0xB5}))
                                       : Ref(e->GetColor("text.color", default_text));
        // Off screen: gloss rows and text in one blit, no flicker.
        MemoryDC mem(di.hDC, rc);
        impl.FillParentBackground(v.hwnd, mem, RECT{0, 0, w, h});
        SelectObjectGuard font(mem, v.font);
        if (v.control->GetKind() == Kind::CommandButton) {
            DrawCommandButton(impl, v, *e, mem, w, h, di.itemState, text_color);
        } else {
            DrawCheckOrOption(impl, v, *e, mem, w, h, di.itemState, text_color);
        }
        return true;
    }
};

}  // namespace

const ControlFamily& ButtonFamily() {
    static const Buttons family;
    return family;
}

}  // namespace orv::ui
