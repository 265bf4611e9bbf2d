// The process manager: the running processes by name and id, refreshed once
// a second, and the selected one ended on request. A row stands for one
// process (its id and its creation time), so an id that ends and comes back
// as another program is a new row, and "Terminate" never ends the newcomer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processes.h"
#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::monitor {

inline constexpr std::string_view kProcessModule = "mdlMisc";

// The file name of szExeFile: what follows its last backslash.
std::string ProcessFileName(std::string_view exe_file);

// Ends a process: open (terminate and query), read its exit code, terminate
// it with that code, close. Each failing step writes one log line and the
// next step still runs. With `created` (the creation time the caller saw),
// a process whose id now belongs to a younger process is left alone and one
// line says so.
void Kill_Process(platform::Processes& processes, shell::ErrorLog& log, std::uint32_t process_id,
                  std::optional<std::int64_t> created = std::nullopt);

class enumfrm : public ui::Form {
  public:
    enumfrm(shell::AppContext& ctx, shell::MainWindow& main);

    void Form_Load() override;
    void Form_Unload() override;
    // Brings the list in line with the running processes; rows that stay
    // are updated in place and the selected process stays selected.
    void Display();
    void Timer1_Timer() { Display(); }
    void Timer2_Timer();
    void terminatecmd_Click();
    void Command1_Click() { Unload(); }

    ui::Label SkinLabel1{*this,
                         "SkinLabel1",
                         {"You can free up some memory by terminating some processes resident in "
                          "memory and may be unused.",
                          "3010", 120, 120, 5055, 495}};
    ui::Frame Frame1{*this, "Frame1", {"", "", 120, 660, 5055, 3495}};
    ui::ListView info{*this, "info", {"", "", 120, 240, 4815, 3135}, &Frame1};
    ui::Label label2{*this, "label2", {"", "", 120, 4260, 2775, 285}};
    ui::CommandButton terminatecmd{*this, "terminatecmd", {"Terminate", "", 2880, 4680, 1095, 375}};
    ui::CommandButton Command1{*this, "Command1", {"Close", "", 4080, 4680, 1095, 375}};
    ui::Timer Timer1{*this, "Timer1", 1000};
    ui::Timer Timer2{*this, "Timer2", 100};
    shell::SkinComponent Skin1;

    struct Row {
        std::uint32_t id = 0;
        std::int64_t created = 0;  // 0 when the process could not be asked
        std::string name;
        bool operator==(const Row&) const = default;
    };
    const std::vector<Row>& Rows() const { return rows_; }

  private:
    bool Snapshot(std::vector<Row>& rows);

    shell::AppContext& ctx_;
    shell::MainWindow& main_;
    std::vector<Row> rows_;
};

}  // namespace orv::monitor
