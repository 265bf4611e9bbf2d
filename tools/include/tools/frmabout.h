// The About window: the program's title and version as the build records
// them, the maker's contact details and a legal warning, and an OK button.
// Its texts are fixed (no language file); it is skinned like every tool window.
#pragma once

#include "shell/app_context.h"
#include "shell/build_info.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tools {

class frmabout : public ui::Form {
  public:
    frmabout(shell::AppContext& ctx, shell::MainWindow& main,
             shell::BuildInfo build = shell::ThisBuild());

    void Form_Load() override;
    void Form_Unload() override {}
    void cmdOK_Click() { Unload(); }

    ui::Label lblTitle{*this, "lblTitle", {"Application Title", "", 1440, 240, 4215, 480}};
    ui::Label lblVersion{*this, "lblVersion", {"Version", "", 1440, 780, 4215, 300}};
    ui::Label lblDisclaimer{*this,
                            "lblDisclaimer",
                            {" Warning: this computer program is protected by copyright law and "
                             "international treaties. Unauthorized reproduction or distribution "
                             "of this program, or any portion of it, may result in severe civil "
                             "and criminal penalties, and will be prosecuted to the maximum "
                             "extent possible under the law.",
                             "", 255, 2535, 5595, 1170}};
    ui::Label SkinLabel1{*this,
                         "SkinLabel1",
                         {"Contact Info.\nWeb: www.orvelle.example.com\n"
                          "Support: support@orvelle.example.com",
                          "", 1440, 1200, 4215, 900}};
    ui::CommandButton cmdOK{*this, "cmdOK", {"OK", "", 4620, 3900, 1215, 375}};
    shell::SkinComponent Skin1;

  private:
    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    shell::BuildInfo build_;
};

}  // namespace orv::tools
