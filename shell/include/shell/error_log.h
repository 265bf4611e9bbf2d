// The program's error log: "PROGRAM.LOG" beside the executable, one line per
// failure, opened and closed around each line so the file is complete even if
// the program stops right after. The program never reads or trims it. A
// standard user cannot write beside an installed copy (Program Files, and the
// manifest turns the virtual store off), so a line the program folder refuses
// goes to "PROGRAM.LOG" in the user's own data folder instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/files.h"

namespace orv::shell {

// "ERROR: " number " at " module "\" procedure " >>> " message. Line breaks
// inside a field become blanks, so every entry stays one line.
std::string FormatLogLine(std::int32_t number, std::string_view message, std::string_view module,
                          std::string_view procedure);

class ErrorLog {
  public:
    // Without an environment there is no user folder to fall back on.
    explicit ErrorLog(platform::Files& files, platform::Environment* environment = nullptr)
        : files_(files), environment_(environment) {}

    void LogError(std::int32_t number, std::string_view message, std::string_view module,
                  std::string_view procedure);
    // Appends `line` and CR LF in the system's ANSI code page (characters it
    // cannot hold are written as '?', and all but ASCII when the conversion
    // fails, so a line is never empty). When neither log can be written (a
    // full disk) the entry is lost: there is nowhere left to report it, and
    // the program carries on.
    void WriteLogLine(std::string_view line);

    std::string Path() const;
    // The log of the user's own data folder; "" when there is no such folder.
    std::string UserPath() const;

  private:
    platform::Files& files_;
    platform::Environment* environment_;
};

}  // namespace orv::shell
