// The program: the one place where the windows, the error log and the
// features are put together over a host and a platform. The Windows entry
// point and the tests both start the program through it.
#pragma once

#include "shell/app_context.h"
#include "shell/error_log.h"
#include "ui/form.h"
#include "ui/host.h"

namespace orv::app {

class mainform;

// Module and procedure of the log lines written for failures that the host's
// guard caught: "ERROR: 0 at Host\Run >>> <what failed>".
inline constexpr std::string_view kGuardModule = "Host";
inline constexpr std::string_view kGuardProcedure = "Run";

class Program {
  public:
    Program(ui::Host& host, platform::Platform& platform);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Creates the main window, lets the features attach to it, and shows it
    // (its load is the start-up). False when this copy ended at once because
    // another copy of the program is running.
    bool Start();

    mainform& Main();
    shell::AppContext& Context() { return ctx_; }

  private:
    shell::ErrorLog log_;
    ui::Forms forms_;
    shell::AppContext ctx_;
};

}  // namespace orv::app
