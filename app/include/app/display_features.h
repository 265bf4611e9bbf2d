// The display options page, the drives panel, the system information panel
// and the system colours editor, attached to the main window.
#pragma once

namespace orv::tweaks {
class DisplayPanel;
class DrivesPanel;
}  // namespace orv::tweaks
namespace orv::monitor {
class SystemInfoPanel;
}  // namespace orv::monitor

namespace orv::app {

class mainform;

struct DisplayFeatures {
    tweaks::DisplayPanel& display;
    tweaks::DrivesPanel& drives;
    monitor::SystemInfoPanel& system_info;
};

// Creates the panels on their frames, fills the start-up hooks they own, and
// makes "System Colors" open the colours editor.
DisplayFeatures AttachDisplayFeatures(mainform& main);

}  // namespace orv::app
