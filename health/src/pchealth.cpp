#include "health/pchealth.h"

#include "health/restorefrm.h"
#include "shell/language.h"

namespace orv::health {

using namespace orv::platform;

namespace {

constexpr int kFrameWidth = 5175;
// The frames fill an 11010 x 5445 twip client area; the skinned caption bar
// (26 pixels) is drawn inside the window, so the window is that much taller.
constexpr int kCaptionTwips = 390;

std::string Numbered(const char* base, int index) {
    return std::string(base) + std::to_string(index);
}

}  // namespace

pchealth::CheckFrame::CheckFrame(pchealth& w, ui::Frame& outer, int index, const char* frame_name,
                                 const char* caption, int left, int top, int height,
                                 const char* button_name, const char* bar_name,
                                 const char* errors_name, const char* repaired_name)
    : frame(w, frame_name, {caption, "", left, top, kFrameWidth, height}, &outer),
      button(w, button_name, {"Check && Repair", "", 120, 300, 1575, 375}, &frame),
      bar(w, bar_name, {"", "", 1815, 360, 3195, 255}, &frame),
      errors_caption(w, Numbered("lblErrors", index),
                     {"Total Errors Found :", "", 120, 780, 1695, 225}, &frame),
      errors(w, errors_name, {"", "", 1815, 780, 975, 225}, &frame),
      repaired_caption(w, Numbered("lblRepaired", index),
                       {"Repaired                :", "", 120, 1020, 1695, 225}, &frame),
      repaired(w, repaired_name, {"", "", 1815, 1020, 975, 225}, &frame) {}

pchealth::pchealth(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "pchealth", "System Health", 11010, 5445 + kCaptionTwips),
      ctx_(ctx),
      main_(main) {
    Command1.onClick = [this] { Command1_Click(); };
    restorecmd.onClick = [this] { restorecmd_Click(); };
    SR.button.onClick = [this] { checkcmd_Click(); };
    AP.button.onClick = [this] { check2cmd_Click(); };
    OS.button.onClick = [this] { check3cmd_Click(); };
    HF.button.onClick = [this] { check4cmd_Click(); };
    HP.button.onClick = [this] { check5cmd_Click(); };
    SC.button.onClick = [this] { check6cmd_Click(); };
}

void pchealth::Form_Load() {
    SetCaption(shell::Language::Chosen(ctx_.platform).Text("7010"));
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
    FillDrives();
}

// The drive letters that answer, the program's own drive chosen. Floppy
// letters are not probed: asking an empty floppy drive takes seconds.
void pchealth::FillDrives() {
    ODrive.Clear();
    const std::string program = ctx_.platform.files.ProgramFolder();
    const char current =
        program.size() >= 2 && program[1] == ':' ? static_cast<char>(program[0] | 0x20) : 'c';
    int chosen = -1;
    for (char letter = 'c'; letter <= 'z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        const std::uint32_t attributes = ctx_.platform.files.GetAttributes(root);
        if (attributes == kInvalidAttributes || !(attributes & kAttrDirectory)) continue;
        if (letter == current) chosen = static_cast<int>(ODrive.Items().size());
        ODrive.AddItem(std::string(1, letter) + ":");
    }
    if (ODrive.Items().empty()) ODrive.AddItem(std::string(1, current) + ":");
    ODrive.SetListIndex(chosen < 0 ? 0 : chosen);
}

void MoveBar(ui::ProgressBar& bar, std::size_t index, std::size_t count) {
    if (count < 2) return;
    bar.SetRange(0, static_cast<int>(count - 1));
    bar.SetValue(static_cast<int>(index));
}

void pchealth::SetBusy(bool busy) {
    busy_ = busy;
    for (CheckFrame* f : {&SR, &AP, &OS, &HF, &HP, &SC}) f->button.SetEnabled(!busy);
    Command1.SetEnabled(!busy);
    restorecmd.SetEnabled(!busy);
}

void pchealth::Run(CheckFrame& f, std::string_view check, ScanResult& keep,
                   const std::function<ScanResult(const Progress&)>& scan) {
    if (busy_) return;
    SetBusy(true);
    struct Idle {
        pchealth& w;
        ~Idle() { w.SetBusy(false); }
    } idle{*this};

    f.errors.SetCaption("");
    f.repaired.SetCaption("");
    keep = ScanResult{};
    keep = scan([&](std::size_t i, std::size_t n) { MoveBar(f.bar, i, n); });
    const std::size_t found = keep.stale.size();
    f.errors.SetCaption(std::to_string(found));

    int removed = 0;
    if (found > 0) {
        BackupInfo backup;
        BackupStore store(ctx_.platform, clock);
        if (store.Write(check, keep.stale, backup) != kSuccess) {
            f.repaired.SetCaption("0");
            ctx_.host.MessageBox(
                this,
                "The backup of what this check would remove could not be "
                "written, so nothing was removed.\n" +
                    (store.Root().empty() ? std::string("(no LOCALAPPDATA)") : store.Root()),
                "System Health", ui::kMbOk | ui::kMbIconWarning);
            return;
        }
        last_backup = backup;
        for (std::size_t j = 0; j < found; ++j) {
            MoveBar(f.bar, j, found);
            if (CarryOut(ctx_.platform, keep.stale[j])) ++removed;
            ctx_.host.DoEvents();
        }
    }
    f.bar.SetValue(f.bar.Max());
    f.repaired.SetCaption(std::to_string(removed));
}

void pchealth::checkcmd_Click() {
    Run(SR, "Uninstall entries", removal_run,
        [this](const Progress& pr) { return ScanUninstall(ctx_.platform, pr); });
}

void pchealth::check2cmd_Click() {
    Run(AP, "Application paths", path_run,
        [this](const Progress& pr) { return ScanAppPaths(ctx_.platform, pr); });
}

void pchealth::check3cmd_Click() {
    if (busy_) return;
    const std::string drive = ODrive.SelectedText().substr(0, 2);
    Run(OS, "Orphan shortcuts", shortcut_run, [&](const Progress&) {
        ScanResult r = ScanShortcuts(ctx_.platform, drive + "\\", [this](const std::string& dir) {
            ctx_.host.DoEvents();
            label29.SetCaption(dir);
        });
        label29.SetCaption("Wait ...");
        return r;
    });
    std::string done = "Done ...";
    if (shortcut_run.skipped > 0)
        done += " " + std::to_string(shortcut_run.skipped) + " shortcut(s) could not be read";
    if (shortcut_run.unreadable_folders > 0)
        done += std::string(shortcut_run.skipped > 0 ? "," : "") + " " +
                std::to_string(shortcut_run.unreadable_folders) + " folder(s) could not be listed";
    label29.SetCaption(done);
}

void pchealth::check4cmd_Click() {
    Run(HF, "Histories", history_run,
        [this](const Progress& pr) { return ScanHistory(ctx_.platform, pr); });
}

void pchealth::check5cmd_Click() {
    Run(HP, "Help files", help_run,
        [this](const Progress&) { return ScanHelpFiles(ctx_.platform); });
}

void pchealth::check6cmd_Click() {
    Run(SC, "Shared components", shared_run,
        [this](const Progress& pr) { return ScanSharedDlls(ctx_.platform, pr); });
}

void pchealth::restorecmd_Click() {
    ctx_.forms.Get<restorefrm>(ctx_, main_, clock).Show(this, true);
}

}  // namespace orv::health
