#include "tweaks/explorer.h"

#include <string>

#include "platform/text.h"
#include "readback.h"

namespace orv::tweaks {

namespace {

constexpr std::string_view kWindowTitle =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main\\Window Title";
constexpr std::string_view kEditor =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name\\";
constexpr std::string_view kStartPage =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page";
constexpr std::string_view kBackBitmap =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar\\BackBitmap";
constexpr std::string_view kDownloadDirectory =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Download Directory";
constexpr std::string_view kPersistent =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet "
    "Settings\\Cache\\Persistent";
constexpr std::string_view kFullScreen =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main\\FullScreen";
constexpr std::string_view kDisableRegistryTools =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\"
    "DisableRegistryTools";

void LoadBox(registry::RegistryPaths& reg, std::string_view path, ui::TextBox& box) {
    reg.LoadText(path, [&](const std::string& t) { box.SetText(t); });
}

}  // namespace

ExplorerPages::ExplorerPages(ui::Form& form, platform::Platform& platform, ui::Frame& options_page,
                             ui::Frame& privacy_page, ui::CommonDialog& cd1)
    : form_(form),
      platform_(platform),
      reg_(platform.registry, platform.environment),
      cd1_(cd1),
      lblchange{form,
                "lblchange",
                {"Change window title (IE 5.0 or higher)", "3013", 240, 330, 3015, 255},
                &options_page},
      changetxt{form, "changetxt", {"", "", 3360, 300, 3015, 315}, &options_page},
      lbleditor{
          form, "lbleditor", {"Source code editor", "3014", 240, 720, 3015, 255}, &options_page},
      editortxt{form, "editortxt", {"", "", 3360, 690, 2055, 315}, &options_page},
      browse3cmd{form, "browse3cmd", {"Browse", "1014", 5520, 660, 855, 375}, &options_page},
      lblhome{form, "lblhome", {"Home page", "3015", 240, 1110, 3015, 255}, &options_page},
      hometxt{form, "hometxt", {"", "", 3360, 1080, 3015, 315}, &options_page},
      lblback{form,
              "lblback",
              {"Change toolbar background wallpaper", "3012", 240, 1500, 3015, 255},
              &options_page},
      browse2cmd{form, "browse2cmd", {"Browse", "1014", 3360, 1440, 855, 375}, &options_page},
      nonecmd{form, "nonecmd", {"None", "1015", 4320, 1440, 855, 375}, &options_page},
      lbldownload{form,
                  "lbldownload",
                  {"Change download directory", "3011", 240, 1950, 3015, 255},
                  &options_page},
      txtDownloadFolder{form, "txtDownloadFolder", {"", "", 3360, 1920, 2055, 315}, &options_page},
      browsecmd{form, "browsecmd", {"Browse", "1014", 5520, 1890, 855, 375}, &options_page},
      EmptyCheck{form,
                 "EmptyCheck",
                 {"Empty temporary internet files folder when browser is closed", "5002", 240, 2430,
                  6135, 255},
                 &options_page},
      FullCheck{form, "FullCheck", {"Full Screen", "5001", 240, 2790, 3015, 255}, &options_page},
      applycmd{form, "applycmd", {"Apply", "1016", 5280, 3360, 1095, 375}, &options_page},
      ieclearh{form,
               "ieclearh",
               {"Clear Internet Explorer Typed URL History", "5003", 240, 390, 6135, 255},
               &privacy_page},
      disableregchk{form,
                    "disableregchk",
                    {"Disable Registry editor tools", "5004", 240, 750, 6135, 255},
                    &privacy_page},
      applyprivacy{form, "applyprivacy", {"Apply", "1016", 5280, 3360, 1095, 375}, &privacy_page} {
    applycmd.onClick = [this] { applycmd_Click(); };
    applyprivacy.onClick = [this] { applyprivacy_Click(); };
    browse2cmd.onClick = [this] { browse2cmd_Click(); };
    browse3cmd.onClick = [this] { browse3cmd_Click(); };
    browsecmd.onClick = [this] { browsecmd_Click(); };
    nonecmd.onClick = [this] { nonecmd_Click(); };
    EmptyCheck.onClick = [this] { EmptyCheck_Click(); };
    FullCheck.onClick = [this] { FullCheck_Click(); };
}

void ExplorerPages::Load() {
    loading_ = true;
    LoadBox(reg_, kWindowTitle, changetxt);
    LoadBox(reg_, kEditor, editortxt);
    LoadBox(reg_, kStartPage, hometxt);
    LoadBox(reg_, kDownloadDirectory, txtDownloadFolder);
    // The box says "empty the cache", the value "keep it": one is the other's inverse.
    if (auto n = reg_.RegRead(kPersistent).AsInt16(); n && (*n == 0 || *n == 1))
        EmptyCheck.SetValue(1 - *n);
    std::string full = reg_.RegReadValue(kFullScreen);
    if (text::EqualsNoCase(full, "yes")) FullCheck.SetValue(1);
    if (text::EqualsNoCase(full, "no")) FullCheck.SetValue(0);
    LoadState(reg_, kDisableRegistryTools, disableregchk);
    loading_ = false;
}

void ExplorerPages::applycmd_Click() {
    reg_.ApplyText(kWindowTitle, changetxt.Text());
    reg_.ApplyText(kEditor, editortxt.Text());
    reg_.ApplyText(kStartPage, hometxt.Text());
}

void ExplorerPages::browse2cmd_Click() {
    cd1_.filter = "Bmp Files|*.bmp";
    cd1_.title = "Choose Picture File";
    if (!cd1_.ShowOpen()) return;  // a cancelled choice changes nothing
    reg_.ApplyText(kBackBitmap, cd1_.file_name);
}

void ExplorerPages::nonecmd_Click() {
    reg_.ApplyText(kBackBitmap, "");
}

void ExplorerPages::browse3cmd_Click() {
    cd1_.filter = "Application|*.exe";
    cd1_.title = "Choose Application";
    if (!cd1_.ShowOpen()) return;
    editortxt.SetText(cd1_.file_name);
}

void ExplorerPages::browsecmd_Click() {
    std::string chosen = platform_.shell.BrowseForFolder(form_.Handle(), kDownloadFolderTitle);
    if (chosen.empty()) {
        // Cancelled: the box shows what is stored, and nothing is written (a
        // write-back could only create an empty value or change its type).
        LoadBox(reg_, kDownloadDirectory, txtDownloadFolder);
        return;
    }
    txtDownloadFolder.SetText(chosen);
    reg_.ApplyText(kDownloadDirectory, txtDownloadFolder.Text());
}

void ExplorerPages::EmptyCheck_Click() {
    if (loading_) return;
    if (EmptyCheck.Value() == 1) reg_.ApplyCheck(kPersistent, 0);
    if (EmptyCheck.Value() == 0) reg_.ApplyCheck(kPersistent, 1);
}

void ExplorerPages::FullCheck_Click() {
    if (loading_) return;
    if (FullCheck.Value() == 1) reg_.ApplyText(kFullScreen, "yes");
    if (FullCheck.Value() == 0) reg_.ApplyText(kFullScreen, "no");
}

void ExplorerPages::applyprivacy_Click() {
    if (ieclearh.Value() == 1) {
        platform::Registry& r = platform_.registry;
        r.DeleteKey(platform::kCurrentUser, kTypedUrlsKey);
        platform::HKey k = 0;
        if (r.CreateKey(platform::kCurrentUser, kTypedUrlsKey, platform::kKeyAllAccess, k) ==
            platform::kSuccess)
            r.CloseKey(k);
    }
    reg_.ApplyCheck(kDisableRegistryTools, disableregchk.Value());
}

}  // namespace orv::tweaks
