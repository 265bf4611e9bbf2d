#include "shell/error_log.h"

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

void ErrorLog::WriteLogLine(std::string_view line) {
    std::string bytes = files_.ToAnsiCodePage(line);
    bytes += "\r\n";
    // The result is deliberately not acted on: see the header.
    (void)files_.AppendToFile(Path(), bytes);
}

}  // namespace orv::shell
