// The Win32 host: real windows for forms and controls (common controls v6,
// per-monitor DPI), timers, modal loops, dialogs and the splash picture.
// Windows only; the logic sees it as a plain `Host`.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/host.h"

namespace orv::ui {

struct NativeHostOptions {
    // Asks for per-monitor DPI awareness at run time as well, for executables
    // built without the manifest (the manifest's setting wins when present).
    bool per_monitor_dpi = true;
    // The title of message boxes shown without one.
    std::string app_title = "Orvelle";
};

class NativeHost : public Host {
  public:
    explicit NativeHost(NativeHostOptions options = {});
    ~NativeHost() override;
    NativeHost(const NativeHost&) = delete;
    NativeHost& operator=(const NativeHost&) = delete;

    // Pumps messages until the last form window is gone (or WM_QUIT arrives);
    // returns at once when no form is open. The result is WM_QUIT's code.
    int RunMessageLoop();

    void ShowForm(Form& form, Form* owner, bool modal) override;
    void CloseForm(Form& form) override;
    void ControlChanged(Control& control, Prop prop) override;
    void FormChanged(Form& form, Prop prop) override;
    int MessageBox(Form* owner, std::string_view text, std::string_view title,
                   unsigned style) override;
    bool ShowOpenDialog(Form& owner, CommonDialog& dialog) override;
    bool ShowColorDialog(Form& owner, CommonDialog& dialog) override;
    void ShowSplash(const std::string& file_bytes) override;
    void CloseSplash() override;
    void DoEvents() override;
    void Quit() override;

    // The DPI the form's window is laid out with (96 while it has no window).
    int DpiOf(const Form& form) const;
    bool SplashShown() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace orv::ui
