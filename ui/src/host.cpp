#include "ui/host.h"

#include <exception>

#include "platform/error.h"
#include "ui/form.h"

namespace orv::ui {

void Host::Run(const std::function<void()>& handler, std::string_view where) noexcept {
    if (!handler) return;
    if (depth_ == 0) ++event_;
    struct Scope {
        Host& host;
        std::string_view outer_where;
        ~Scope() {
            --host.depth_;
            host.where_ = outer_where;
        }
    } scope{*this, where_};
    ++depth_;
    if (!where.empty()) where_ = where;
    HandlerFailure failure;
    try {
        handler();
        return;
    } catch (const orv::Error& e) {
        failure = {e.Number(), e.Source(), e.what(), {}};
    } catch (const std::exception& e) {
        failure.description = e.what();
    } catch (...) {
        failure.description = "unknown failure";
    }
    failure.where = std::string(where_);
    if (sink_) {
        try {
            sink_(failure);
        } catch (...) {
            // The sink is the last line of defence; a failing sink changes nothing.
        }
    }
}

void Host::MarkLoaded(Form& form, Form* owner, bool modal) {
    form.loaded_ = true;
    form.unloaded_ = false;
    form.owner_ = owner;
    form.modal_ = modal;
}

bool Host::RunUnload(Form& form) {
    if (!form.loaded_) return true;
    // An Unload from inside the form's own QueryUnload (the main window closes
    // every window, itself included) goes straight to unloading.
    if (!form.closing_) {
        bool cancel = false;
        form.closing_ = true;
        Run([&] { cancel = form.Form_QueryUnload(); }, form.Name());
        form.closing_ = false;
        if (cancel) return false;
        if (!form.loaded_) return true;
    }
    form.loaded_ = false;
    form.unloaded_ = true;
    Run([&] { form.Form_Unload(); }, form.Name());
    return true;
}

}  // namespace orv::ui
