// Editing a small initialisation file (a drive's autorun.inf, a folder's
// Desktop.ini) in place: the keys asked for change, every other line keeps
// its bytes and its line end, and the file keeps its encoding (ANSI code
// page, UTF-8 with a byte-order mark, UTF-16 LE with one). Windows reads
// these files itself, so nothing the user or another program put there
// (a volume label, an autoplay action, a localized folder name) may be lost.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace orv::tools {

enum class IniEncoding { Ansi, Utf8Bom, Utf16Le };

// By the byte-order mark; a file without one is in the ANSI code page.
IniEncoding DetectIniEncoding(std::string_view bytes);

struct IniKeyEdit {
    enum class When {
        Always,               // set, adding the key when it is missing
        IfPresent,            // only a key already there changes
        IfMissingAndNotEmpty  // never changes one that is there, never adds ""
    };
    std::string key;
    std::string value;  // UTF-8
    When when = When::Always;
};

// The file after the edits, in the first section named `section` (names
// compared without regard to case, as the profile API does). A missing key
// goes after the section's last non-blank line; a missing section (or file:
// `existing` empty) is added at the end, with CR LF unless the file already
// ends its lines otherwise. An ANSI file whose new values the code page
// cannot hold becomes UTF-16 LE rather than getting '?' in a path.
std::string EditIniFile(std::optional<std::string_view> existing, std::string_view section,
                        const std::vector<IniKeyEdit>& edits, platform::Files& files);

}  // namespace orv::tools
