// The automation contract on the host's windows (ui/automation.h): names and
// kinds as global atoms in window properties, published values, the
// registered caption-element message, and the refusal of input that a user
// could not have given.
#include "ui/automation.h"

#include "host_impl.h"

namespace orv::ui {

using namespace automation;

void NativeHost::Impl::SetAutomationName(HWND hwnd, const std::string& name, std::string_view kind,
                                         ATOM& name_atom, ATOM* kind_atom) {
    name_atom = GlobalAddAtomW(Wide(name).c_str());
    if (name_atom) SetPropW(hwnd, kNameProp, reinterpret_cast<HANDLE>(UINT_PTR{name_atom}));
    if (kind_atom) {
        *kind_atom = GlobalAddAtomW(Wide(kind).c_str());
        if (*kind_atom) SetPropW(hwnd, kKindProp, reinterpret_cast<HANDLE>(UINT_PTR{*kind_atom}));
    }
}

void NativeHost::Impl::ReleaseAutomationName(HWND hwnd, ATOM& name_atom, ATOM* kind_atom) {
    if (hwnd && IsWindow(hwnd)) {
        RemovePropW(hwnd, kNameProp);
        RemovePropW(hwnd, kKindProp);
        RemovePropW(hwnd, kValueProp);
        RemovePropW(hwnd, kDpiProp);
    }
    if (name_atom) GlobalDeleteAtom(name_atom);
    name_atom = 0;
    if (kind_atom && *kind_atom) {
        GlobalDeleteAtom(*kind_atom);
        *kind_atom = 0;
    }
}

void NativeHost::Impl::PublishValue(HWND hwnd, int value) {
    SetPropW(hwnd, kValueProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value)));
}

void NativeHost::Impl::PublishDpi(HWND hwnd, int dpi) {
    SetPropW(hwnd, kDpiProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
}

// Whether a real user could have produced input on `hwnd`: the window and
// everything it sits in enabled and visible. Messages another process sends
// (BM_CLICK to a button of a window a modal form disabled) reach disabled
// windows; they are refused here so automation sees what a user would.
bool NativeHost::Impl::Reachable(HWND hwnd) {
    if (!IsWindowVisible(hwnd)) return false;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (HWND h = hwnd; h; h = (h == root) ? nullptr : GetParent(h)) {
        if (!IsWindowEnabled(h)) return false;
    }
    return true;
}

// The answer says whether the element is on the bar (or in the window menu
// that stands in for it) and a user could click it; the click itself runs
// after the reply, so a modal window it opens does not hold the caller.
LRESULT NativeHost::Impl::OnSkinElementRequest(FormPeer& fp, HWND hwnd, WPARAM wp) {
    wchar_t name[256] = {};
    if (!GlobalGetAtomNameW(static_cast<ATOM>(wp), name, 255)) return 0;
    if (!IsWindowEnabled(hwnd) || !IsWindowVisible(hwnd)) return 0;
    std::string element = Narrow(name);
    for (const auto& [id, menu_element] : fp.menu_elements) {
        if (menu_element == element) {
            QueueElement(fp, hwnd, element);
            return 1;
        }
    }
    for (const auto& b : fp.boxes) {
        if (b.role == CaptionBox::Role::HotSpot &&
            fp.spots[static_cast<std::size_t>(b.hot_spot)].name == element) {
            QueueElement(fp, hwnd, element);
            return 1;
        }
    }
    return 0;
}

}  // namespace orv::ui
