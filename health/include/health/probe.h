// The existence test the health checks judge entries by, and the text
// clean-ups applied to paths read from the registry and from shortcuts.
// An entry is removed only on a definite "not there": every other answer
// (a drive that is not ready, a refused folder, a relative path whose meaning
// depends on the current folder) keeps it.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

namespace orv::health {

enum class Presence { kPresent, kMissing, kUnknown };

// Every double quote replaced by a blank; the length does not change.
std::string QuotesToSpaces(std::string_view text);
// Leading and trailing blanks removed.
std::string_view TrimSpaces(std::string_view text);

// A first-file search for `path` as given (wildcards honoured). A file counts
// whatever its attributes; a folder counts only when `folders_count`.
// Not-found answers are kMissing only when the drive (or the share) itself
// answers; an empty or relative path is kUnknown.
Presence Probe(platform::Files& files, std::string_view path, bool folders_count = false);

// A registered program: a quoted program followed by arguments is judged by
// the quoted part; an unquoted text with blanks by the first prefix ending at
// a blank that names a file (CreateProcess's own reading).
Presence ProbeCommandLine(platform::Files& files, std::string_view command);

}  // namespace orv::health
