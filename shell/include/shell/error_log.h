// The program's error log: "PROGRAM.LOG" beside the executable, one line per
// failure, opened and closed around each line so the file is complete even if
// the program stops right after. The program never reads or trims it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace orv::shell {

// "ERROR: " number " at " module "\" procedure " >>> " message. Line breaks
// inside a field become blanks, so every entry stays one line.
std::string FormatLogLine(std::int32_t number, std::string_view message, std::string_view module,
                          std::string_view procedure);

class ErrorLog {
  public:
    explicit ErrorLog(platform::Files& files) : files_(files) {}

    void LogError(std::int32_t number, std::string_view message, std::string_view module,
                  std::string_view procedure);
    // Appends `line` and CR LF in the system's ANSI code page (characters it
    // cannot hold are written as '?', and all but ASCII when the conversion
    // fails, so a line is never empty). A log that cannot be written (a
    // read-only folder, a full disk) loses the entry: there is nowhere left
    // to report it, and the program carries on.
    void WriteLogLine(std::string_view line);

    std::string Path() const;

  private:
    platform::Files& files_;
};

}  // namespace orv::shell
