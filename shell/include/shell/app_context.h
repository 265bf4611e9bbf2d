// What every window of the program is created with: the host that shows it,
// the platform, the single instances of the windows, and the error log. No
// globals: the program (or a test) builds one context and hands it down.
#pragma once

#include "platform/platform.h"
#include "shell/error_log.h"
#include "ui/form.h"
#include "ui/host.h"

namespace orv::shell {

struct AppContext {
    ui::Host& host;
    platform::Platform& platform;
    ui::Forms& forms;
    ErrorLog& log;
};

// What the tool windows need of the main window: its skin walk, which draws
// their controls through the main window's own skin component.
class MainWindow {
  public:
    virtual void SkinForm(ui::Form& frm) = 0;

  protected:
    ~MainWindow() = default;
};

}  // namespace orv::shell
