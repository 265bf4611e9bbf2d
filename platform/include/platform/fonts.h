// Fonts: the screen font faces, the two folders fonts are installed in, the
// font table of the session (AddFontResource / RemoveFontResource) and the
// WM_FONTCHANGE broadcast; and the reader that tells a TrueType/OpenType file
// (or collection) from anything else and reads its names, shared by both
// backends.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

class Fonts {
  public:
    virtual ~Fonts() = default;
    // EnumFontFamiliesEx over every character set, in the system's order: a
    // face the system lists once per character set comes once, and the
    // vertical "@" faces are left out. Empty when the system lists none.
    virtual std::vector<std::string> ScreenFaces() = 0;
    // The machine's fonts folder (FOLDERID_Fonts) and the user's own
    // (%LOCALAPPDATA%\Microsoft\Windows\Fonts, Windows 10 1809 and later),
    // without a trailing backslash; a failure code when it cannot be found.
    virtual Status MachineFontsFolder(std::string& folder) = 0;
    virtual Status UserFontsFolder(std::string& folder) = 0;
    // AddFontResource: the number of fonts the file added to the session's
    // table, 0 when it added none. RemoveFontResource: false when the file
    // was not in the table.
    virtual int AddFontFile(std::string_view path) = 0;
    virtual bool RemoveFontFile(std::string_view path) = 0;
    // WM_FONTCHANGE to every top-level window, a hung one skipped after a
    // short wait; false when the broadcast failed or timed out.
    virtual bool BroadcastFontChange() = 0;
};

// The face list both backends give from what the enumeration reported: in
// its order, each face once (compared without regard to case), the vertical
// "@" faces left out.
std::vector<std::string> ListedFaces(const std::vector<std::string>& enumerated);

// One font of a file: its family (name 1, what the face list shows) and its
// full name (name 4, what the registry's font list is keyed by).
struct FontNames {
    std::string family;
    std::string full;
};

// What a font file holds: one font, or each font of a collection (.ttc) in
// its order. Nothing when the bytes are not a TrueType/OpenType font or a
// collection of them, or when a font of it has no usable name.
std::optional<std::vector<FontNames>> ReadFontFile(std::span<const std::uint8_t> bytes);
std::optional<std::vector<FontNames>> ReadFontFile(std::string_view bytes);

// A record of a font's name table, its text already encoded as the file
// holds it: UTF-16BE for the Windows (3) and Unicode (0) platforms, one byte
// a character for Macintosh Roman (platform 1, encoding 0).
struct FontNameRecord {
    std::uint16_t platform = 3;
    std::uint16_t encoding = 1;
    std::uint16_t language = 0x0409;
    std::uint16_t name_id = 1;
    std::string bytes;
};
// Windows-platform, US English records of a family (1) and full (4) name.
std::vector<FontNameRecord> WindowsNameRecords(const FontNames& names);
// The smallest file ReadFontFile accepts: a TrueType header and a table
// directory with a name table alone; more than one font makes a collection.
// For tests and fuzz seeds: Windows itself would not load it.
std::string BuildFontFile(const std::vector<std::vector<FontNameRecord>>& fonts);

// The name the registry's font list gives a file's fonts: the full names
// joined by " & ", then " (TrueType)".
std::string FontRegistryName(const std::vector<FontNames>& fonts);

}  // namespace orv::platform
