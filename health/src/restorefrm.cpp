#include "health/restorefrm.h"

namespace orv::health {

restorefrm::restorefrm(shell::AppContext& ctx, shell::MainWindow& main,
                       std::function<std::tm()> clock)
    : ui::Form(ctx.host, "restorefrm", "Restore", 7095, 3945),
      ctx_(ctx),
      main_(main),
      store_(ctx.platform, std::move(clock)) {
    cmdRestore.onClick = [this] { cmdRestore_Click(); };
    cmdClose.onClick = [this] { cmdClose_Click(); };
    lstBackups.AddColumn("Date and time", 2175);
    lstBackups.AddColumn("Check", 2775);
    lstBackups.AddColumn("Entries", 1500);
}

void restorefrm::Form_Load() {
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
    FillList();
}

void restorefrm::FillList() {
    backups_ = store_.List();
    lstBackups.ClearItems();
    for (const BackupInfo& b : backups_)
        lstBackups.AddItem({b.date, {b.check, std::to_string(b.entries)}});
    if (!backups_.empty()) lstBackups.Select(0);
}

void restorefrm::cmdRestore_Click() {
    const int i = lstBackups.SelectedIndex();
    if (i < 0 || i >= static_cast<int>(backups_.size())) return;
    const BackupInfo b = backups_[static_cast<std::size_t>(i)];
    const std::string question = "Restore the " + std::to_string(b.entries) +
                                 " entries removed by " + b.check + " on " + b.date + "?";
    if (ctx_.host.MessageBox(this, question, "Restore", ui::kMbYesNo | ui::kMbIconQuestion) !=
        ui::kIdYes)
        return;
    RestoreOutcome outcome = store_.Restore(b);
    if (outcome.failed > 0)
        ctx_.host.MessageBox(this,
                             std::to_string(outcome.failed) +
                                 " entries could not be restored. The backup is kept in\n" +
                                 b.folder,
                             "Restore", ui::kMbOk | ui::kMbIconWarning);
}

}  // namespace orv::health
