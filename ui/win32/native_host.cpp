// NativeHost's face to the model: showing and closing forms, following the
// model's changes, quitting. The parts it relies on are spread by concern
// over the other ui/win32 sources, around NativeHost::Impl (host_impl.h).
#include "ui/native_host.h"

#include "host_impl.h"

namespace orv::ui {

NativeHost::NativeHost(NativeHostOptions options)
    : impl_(std::make_unique<Impl>(*this, std::move(options))) {
    if (impl_->options.per_monitor_dpi) RequestPerMonitorDpi();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES |
                                             ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    impl_->RegisterClasses();
}

NativeHost::~NativeHost() {
    CloseSplash();
    std::vector<Form*> open;
    for (auto& [f, fp] : impl_->forms) open.push_back(f);
    for (Form* f : open) impl_->DestroyPeer(*f);
    impl_->graveyard.clear();
}

void NativeHost::ShowForm(Form& form, Form* owner, bool modal) {
    FormPeer* fp = impl_->Peer(form);
    if (!form.Loaded() || !fp) {
        fp = impl_->CreatePeer(form, owner);
        MarkLoaded(form, owner, modal);
        Run([&] { form.Form_Load(); }, form.Name());
        // A load handler may unload its own form (a second copy of the program).
        fp = impl_->Peer(form);
        if (!form.Loaded() || !fp) return;
    }
    if (!fp->hwnd) return;
    ShowWindow(fp->hwnd, SW_SHOW);
    HWND focus = GetFocus();
    if (!focus || focus == fp->hwnd || GetAncestor(focus, GA_ROOT) != fp->hwnd) {
        impl_->FocusFirstStop(*fp);
    }
    UpdateWindow(fp->hwnd);
    CloseSplash();
    if (modal) impl_->RunModal(*fp);
}

void NativeHost::CloseForm(Form& form) {
    if (!RunUnload(form)) return;
    impl_->DestroyPeer(form);
}

void NativeHost::ControlChanged(Control& control, Prop prop) {
    if (ViewPeer* v = impl_->View(control)) impl_->Push(*v, prop);
}

void NativeHost::FormChanged(Form& form, Prop prop) {
    FormPeer* fp = impl_->Peer(form);
    if (!fp || !fp->hwnd) return;
    switch (prop) {
        case Prop::Caption:
            SetWindowTextW(fp->hwnd, Wide(form.Caption()).c_str());
            break;
        case Prop::Geometry:
            impl_->LayoutForm(*fp);
            break;
        case Prop::Skin:
            impl_->ApplyFrame(*fp);
            break;
        default:
            break;
    }
}

void NativeHost::Quit() {
    impl_->quit_requested = true;
    if (impl_->forms.empty()) PostQuitMessage(0);
}

int NativeHost::DpiOf(const Form& form) const {
    FormPeer* fp = impl_->Peer(form);
    return fp && fp->hwnd ? fp->dpi : 96;
}

}  // namespace orv::ui
