// Peer creation, re-creation and destruction: a form's window, its body (the
// parent of the controls, below a skinned caption bar) and one window per
// windowed control, each registered for the window procedures and named for
// automation.
#include "control_family.h"
#include "ui/automation.h"

namespace orv::ui {

NativeHost::Impl::Impl(NativeHost& h, NativeHostOptions o)
    : host(h),
      options(std::move(o)),
      skin_click_msg(RegisterWindowMessageW(automation::kSkinElementClickMessage)) {
    for (auto& c : custom_colors) c = RGB(255, 255, 255);
}

FormPeer* NativeHost::Impl::Peer(const Form& f) {
    auto it = forms.find(const_cast<Form*>(&f));
    return it == forms.end() || !it->second->alive ? nullptr : it->second.get();
}

ViewPeer* NativeHost::Impl::View(const Control& c) {
    FormPeer* fp = Peer(c.Owner());
    if (!fp) return nullptr;
    auto it = fp->views.find(const_cast<Control*>(&c));
    return it == fp->views.end() ? nullptr : it->second.get();
}

ViewPeer* NativeHost::Impl::ViewOf(HWND hwnd) {
    auto it = views.find(hwnd);
    return it == views.end() ? nullptr : it->second;
}

ViewPeer* NativeHost::Impl::ChildOf(const ViewPeer& container, HWND child) {
    ViewPeer* v = ViewOf(child);
    return v && v->control && v->form == container.form ? v : nullptr;
}

void NativeHost::Impl::RegisterClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpfnWndProc = FormProc;
    wc.lpszClassName = kFormClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    form_atom = RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.lpfnWndProc = ViewProc;
    wc.lpszClassName = kViewClass;
    wc.hbrBackground = nullptr;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = SplashProc;
    wc.lpszClassName = kSplashClass;
    wc.style = 0;
    RegisterClassExW(&wc);
}

FormPeer* NativeHost::Impl::CreatePeer(Form& form, Form* owner) {
    auto peer = std::make_unique<FormPeer>();
    FormPeer& fp = *peer;
    fp.form = &form;
    fp.body.host = this;
    fp.body.form = &fp;
    forms[&form] = std::move(peer);

    HWND owner_hwnd = nullptr;
    if (owner) {
        if (FormPeer* op = Peer(*owner)) owner_hwnd = op->hwnd;
    }
    fp.dpi = owner_hwnd ? WindowDpi(owner_hwnd) : SystemDpi();
    const int w = std::max(1, TwipsToPixels(form.Width(), fp.dpi));
    const int h = std::max(1, TwipsToPixels(form.Height(), fp.dpi));
    // Centred on the owner, or on the work area of the primary screen.
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner_hwnd) {
        GetWindowRect(owner_hwnd, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = std::max<int>(0, area.left + (area.right - area.left - w) / 2);
    int y = std::max<int>(0, area.top + (area.bottom - area.top - h) / 2);
    fp.hwnd =
        CreateWindowExW(0, kFormClass, Wide(form.Caption()).c_str(),
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                        x, y, w, h, owner_hwnd, nullptr, instance, &fp);
    if (!fp.hwnd) return &fp;  // the form still loads and works, without a window
    form.SetHandle(reinterpret_cast<std::uintptr_t>(fp.hwnd));
    fp.dpi = WindowDpi(fp.hwnd);
    PublishDpi(fp.hwnd, fp.dpi);

    fp.body.hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kViewClass, L"",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                   1, 1, fp.hwnd, nullptr, instance, &fp.body);
    if (fp.body.hwnd) views[fp.body.hwnd] = &fp.body;
    ApplyFrame(fp);
    CreateViews(fp);
    // Named last: a driver that finds the form by its name finds its controls too.
    SetAutomationName(fp.hwnd, form.Name(), "Form", fp.name_atom, nullptr);
    return &fp;
}

void NativeHost::Impl::CreateViews(FormPeer& fp) {
    for (Control* c : fp.form->Controls()) CreateView(fp, *c);
    ApplyZOrder(fp);
    for (auto& [c, v] : fp.views) {
        if (v->hwnd) PushAll(*v);
    }
}

void NativeHost::Impl::CreateView(FormPeer& fp, Control& c) {
    if (fp.views.count(&c)) return;
    // A container is created before what it holds, whatever the declaration order.
    if (c.Container() && &c.Container()->Owner() == fp.form) CreateView(fp, *c.Container());
    auto view = std::make_unique<ViewPeer>();
    ViewPeer& v = *view;
    v.host = this;
    v.form = &fp;
    v.control = &c;
    fp.views[&c] = std::move(view);
    if (c.GetKind() == Kind::Timer) {
        StartTimer(fp, c);
        return;
    }
    if (!c.Windowed() || !fp.body.hwnd) return;
    HWND parent = fp.body.hwnd;
    if (c.Container()) {
        ViewPeer* cv = View(*c.Container());
        if (!cv || !cv->hwnd) return;  // its frame has no window: neither has it
        parent = cv->hwnd;
    }
    v.hwnd = CreateNative(v, parent);
    if (!v.hwnd) return;
    c.SetHandle(reinterpret_cast<std::uintptr_t>(v.hwnd));
    AttachNative(fp, v);
}

