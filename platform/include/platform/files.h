// Files and drives: the file operations the shell of the program needs (its
// own folder, listing by pattern, reading small files, appending log lines).
// Paths are Windows paths in UTF-8 ("C:\Program Files\Orvelle\PROGRAM.LOG").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace orv::platform {

inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrNormal = 0x80;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

struct FoundFile {
    std::string name;  // the file name only, as FindFirstFile reports it
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

class Files {
  public:
    virtual ~Files() = default;
    // The folder of the running executable, without a trailing backslash.
    virtual std::string ProgramFolder() = 0;
    virtual std::string WindowsFolder() = 0;
    // kInvalidAttributes when the path does not exist.
    virtual std::uint32_t GetAttributes(std::string_view path) = 0;
    // FindFirstFile/FindNextFile over "folder\pattern" (wildcards * and ?),
    // "." and ".." left out.
    virtual std::vector<FoundFile> FindFiles(std::string_view pattern) = 0;
    // The whole file, or nothing when it cannot be read.
    virtual std::optional<std::string> ReadFile(std::string_view path) = 0;
    // Opens for appending (creating the file), writes, closes.
    virtual Status AppendToFile(std::string_view path, std::string_view bytes) = 0;
    // Text for files whose format is the system's ANSI code page (the error
    // log): what the code page cannot hold becomes '?'. Never empty for a
    // text that is not: when the conversion fails, every character outside
    // ASCII becomes '?'.
    virtual std::string ToAnsiCodePage(std::string_view utf8) = 0;
};

}  // namespace orv::platform
