// The "Start Menu" and "Desktop" pages of the visual panel: the menu delay
// and wheel lines, the expanding Control Panel folder, the shell
// restrictions of the Start menu and of the desktop. Every control shows what
// is stored when the window loads; the Start Menu page's Apply asks first and
// logs the user off, so that the shell takes the restrictions at next logon.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "registry/regpath.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tweaks {

// The folder name's extension is the Control Panel's class identifier; any
// name with that extension opens as the expanding Control Panel.
inline constexpr std::string_view kControlPanelClsid = "{21EC2020-3AEA-1069-A2DD-08002B30309D}";
inline constexpr std::string_view kStartMenuFolderPath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
    "Folders\\Start Menu";
inline constexpr std::string_view kRestartQuestion = "Are you sure to restart?";

class StartMenuPages {
  public:
    // `start_page` and `desktop_page` are the tab strip's page frames;
    // `applymenu` is the Start Menu page's Apply, which the window owns and
    // disables at the end of its load. `reskin` draws the window's controls
    // again (after the No answer).
    StartMenuPages(ui::Form& form, platform::Platform& platform, ui::Frame& start_page,
                   ui::Frame& desktop_page, ui::CommandButton& applymenu,
                   std::function<void()> reskin);

    // The read-back of the window's load.
    void Load();

    void applymenu_Click();
    void applydesktop_Click();

  private:
    ui::Form& form_;
    platform::Platform& platform_;
    registry::RegistryPaths reg_;
    ui::CommandButton& applymenu_;
    std::function<void()> reskin_;

    void MarkChanged();
    void ReadRestrictions();
    // The expanding Control Panel in the Start Menu folder: its name when
    // there is one, "" when there is none, nothing when that cannot be told
    // (no Start Menu folder stored, or the folder cannot be listed).
    struct Found {
        std::string folder;  // the Start Menu folder
        std::string name;    // "" when absent
    };
    std::optional<Found> FindExpandingControlPanel();
    void ApplyExpandingControlPanel();

  public:
    // Start Menu page.
    ui::Label mdelaylabel;
    ui::ComboBox mdelaycombo;
    ui::Label wheellabel;
    ui::ComboBox wheelcombo;
    ui::CheckBox expandcp;
    ui::CheckBox denydisplay;
    ui::CheckBox shutchk;
    ui::CheckBox runchk;
    ui::CheckBox findchk;
    ui::CheckBox recentchk;
    ui::CheckBox favchk;
    ui::CheckBox taskbarchk;
    // Desktop page.
    ui::CheckBox hideall;
    ui::CheckBox ieiconchk;
    ui::CheckBox dskrightchk;
    ui::CommandButton applydesktop;
    ui::CommandButton desktopCommand;
};

}  // namespace orv::tweaks
