// Stand-ins for tool windows whose features have not arrived yet: a small
// window with its real name and title (from its title identifier), skinned
// like every tool window, that opens modally and closes.
#pragma once

#include <string>

#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::app {

class PlaceholderWindow : public ui::Form {
  public:
    PlaceholderWindow(shell::AppContext& ctx, shell::MainWindow& main, std::string name,
                      std::string caption, std::string title_id);

    void Form_Load() override;
    void cmdClose_Click() { Unload(); }

    ui::Label lblInfo{
        *this,
        "lblInfo",
        {"This tool is not available in this version of the program.", "", 240, 240, 4575, 495}};
    ui::CommandButton cmdClose{*this, "cmdClose", {"Close", "", 3720, 900, 1095, 375}};
    shell::SkinComponent Skin1;

  private:
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    std::string title_id_;
};

// One type per window, so that each is its own single instance.
class ProcessManagerPlaceholder : public PlaceholderWindow {
  public:
    ProcessManagerPlaceholder(shell::AppContext& ctx, shell::MainWindow& main)
        : PlaceholderWindow(ctx, main, "enumfrm", "Process manager", "7002") {}
};

class SystemColorsPlaceholder : public PlaceholderWindow {
  public:
    SystemColorsPlaceholder(shell::AppContext& ctx, shell::MainWindow& main)
        : PlaceholderWindow(ctx, main, "syscolors", "Colors", "7012") {}
};

class HealthPlaceholder : public PlaceholderWindow {
  public:
    HealthPlaceholder(shell::AppContext& ctx, shell::MainWindow& main)
        : PlaceholderWindow(ctx, main, "pchealth", "System Health", "7010") {}
};

}  // namespace orv::app
