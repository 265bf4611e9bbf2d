// The host shows forms, runs their timers and dialogs and keeps the program
// alive: every handler runs inside Run(), which catches whatever escapes and
// reports it to the error sink instead of ending the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace orv::ui {

class Form;
class CommonDialog;

// Message box styles and answers carry their Win32 numbers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// What escaped a handler: the number and source of an orv::Error, or 0 and
// "" for any other failure, the description, and the window (form name) the
// handler belongs to; "" when it ran outside any window's handler.
struct HandlerFailure {
    std::int32_t number = 0;
    std::string source;
    std::string description;
    std::string where;
};

class Host {
  public:
    virtual ~Host() = default;

    // Creates the form's windows (giving it and its controls their handles),
    // runs Form_Load, and shows it. Modal: disables the owner until closed.
    virtual void ShowForm(Form& form, Form* owner, bool modal) = 0;
    // Runs Form_QueryUnload (which may cancel) and Form_Unload, then destroys
    // the windows and re-enables a modal form's owner.
    virtual void CloseForm(Form& form) = 0;

    // A property of a control or form changed; a native peer follows it.
    virtual void ControlChanged(Control& control, Prop prop) = 0;
    virtual void FormChanged(Form& form, Prop prop) = 0;

    virtual int MessageBox(Form* owner, std::string_view text, std::string_view title,
                           unsigned style) = 0;
    virtual bool ShowOpenDialog(Form& owner, CommonDialog& dialog) = 0;
    virtual bool ShowColorDialog(Form& owner, CommonDialog& dialog) = 0;

    // The splash picture (the bytes of the splash file) until CloseSplash or
    // until the first form is shown; unreadable data shows nothing.
    virtual void ShowSplash(const std::string& file_bytes) = 0;
    virtual void CloseSplash() = 0;

    // Processes pending window events (the yield of long loops).
    virtual void DoEvents() = 0;
    // Ends the message loop once every window is gone.
    virtual void Quit() = 0;

    // The guard around every handler. `where` names the window the handler
    // belongs to; a guard without one reports the innermost enclosing name.
    void Run(const std::function<void()>& handler, std::string_view where = {}) noexcept;
    void SetErrorSink(std::function<void(const HandlerFailure&)> sink) { sink_ = std::move(sink); }

    // Counts the events: a new number each time a guard starts while no other
    // runs. A window unloaded during one event is safe to destroy in a later
    // one, when no handler of the first can still be on the stack.
    std::uint64_t EventNumber() const { return event_; }

  protected:
    // Shared by both hosts: the bookkeeping of loading and unloading a form.
    void MarkLoaded(Form& form, Form* owner, bool modal);
    // Returns false when Form_QueryUnload cancelled.
    bool RunUnload(Form& form);

  private:
    std::function<void(const HandlerFailure&)> sink_;
    std::string_view where_;
    int depth_ = 0;
    std::uint64_t event_ = 0;
};

}  // namespace orv::ui
