// Focus, Tab order and the message loops. Tab follows the form's control
// order, as the classic tab index does; Windows' own order (the z-order) puts
// later controls in front so that frames cover the tab strip they sit on.
// A modal form runs a nested loop with every other form disabled.
#include "control_messages.h"
#include "host_impl.h"

namespace orv::ui {

using namespace win32;

std::vector<HWND> NativeHost::Impl::TabStops(FormPeer& fp) {
    std::vector<HWND> stops;
    for (Control* c : fp.form->Controls()) {
        auto it = fp.views.find(c);
        if (it == fp.views.end() || !it->second->hwnd) continue;
        HWND h = it->second->hwnd;
        if ((GetWindowLongPtrW(h, GWL_STYLE) & WS_TABSTOP) && Reachable(h)) stops.push_back(h);
    }
    return stops;
}

bool NativeHost::Impl::MoveFocus(FormPeer& fp, bool back) {
    std::vector<HWND> stops = TabStops(fp);
    if (stops.empty()) return false;
    HWND focus = GetFocus();
    int at = -1;
    for (int i = 0; i < static_cast<int>(stops.size()); ++i) {
        HWND s = stops[static_cast<std::size_t>(i)];
        if (focus && (focus == s || IsChild(s, focus))) at = i;  // a combo's edit is its child
    }
    const int n = static_cast<int>(stops.size());
    const int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
    HWND target = stops[static_cast<std::size_t>(next)];
    SetFocus(target);
    wchar_t cls[16] = {};
    GetClassNameW(target, cls, 15);
    if (_wcsicmp(cls, L"Edit") == 0) Edit{target}.SelectAll();
    return true;
}

// The first control in the form's order takes the keyboard, as the lowest
// tab index does.
void NativeHost::Impl::FocusFirstStop(FormPeer& fp) {
    std::vector<HWND> stops = TabStops(fp);
    if (!stops.empty()) SetFocus(stops.front());
}

// As a dialog does: the focused control is kept over a switch to another
// window, instead of the window itself taking the focus.
LRESULT NativeHost::Impl::OnActivate(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && focus != hwnd && IsChild(hwnd, focus)) fp.last_focus = focus;
    } else if (!HIWORD(wp)) {
        HWND target = fp.last_focus;
        if (!target || !IsWindow(target) || !IsChild(hwnd, target) || !Reachable(target)) {
            std::vector<HWND> stops = TabStops(fp);
            target = stops.empty() ? nullptr : stops.front();
        }
        if (target) {
            SetFocus(target);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, WM_ACTIVATE, wp, lp);
}

bool NativeHost::Impl::EnterInTextBox(HWND hwnd) {
    ViewPeer* v = ViewOf(hwnd);
    if (!v || !v->control || v->control->GetKind() != Kind::TextBox) return false;
    auto& box = static_cast<TextBox&>(*v->control);
    if (!box.onKeyPress || !Reachable(hwnd)) return false;
    host.Run([&] { box.Owner().Fire([&] { box.onKeyPress(13); }); }, box.Owner().Name());
    return true;
}

void NativeHost::Impl::Pump(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && form_atom && GetClassLongPtrW(root, GCW_ATOM) == form_atom) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
            !(GetKeyState(VK_CONTROL) & 0x8000)) {
            auto* fp = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(root, GWLP_USERDATA));
            if (fp && fp->alive && MoveFocus(*fp, (GetKeyState(VK_SHIFT) & 0x8000) != 0)) return;
        }
        // Enter in a text box that listens for it is the box's, not the
        // dialog manager's default button.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && EnterInTextBox(msg.hwnd))
            return;
        // Arrows, mnemonics, space on buttons: as in a dialog.
        if (IsDialogMessageW(root, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void NativeHost::Impl::RunModal(FormPeer& fp) {
    Form* form = fp.form;
    for (auto& [f, other] : forms) {
        if (other.get() != &fp && other->alive && other->hwnd && IsWindowEnabled(other->hwnd)) {
            EnableWindow(other->hwnd, FALSE);
            fp.disabled.push_back(other->hwnd);
        }
    }
    MSG msg;
    while (Peer(*form) == &fp) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Quit while a modal window is open: leave the nested loop and let
            // the outer one see WM_QUIT too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Pump(msg);
    }
}

int NativeHost::RunMessageLoop() {
    if (impl_->forms.empty()) return 0;
    MSG msg{};
    while (true) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return static_cast<int>(msg.wParam);
        impl_->Pump(msg);
        if (impl_->depth == 0) impl_->graveyard.clear();
    }
}

void NativeHost::DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        impl_->Pump(msg);
    }
}

}  // namespace orv::ui
