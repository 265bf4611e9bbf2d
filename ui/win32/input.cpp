// Window -> model: notifications from a control's window become model
// changes and events, inside the host's handler guard. Input a user could
// not have given (sent by another process to a disabled or hidden window) is
// refused and the window put back as the model has it.
#include "control_family.h"

namespace orv::ui {

void NativeHost::Impl::OnCommand(ViewPeer& v, UINT code) {
    if (updating) return;
    if (!Reachable(v.hwnd)) {
        PushAll(v);
        return;
    }
    host.Run([&] { FamilyOf(v.control->GetKind()).OnCommand(*this, v, code); },
             v.control->Owner().Name());
}

void NativeHost::Impl::OnNotify(ViewPeer& v, const NMHDR& nm) {
    if (updating) return;
    FamilyOf(v.control->GetKind()).OnNotify(*this, v, nm);
}

void NativeHost::Impl::OnScroll(ViewPeer& v, UINT code) {
    if (updating) return;
    FamilyOf(v.control->GetKind()).OnScroll(*this, v, code);
}

// Labels, frames and pictures are clickable too.
void NativeHost::Impl::OnViewClick(ViewPeer& v) {
    if (!v.control || !Reachable(v.hwnd)) return;
    Control& c = *v.control;
    if (c.onClick) host.Run([&] { c.Owner().Fire(c.onClick); }, c.Owner().Name());
}

}  // namespace orv::ui
