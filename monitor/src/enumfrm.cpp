#include "monitor/enumfrm.h"

#include <charconv>

#include "shell/language.h"

namespace orv::monitor {

using namespace orv::platform;

std::string ProcessFileName(std::string_view exe_file) {
    exe_file = exe_file.substr(0, exe_file.find('\0'));
    const auto slash = exe_file.rfind('\\');
    return std::string(slash == std::string_view::npos ? exe_file : exe_file.substr(slash + 1));
}

void Kill_Process(Processes& processes, shell::ErrorLog& log, std::uint32_t process_id,
                  std::optional<std::int64_t> created) {
    auto fail = [&](Status st, std::string_view text) {
        log.LogError(st, text, kProcessModule, "Kill_Process");
    };
    ProcessHandle h = 0;
    if (Status st =
            processes.OpenProcess(kProcessTerminate | kProcessQueryInformation, process_id, h))
        fail(st, "OpenProcess failed");
    if (h && created && *created != 0) {
        std::int64_t now = 0;
        Status st = processes.CreationTime(h, now);
        if (st != kSuccess || now != *created) {
            fail(st != kSuccess ? st : kInvalidParameter,
                 "The process id belongs to another process now; not terminated");
            processes.CloseHandle(h);
            return;
        }
    }
    std::uint32_t code = 0;
    if (Status st = processes.GetExitCode(h, code)) fail(st, "GetExitCodeProcess failed");
    if (Status st = processes.Terminate(h, code)) fail(st, "TerminateProcess failed");
    if (Status st = processes.CloseHandle(h)) fail(st, "CloseHandle failed");
}

enumfrm::enumfrm(shell::AppContext& ctx, shell::MainWindow& main)
    : ui::Form(ctx.host, "enumfrm", "Process manager", 5430, 5580), ctx_(ctx), main_(main) {
    info.AddColumn("Process Name", 3000);
    info.AddColumn("Process ID", 1500);
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    terminatecmd.onClick = [this] { terminatecmd_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void enumfrm::Form_Load() {
    SetCaption(shell::Language::Chosen(ctx_.platform).Text("7002"));
    rows_.clear();
    info.SetItems({}, -1);
    label2.SetCaption("");
    Timer2.SetEnabled(true);
    Display();
    Skin1.LoadProgramSkin(ctx_.platform.files);
    Skin1.ApplySkin(*this, shell::kToolWindowElement);
    main_.SkinForm(*this);
}

void enumfrm::Form_Unload() {
    Timer2.SetEnabled(false);
}

bool enumfrm::Snapshot(std::vector<Row>& rows) {
    Processes& p = ctx_.platform.processes;
    std::vector<ProcessEntry> entries;
    if (p.SnapshotProcesses(entries) != kSuccess) return false;
    rows.clear();
    rows.reserve(entries.size());
    for (const auto& e : entries) {
        Row row{e.id, 0, ProcessFileName(e.exe_file)};
        ProcessHandle h = 0;
        if (p.OpenProcess(kProcessQueryLimitedInformation, e.id, h) == kSuccess) {
            p.CreationTime(h, row.created);
            p.CloseHandle(h);
        }
        rows.push_back(std::move(row));
    }
    return true;
}

void enumfrm::Display() {
    std::vector<Row> now;
    if (!Snapshot(now)) return;  // no snapshot: the list keeps its rows
    if (now == rows_) return;
    int selected = -1;
    if (const int sel = info.SelectedIndex(); sel >= 0 && sel < static_cast<int>(rows_.size())) {
        const Row& was = rows_[static_cast<std::size_t>(sel)];
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i].id == was.id && now[i].created == was.created) {
                selected = static_cast<int>(i);
                break;
            }
        }
    }
    std::vector<ui::ListViewItem> items;
    items.reserve(now.size());
    for (const auto& r : now) items.push_back({r.name, {std::to_string(r.id)}});
    rows_ = std::move(now);
    info.SetItems(std::move(items), selected);
}

void enumfrm::Timer2_Timer() {
    const int sel = info.SelectedIndex();
    label2.SetCaption(sel < 0 ? std::string()
                              : info.ListItems()[static_cast<std::size_t>(sel)].text);
}

void enumfrm::terminatecmd_Click() {
    const int sel = info.SelectedIndex();
    if (sel < 0) return;
    const auto& item = info.ListItems()[static_cast<std::size_t>(sel)];
    std::uint32_t id = 0;
    const std::string& text = item.sub_items.empty() ? std::string() : item.sub_items[0];
    if (std::from_chars(text.data(), text.data() + text.size(), id).ec != std::errc()) return;
    std::optional<std::int64_t> created;
    if (sel < static_cast<int>(rows_.size()))
        created = rows_[static_cast<std::size_t>(sel)].created;
    Kill_Process(ctx_.platform.processes, ctx_.log, id, created);
    Display();
    info.Select(0);
}

}  // namespace orv::monitor
