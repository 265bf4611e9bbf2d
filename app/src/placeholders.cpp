#include "app/placeholders.h"

#include "shell/language.h"

namespace orv::app {

PlaceholderWindow::PlaceholderWindow(shell::AppContext& ctx, shell::MainWindow& main,
                                     std::string name, std::string caption, std::string title_id)
    : ui::Form(ctx.host, std::move(name), std::move(caption), 5190, 1860),
      ctx_(ctx),
      main_(main),
      title_id_(std::move(title_id)) {
    cmdClose.onClick = [this] { cmdClose_Click(); };
}

// As every tool window: the title from its identifier, then the skin.
void PlaceholderWindow::Form_Load() {
    SetCaption(shell::Language::Chosen(ctx_.platform).Text(title_id_));
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
}

}  // namespace orv::app
