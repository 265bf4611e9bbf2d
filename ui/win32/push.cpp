// Model -> window: a property the model changed reaches the control's window.
// What every window has (caption, visibility, geometry, skin) is handled
// here; the rest goes to the control's family.
#include "control_family.h"
#include "control_messages.h"

namespace orv::ui {

using namespace win32;

void NativeHost::Impl::PushAll(ViewPeer& v) {
    for (Prop p :
         {Prop::Caption, Prop::Items, Prop::Value, Prop::Text, Prop::Selection, Prop::Picture}) {
        Push(v, p);
    }
}

void NativeHost::Impl::Push(ViewPeer& v, Prop prop) {
    Control& c = *v.control;
    FormPeer& fp = *v.form;
    if (c.GetKind() == Kind::Timer) {
        if (prop == Prop::Enabled || prop == Prop::Interval) StartTimer(fp, c);
        return;
    }
    HWND h = v.hwnd;
    if (!h) return;
    Updating guard(*this);
    const ControlFamily& family = FamilyOf(c.GetKind());
    const bool container = IsContainer(&c);
    switch (prop) {
        case Prop::Caption:
            if (family.ShowsCaption(c)) SetWindowTextW(h, Wide(c.Caption()).c_str());
            if (container) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Visible:
            ShowWindow(h, c.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Prop::Enabled:
            EnableWindow(h, c.Enabled());
            if (container) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Geometry:
            LayoutView(fp, v);
            if (container) DirtyBackgrounds(fp, &v);
            break;
        case Prop::ZOrder:
            SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case Prop::Skin:
            // Owner drawing is a window style that cannot change on a live button.
            if (family.Plan(c, v.Skin() != nullptr).owner_draw != v.owner_draw) {
                RecreateView(fp, v);
                return;
            }
            ApplyControlFont(fp, v, true);
            if (container) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Value:
        case Prop::Text:
        case Prop::Items:
        case Prop::Selection:
        case Prop::Picture:
            family.Push(*this, v, prop);
            break;
        case Prop::Font:
            ApplyControlFont(fp, v, true);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Interval:
            break;
    }
}

}  // namespace orv::ui
