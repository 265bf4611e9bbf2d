// Text at the seam: UTF-8 inside, UTF-16 at the Win32 boundary, the ANSI code
// page (Windows-1252 here) for files whose format is fixed in it. The UTF-8
// side is WTF-8: an unpaired surrogate in UTF-16 survives the round trip, so
// a registry name or value that is not valid Unicode is never altered.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::text {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Little-endian byte forms, as registry data and .reg files hold them.
std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text);
std::u16string FromUtf16Bytes(const std::uint8_t* data, std::size_t size);

// Windows-1252. Characters the code page cannot hold become '?', as
// WideCharToMultiByte does with its default character.
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
// Every character outside ASCII becomes '?': the text that reads the same in
// any ANSI code page, for when a conversion to the real one failed.
std::string Utf8ToAsciiReplacing(std::string_view utf8);

// Upper-case fold for names the registry and the file system compare without
// regard to case (ASCII, Latin-1, Greek and Cyrillic letters).
std::string Fold(std::string_view utf8);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Without the blanks (spaces and tabs) around it.
std::string_view TrimBlanks(std::string_view s);

// Number of UTF-16 code units of a UTF-8 text, and the longest prefix of at
// most `units` code units that does not split a surrogate pair.
std::size_t Utf16Length(std::string_view utf8);
std::string TruncateUtf16(std::string_view utf8, std::size_t units);

}  // namespace orv::text
