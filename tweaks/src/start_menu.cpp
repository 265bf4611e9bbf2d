#include "tweaks/start_menu.h"

#include <string>
#include <vector>

#include "readback.h"
#include "ui/host.h"

namespace orv::tweaks {

using platform::FoundFile;

namespace {

constexpr std::string_view kMenuDelay = "Control Panel\\Desktop\\MenuShowDelay";
constexpr std::string_view kWheelLines = "Control Panel\\Desktop\\WheelScrollLines";
constexpr std::string_view kMenuDelayUser = "HKCU\\Control Panel\\Desktop\\MenuShowDelay";
constexpr std::string_view kWheelLinesUser = "HKCU\\Control Panel\\Desktop\\WheelScrollLines";

#define ORV_POLICY "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
constexpr std::string_view kNoDispCpl = ORV_POLICY "System\\NoDispCPL";
constexpr std::string_view kNoClose = ORV_POLICY "Explorer\\NoClose";
constexpr std::string_view kNoRun = ORV_POLICY "Explorer\\NoRun";
constexpr std::string_view kNoFind = ORV_POLICY "Explorer\\NoFind";
constexpr std::string_view kNoRecentDocs = ORV_POLICY "Explorer\\NoRecentDocsMenu";
constexpr std::string_view kNoFavorites = ORV_POLICY "Explorer\\NoFavoritesMenu";
constexpr std::string_view kNoTrayMenu = ORV_POLICY "Explorer\\NoTrayContextMenu";
constexpr std::string_view kNoDesktop = ORV_POLICY "Explorer\\NoDesktop";
constexpr std::string_view kNoInternetIcon = ORV_POLICY "Explorer\\NoInternetIcon";
constexpr std::string_view kNoViewMenu = ORV_POLICY "Explorer\\NoViewContextMenu";
#undef ORV_POLICY

// ExitWindowsEx's reason argument as the page has always passed it.
constexpr std::uint32_t kLogOffReason = 2;

void FillNumbers(ui::ComboBox& combo, int last) {
    combo.Clear();
    for (int i = 1; i <= last; ++i) combo.AddItem(std::to_string(i));
}

void LoadComboText(registry::RegistryPaths& reg, std::string_view path, ui::ComboBox& combo) {
    auto read = reg.RegRead(path);
    if (read) combo.SetText(read.AsText());
}

}  // namespace

StartMenuPages::StartMenuPages(ui::Form& form, platform::Platform& platform, ui::Frame& start_page,
                               ui::Frame& desktop_page, ui::CommandButton& applymenu,
                               std::function<void()> reskin)
    : form_(form),
      platform_(platform),
      reg_(platform.registry, platform.environment),
      applymenu_(applymenu),
      reskin_(std::move(reskin)),
      mdelaylabel{
          form, "mdelaylabel", {"Show menu Delay", "3040", 240, 390, 1455, 255}, &start_page},
      mdelaycombo{form, "mdelaycombo", {"", "", 1740, 330, 1095, 315}, &start_page},
      wheellabel{form, "wheellabel", {"Wheel Scroll", "3041", 3240, 390, 1215, 255}, &start_page},
      wheelcombo{form, "wheelcombo", {"", "", 4500, 330, 1095, 315}, &start_page},
      expandcp{form,
               "expandcp",
               {"Add an Expanding Control Panel to Start Menu", "5016", 240, 840, 6300, 255},
               &start_page},
      denydisplay{form,
                  "denydisplay",
                  {"Deny Access to Display Settings Page", "5017", 240, 1170, 6300, 255},
                  &start_page},
      shutchk{form,
              "shutchk",
              {"Remove the Shut Down  command", "5018", 240, 1500, 3135, 255},
              &start_page},
      runchk{
          form, "runchk", {"Remove the Run command", "5026", 3480, 1500, 3135, 255}, &start_page},
      findchk{
          form, "findchk", {"Remove the Find command", "5019", 240, 1830, 3135, 255}, &start_page},
      recentchk{form,
                "recentchk",
                {"Remove Recent Documents", "5020", 3480, 1830, 3135, 255},
                &start_page},
      favchk{form, "favchk", {"Remove Favorites", "5021", 240, 2160, 3135, 255}, &start_page},
      taskbarchk{form,
                 "taskbarchk",
                 {"Disable Taskbar Context Menus", "5022", 3480, 2160, 3135, 255},
                 &start_page},
      hideall{
          form, "hideall", {"Hide all Desktop items", "5023", 240, 390, 6300, 255}, &desktop_page},
      ieiconchk{form,
                "ieiconchk",
                {"Remove Internet Explorer icon from desktop", "5024", 240, 750, 6300, 255},
                &desktop_page},
      dskrightchk{form,
                  "dskrightchk",
                  {"Disable the Ability to Right Click on the Desktop && Explorer", "5025", 240,
                   1110, 6300, 255},
                  &desktop_page},
      applydesktop{form, "applydesktop", {"Apply", "1016", 4200, 3360, 1095, 375}, &desktop_page},
      desktopCommand{
          form, "desktopCommand", {"Apply", "1016", 5520, 3360, 1095, 375}, &desktop_page} {
    for (ui::CheckBox* box :
         {&expandcp, &denydisplay, &shutchk, &runchk, &findchk, &recentchk, &favchk, &taskbarchk})
        box->onClick = [this] { MarkChanged(); };
    for (ui::ComboBox* combo : {&mdelaycombo, &wheelcombo}) {
        combo->SetText("Choose");
        combo->onClick = [this] { MarkChanged(); };
        combo->onChange = [this] { MarkChanged(); };
    }
    applymenu_.onClick = [this] { applymenu_Click(); };
    applydesktop.onClick = [this] { applydesktop_Click(); };
    desktopCommand.onClick = [this] { applydesktop_Click(); };
}

void StartMenuPages::MarkChanged() {
    applymenu_.SetEnabled(true);
}

std::optional<StartMenuPages::Found> StartMenuPages::FindExpandingControlPanel() {
    std::string folder = reg_.RegReadValue(kStartMenuFolderPath);
    if (folder == "Error") return std::nullopt;
    std::vector<FoundFile> found;
    platform::Status s =
        platform_.files.ListFiles(folder + "\\*." + std::string(kControlPanelClsid), found);
    // A Start Menu folder that is not there holds no Control Panel either.
    if (s == platform::kFileNotFound || s == platform::kPathNotFound) return Found{folder, {}};
    if (s != platform::kSuccess) return std::nullopt;
    // Directories and hidden names count; system ones do not (attributes 16 + 2).
    for (const FoundFile& f : found)
        if (!(f.attributes & platform::kAttrSystem)) return Found{folder, f.name};
    return Found{folder, {}};
}

void StartMenuPages::ReadRestrictions() {
    LoadState(reg_, kNoClose, shutchk);
    LoadState(reg_, kNoRun, runchk);
    LoadState(reg_, kNoFind, findchk);
    LoadState(reg_, kNoRecentDocs, recentchk);
}

void StartMenuPages::Load() {
    FillNumbers(mdelaycombo, 999);
    LoadComboText(reg_, kMenuDelayUser, mdelaycombo);
    FillNumbers(wheelcombo, 100);
    LoadComboText(reg_, kWheelLinesUser, wheelcombo);
    LoadState(reg_, kNoDispCpl, denydisplay);
    if (auto cp = FindExpandingControlPanel()) expandcp.SetValue(cp->name.empty() ? 0 : 1);
    ReadRestrictions();
    LoadState(reg_, kNoFavorites, favchk);
    LoadState(reg_, kNoTrayMenu, taskbarchk);
    LoadState(reg_, kNoDesktop, hideall);
    LoadState(reg_, kNoInternetIcon, ieiconchk);
    LoadState(reg_, kNoViewMenu, dskrightchk);
}

void StartMenuPages::ApplyExpandingControlPanel() {
    auto cp = FindExpandingControlPanel();
    if (!cp) return;  // the folder's state is unknown: leave it alone
    if (expandcp.Value() == 0) {
        if (!cp->name.empty()) platform_.files.RemoveFolder(cp->folder + "\\" + cp->name);
    } else if (cp->name.empty()) {
        platform_.files.CreateFolder(cp->folder + "\\Control Panel." +
                                     std::string(kControlPanelClsid));
    }
}

void StartMenuPages::applymenu_Click() {
    ui::Host& host = form_.GetHost();
    if (host.MessageBox(&form_, kRestartQuestion, form_.Caption(), ui::kMbYesNo) != ui::kIdYes) {
        ReadRestrictions();
        LoadState(reg_, kNoTrayMenu, taskbarchk);
        LoadState(reg_, kNoDispCpl, denydisplay);
        if (auto cp = FindExpandingControlPanel()) expandcp.SetValue(cp->name.empty() ? 0 : 1);
        if (reskin_) reskin_();
        return;
    }
    // The placeholder "Choose" (nothing could be read) is never stored as a delay.
    if (IsWholeNumber(mdelaycombo.Text()))
        reg_.ApplyBothProfiles(kMenuDelay, registry::RegData{mdelaycombo.Text()});
    if (IsWholeNumber(wheelcombo.Text()))
        reg_.ApplyBothProfiles(kWheelLines, registry::RegData{wheelcombo.Text()});
    ApplyExpandingControlPanel();
    reg_.ApplyCheck(kNoDispCpl, denydisplay.Value());
    reg_.ApplyCheck(kNoClose, shutchk.Value());
    reg_.ApplyCheck(kNoRun, runchk.Value());
    reg_.ApplyCheck(kNoFind, findchk.Value());
    reg_.ApplyCheck(kNoRecentDocs, recentchk.Value());
    reg_.ApplyCheck(kNoFavorites, favchk.Value());
    reg_.ApplyCheck(kNoTrayMenu, taskbarchk.Value());
    platform_.sysparams.ExitSession(platform::kEwxLogOff, kLogOffReason);
}

void StartMenuPages::applydesktop_Click() {
    reg_.ApplyCheck(kNoDesktop, hideall.Value());
    reg_.ApplyCheck(kNoInternetIcon, ieiconchk.Value());
    reg_.ApplyCheck(kNoViewMenu, dskrightchk.Value());
}

}  // namespace orv::tweaks