HWND NativeHost::Impl::CreateNative(ViewPeer& v, HWND parent) {
    Control& c = *v.control;
    const ControlFamily& family = FamilyOf(c.GetKind());
    const WindowPlan plan = family.Plan(c, v.Skin() != nullptr);
    v.owner_draw = plan.owner_draw;
    if (!plan.window_class) return nullptr;
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.Visible() ? WS_VISIBLE : 0) |
                        (c.Enabled() ? 0 : WS_DISABLED) | plan.style;
    const std::wstring text = plan.caption_as_text ? Wide(c.Caption()) : std::wstring();
    const bool own = plan.window_class == kViewClass;
    HWND hwnd = CreateWindowExW(plan.ex_style, plan.window_class, text.c_str(), style, 0, 0, 1, 1,
                                parent, nullptr, instance, own ? static_cast<void*>(&v) : nullptr);
    if (hwnd) family.Created(hwnd);
    return hwnd;
}

// What a new control window needs once it exists: the host's map, its
// automation name, the font, the subclass and its place.
void NativeHost::Impl::AttachNative(FormPeer& fp, ViewPeer& v) {
    views[v.hwnd] = &v;
    SetAutomationName(v.hwnd, v.control->AutomationName(), KindName(v.control->GetKind()),
                      v.name_atom, &v.kind_atom);
    ApplyControlFont(fp, v, false);
    if (NeedsSubclass(v)) {
        SetWindowSubclass(v.hwnd, HoverProc, kHoverSubclass, reinterpret_cast<DWORD_PTR>(&v));
    }
    LayoutView(fp, v);
}

// A change Windows cannot make to a live window (a button becoming
// owner-drawn): a new window in the old one's place in the z-order.
void NativeHost::Impl::RecreateView(FormPeer& fp, ViewPeer& v) {
    if (!v.hwnd) return;
    HWND old = v.hwnd;
    HWND parent = GetParent(old);
    views.erase(old);
    ReleaseAutomationName(old, v.name_atom, &v.kind_atom);
    RemoveWindowSubclass(old, HoverProc, kHoverSubclass);
    v.hwnd = CreateNative(v, parent);
    if (v.hwnd) {
        SetWindowPos(v.hwnd, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        AttachNative(fp, v);
        PushAll(v);
    }
    v.control->SetHandle(reinterpret_cast<std::uintptr_t>(v.hwnd));
    DestroyWindow(old);
}

void NativeHost::Impl::DestroyView(ViewPeer& v) {
    if (v.hwnd) {
        ReleaseAutomationName(v.hwnd, v.name_atom, &v.kind_atom);
        RemoveWindowSubclass(v.hwnd, HoverProc, kHoverSubclass);
        views.erase(v.hwnd);
    }
    if (v.bg_brush) DeleteObject(v.bg_brush);
    if (v.bg) DeleteObject(v.bg);
    if (v.picture) DeleteObject(v.picture);
    if (v.icon) DestroyIcon(v.icon);
    if (v.images) ImageList_Destroy(v.images);
    if (v.own_font) DeleteObject(v.own_font);
    v.own_font = nullptr, v.font = nullptr;
    v.bg_brush = nullptr, v.bg = nullptr, v.picture = nullptr, v.icon = nullptr, v.images = nullptr;
    if (v.control) v.control->SetHandle(0);
}

void NativeHost::Impl::DestroyPeer(Form& form) {
    auto it = forms.find(&form);
    if (it == forms.end() || !it->second->alive) return;
    FormPeer& fp = *it->second;
    fp.alive = false;
    for (auto& [id, timer] : fp.timers) {
        if (fp.hwnd) KillTimer(fp.hwnd, id);
    }
    fp.timers.clear();
    // The owner is enabled before the window goes, so that Windows hands the
    // activation back to it and not to some other program.
    for (HWND h : fp.disabled) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    fp.disabled.clear();
    for (auto& [c, v] : fp.views) DestroyView(*v);
    DestroyView(fp.body);
    if (fp.hwnd) {
        ReleaseAutomationName(fp.hwnd, fp.name_atom, nullptr);
        HWND hwnd = fp.hwnd;
        fp.hwnd = nullptr;
        DestroyWindow(hwnd);
    }
    for (auto& [key, font] : fp.fonts) DeleteObject(font);
    fp.fonts.clear();
    form.SetHandle(0);
    graveyard.push_back(std::move(it->second));
    forms.erase(it);
    if (forms.empty()) PostQuitMessage(0);
}

void NativeHost::Impl::StartTimer(FormPeer& fp, Control& c) {
    auto& timer = static_cast<Timer&>(c);
    ViewPeer* v = fp.views.count(&c) ? fp.views[&c].get() : nullptr;
    if (!v || !fp.hwnd) return;
    if (v->timer_id) {
        KillTimer(fp.hwnd, v->timer_id);
        fp.timers.erase(v->timer_id);
        v->timer_id = 0;
    }
    // An interval of 0 stops the timer, as a disabled one.
    if (!timer.Enabled() || timer.Interval() <= 0) return;
    v->timer_id = next_timer++;
    if (SetTimer(fp.hwnd, v->timer_id, static_cast<UINT>(timer.Interval()), nullptr)) {
        fp.timers[v->timer_id] = &c;
    } else {
        v->timer_id = 0;
    }
}

}  // namespace orv::ui
