// The program: the one place where the windows, the error log and the
// features are put together over a host and a platform. The Windows entry
// point and the tests both start the program through it.
#pragma once

#include <set>
#include <string>

#include "shell/app_context.h"
#include "shell/error_log.h"
#include "ui/form.h"
#include "ui/host.h"

namespace orv::app {

class mainform;

// What the host's guard caught is logged under the window it came from, with
// the failure's source as the procedure: "ERROR: 5 at mainform\sysinfo >>> ...".
// A failure without a source is "<window>\Run", one outside every window's
// handler "Host\Run".
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
    void LogOnce(const ui::HandlerFailure& failure);

    shell::ErrorLog log_;
    // The failures already logged this run: a handler that fails on every
    // tick of a timer writes one line, not three a second.
    std::set<std::string> logged_;
    ui::Forms forms_;
    shell::AppContext ctx_;
};

}  // namespace orv::app
