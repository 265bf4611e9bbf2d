// The Explorer panel's two pages: Internet Explorer's options (window title,
// source editor, home page, toolbar picture, download folder, cache and full
// screen) and privacy (typed-address history, the registry editor lock).
// Every control shows the stored value once the window has loaded, so an
// Apply writes back what the user left alone unchanged.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "registry/regpath.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tweaks {

inline constexpr std::string_view kDownloadFolderTitle = "Please Select a new Dowload Folder";
inline constexpr std::string_view kTypedUrlsKey =
    "Software\\Microsoft\\Internet Explorer\\TypedURLs";

class ExplorerPages {
  public:
    // `options_page` and `privacy_page` are the tab strip's page frames;
    // `cd1` is the window's one open-file dialog, shared with other pages.
    ExplorerPages(ui::Form& form, platform::Platform& platform, ui::Frame& options_page,
                  ui::Frame& privacy_page, ui::CommonDialog& cd1);

    // The read-back of the window's load. The check boxes act on a click, so
    // setting them here must not write.
    void Load();

    void applycmd_Click();
    void applyprivacy_Click();
    void browse2cmd_Click();
    void browse3cmd_Click();
    void browsecmd_Click();
    void nonecmd_Click();
    void EmptyCheck_Click();
    void FullCheck_Click();

  private:
    ui::Form& form_;
    platform::Platform& platform_;
    registry::RegistryPaths reg_;
    ui::CommonDialog& cd1_;
    bool loading_ = false;

  public:
    // Explorer Options page.
    ui::Label lblchange;
    ui::TextBox changetxt;
    ui::Label lbleditor;
    ui::TextBox editortxt;
    ui::CommandButton browse3cmd;
    ui::Label lblhome;
    ui::TextBox hometxt;
    ui::Label lblback;
    ui::CommandButton browse2cmd;
    ui::CommandButton nonecmd;
    ui::Label lbldownload;
    ui::TextBox txtDownloadFolder;
    ui::CommandButton browsecmd;
    ui::CheckBox EmptyCheck;
    ui::CheckBox FullCheck;
    ui::CommandButton applycmd;
    // Privacy page.
    ui::CheckBox ieclearh;
    ui::CheckBox disableregchk;
    ui::CommandButton applyprivacy;
};

}  // namespace orv::tweaks
