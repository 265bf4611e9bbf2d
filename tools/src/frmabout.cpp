#include "tools/frmabout.h"

namespace orv::tools {

frmabout::frmabout(shell::AppContext& ctx, shell::MainWindow& main, shell::BuildInfo build)
    : ui::Form(ctx.host, "frmabout", "About", 6180, 4785),
      ctx_(ctx),
      main_(main),
      build_(std::move(build)) {
    cmdOK.onClick = [this] { cmdOK_Click(); };
}

void frmabout::Form_Load() {
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
    lblVersion.SetCaption(shell::VersionText(build_));
    lblTitle.SetCaption(build_.product);
}

}  // namespace orv::tools
