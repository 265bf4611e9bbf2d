// The System Health window: six checks, each in its own frame with a
// "Check & Repair" button, a progress bar and two counts (errors found,
// entries actually removed). A run scans, backs up everything it will remove
// (backup.h), removes it, and shows the counts; "Restore..." opens the list
// of backups. While a run goes on the buttons are disabled: the run yields to
// the event loop so the window repaints, but no run can start inside another.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "health/backup.h"
#include "health/scans.h"
#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::health {

class pchealth : public ui::Form {
  public:
    pchealth(shell::AppContext& ctx, shell::MainWindow& main);

    void Form_Load() override;
    // The close box is refused while a run is inside one of its yields: the
    // run still holds this window's controls and work lists.
    bool Form_QueryUnload() override { return busy_; }
    void Command1_Click() { Unload(); }
    void restorecmd_Click();
    void checkcmd_Click();
    void check2cmd_Click();
    void check3cmd_Click();
    void check4cmd_Click();
    void check5cmd_Click();
    void check6cmd_Click();

    // One check's frame: its controls and what its last run left.
    struct CheckFrame {
        CheckFrame(pchealth& w, ui::Frame& outer, int index, const char* frame_name,
                   const char* caption, int left, int top, int height, const char* button,
                   const char* bar, const char* errors, const char* repaired);
        ui::Frame frame;
        ui::CommandButton button;
        ui::ProgressBar bar;
        ui::Label errors_caption;
        ui::Label errors;
        ui::Label repaired_caption;
        ui::Label repaired;
    };

    ui::Frame HealthFrame{*this, "HealthFrame", {"System Health", "", 0, 0, 11010, 5445}};
    CheckFrame SR{*this,    HealthFrame, 1,    "SRFrame",  "Software removal entries in Registry",
                  240,      240,         1335, "checkcmd", "RemovalProgressBar",
                  "Elabel", "Rlabel"};
    CheckFrame AP{
        *this,     HealthFrame, 2,    "APFrame",   "Application paths entries in Registry",
        240,       1680,        1335, "check2cmd", "PathProgressBar",
        "t2label", "R2label"};
    CheckFrame OS{*this,     HealthFrame, 3,    "OSFrame",   "Orphan Shortcuts",
                  240,       3120,        1815, "check3cmd", "OrphanProgressBar",
                  "E3label", "R3label"};
    CheckFrame HF{*this,     HealthFrame, 4,    "HFrame",    "Histories",
                  5520,      240,         1335, "check4cmd", "HistoryProgressBar",
                  "t4label", "R4label"};
    CheckFrame HP{*this, HealthFrame, 5,           "HelpFrame",       "Help files", 5520,
                  1680,  1335,        "check5cmd", "HelpProgressBar", "e5label",    "R5label"};
    CheckFrame SC{*this,     HealthFrame, 6,    "SCFrame",   "Shared Components",
                  5520,      3120,        1335, "check6cmd", "SharedProgressBar",
                  "E6label", "R6label"};
    ui::DriveList ODrive{*this, "ODrive", {"", "", 3120, 780, 1935, 315}, &OS.frame};
    ui::Label label29{*this, "label29", {"", "", 120, 1380, 4935, 255}, &OS.frame};
    ui::CommandButton restorecmd{
        *this, "restorecmd", {"Restore...", "", 8160, 4800, 1215, 375}, &HealthFrame};
    ui::CommandButton Command1{
        *this, "Command1", {"Close", "", 9480, 4800, 1215, 375}, &HealthFrame};
    shell::SkinComponent Skin1;

    // The work lists of the last run of each check (never shown).
    ScanResult removal_run, path_run, shortcut_run, history_run, help_run, shared_run;
    // The backup of the last run that removed something ("" folder if none).
    BackupInfo last_backup;
    // The clock of the backup folders' names; tests set a fixed one.
    std::function<std::tm()> clock;

  private:
    // Scan, back up, remove, count: the run every check shares.
    void Run(CheckFrame& f, std::string_view check, ScanResult& keep,
             const std::function<ScanResult(const Progress&)>& scan);
    void SetBusy(bool busy);
    void FillDrives();

    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    bool busy_ = false;
};

// A pass over `count` items as the bar shows it: maximum count - 1, the
// position of the item in hand; a range below 1 keeps the bar as it is.
void MoveBar(ui::ProgressBar& bar, std::size_t index, std::size_t count);

}  // namespace orv::health
