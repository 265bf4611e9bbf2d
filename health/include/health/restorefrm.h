// The Restore window: the backups the health checks made, newest first, and
// a Restore button that puts the chosen one back after one question.
#pragma once

#include <ctime>
#include <functional>
#include <vector>

#include "health/backup.h"
#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::health {

class restorefrm : public ui::Form {
  public:
    restorefrm(shell::AppContext& ctx, shell::MainWindow& main,
               std::function<std::tm()> clock = {});

    void Form_Load() override;
    void cmdRestore_Click();
    void cmdClose_Click() { Unload(); }

    ui::ListView lstBackups{*this, "lstBackups", {"", "", 120, 120, 6855, 2775}};
    ui::CommandButton cmdRestore{*this, "cmdRestore", {"Restore", "", 4440, 3060, 1215, 375}};
    ui::CommandButton cmdClose{*this, "cmdClose", {"Close", "", 5760, 3060, 1215, 375}};
    shell::SkinComponent Skin1;

    const std::vector<BackupInfo>& Backups() const { return backups_; }

  private:
    void FillList();

    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    BackupStore store_;
    std::vector<BackupInfo> backups_;
};

}  // namespace orv::health
