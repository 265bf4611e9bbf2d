#include "shell/error_log.h"

#include "shell/user_data.h"

namespace orv::shell {

namespace {

// CR and LF would split one entry over several lines.
void AppendField(std::string& line, std::string_view field) {
    for (char c : field) line += (c == '\r' || c == '\n') ? ' ' : c;
}

}  // namespace

std::string FormatLogLine(std::int32_t number, std::string_view message, std::string_view module,
                          std::string_view procedure) {
    std::string line = "ERROR: " + std::to_string(number) + " at ";
    AppendField(line, module);
    line += '\\';
    AppendField(line, procedure);
    line += " >>> ";
    AppendField(line, message);
    return line;
}

void ErrorLog::LogError(std::int32_t number, std::string_view message, std::string_view module,
                        std::string_view procedure) {
    WriteLogLine(FormatLogLine(number, message, module, procedure));
}

std::string ErrorLog::Path() const {
    return files_.ProgramFolder() + "\\PROGRAM.LOG";
}

std::string ErrorLog::UserPath() const {
    if (environment_ == nullptr) return {};
    const std::string folder = UserDataFolder(*environment_);
    return folder.empty() ? std::string() : folder + "\\PROGRAM.LOG";
}

void ErrorLog::WriteLogLine(std::string_view line) {
    std::string bytes = files_.ToAnsiCodePage(line);
    bytes += "\r\n";
    if (files_.AppendToFile(Path(), bytes) == platform::kSuccess) return;
    const std::string user = UserPath();
    if (user.empty() || !EnsureFolder(files_, user.substr(0, user.rfind('\\')))) return;
    // Beyond this there is nowhere to report a failure: see the header.
    (void)files_.AppendToFile(user, bytes);
}

}  // namespace orv::shell
