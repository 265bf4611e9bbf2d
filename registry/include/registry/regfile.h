// Registry text files in the format registry editors read and write
// ("Windows Registry Editor Version 5.00"). This is the program's one writer
// of them: the health cleaner's backups and the simulated registry's test
// fixtures both go through it. What it writes loads back to the same bytes:
// a text stored without its terminator or with an embedded NUL is written as
// hex(1)/hex(7), never as a quoted string that would change it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace orv::registry {

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

// "HKEY_CURRENT_USER" for kCurrentUser, ... ("" for a handle that is not a root).
std::string_view RootName(platform::HKey root);
// Full names and the short forms HKCU, HKLM, HKCR, HKU, HKCC; 0 when unknown.
platform::HKey RootFromName(std::string_view name);

// One value line ("name"=data, or @=data), with no line end.
std::string FormatValueLine(std::string_view name, const platform::RegValue& value);

// The header, then the key `key` below `root` and every key under it, depth
// first in enumeration order, lines ended by CR LF. A key that cannot be
// read is left out (with its subtree); `complete` tells whether any was.
std::string ExportRegText(platform::Registry& registry, platform::HKey root, std::string_view key,
                          bool* complete = nullptr);

struct ImportResult {
    bool header_ok = false;
    int keys = 0;                   // key sections applied
    int values = 0;                 // values set or deleted
    std::vector<int> bad_lines;     // 1-based lines that could not be understood
    std::vector<int> failed_lines;  // 1-based lines the registry refused
    bool ok() const { return header_ok && bad_lines.empty() && failed_lines.empty(); }
};

// Applies registry text: [key] creates, [-key] deletes the whole tree,
// "name"=- deletes a value. A line that cannot be understood is reported and
// skipped; the rest still applies.
ImportResult ImportRegText(platform::Registry& registry, std::string_view text);

// File bytes: UTF-16LE with a byte-order mark, as registry editors write
// them. Decoding also accepts UTF-8 (with or without a mark).
std::string EncodeRegFile(std::string_view text);
std::string DecodeRegFile(std::string_view bytes);

// Deletes `key` below `root` with everything under it (subkeys first).
platform::Status DeleteKeyTree(platform::Registry& registry, platform::HKey root,
                               std::string_view key);

}  // namespace orv::registry
