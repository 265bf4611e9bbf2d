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

    // FindFiles with its outcome, for callers that must tell "nothing there"
    // from "could not look": kSuccess with what matched; kFileNotFound when
    // the folder exists and nothing matches; kPathNotFound when the folder
    // does not exist; any other code (21 not ready, 5 denied, 53 network path
    // gone) means the answer is unknown.
    virtual Status ListFiles(std::string_view pattern, std::vector<FoundFile>& found) = 0;
    // Read-only, hidden, system and archive; the others are ignored, as
    // SetFileAttributes does.
    virtual Status ChangeAttributes(std::string_view path, std::uint32_t attributes) = 0;
    // One level: the parent must exist (kPathNotFound), an existing one is
    // kAlreadyExists.
    virtual Status CreateFolder(std::string_view path) = 0;
    // An empty folder only (kDirNotEmpty otherwise).
    virtual Status RemoveFolder(std::string_view path) = 0;
    // A read-only file is refused (kAccessDenied), as DeleteFile does.
    virtual Status RemoveFile(std::string_view path) = 0;
    // CopyFile: attributes travel with the data; with fail_if_exists an
    // existing target is kFileExists and stays as it was.
    virtual Status CopyFileTo(std::string_view from, std::string_view to, bool fail_if_exists) = 0;
    // Creates or replaces the whole file (CREATE_ALWAYS); the folder must
    // exist; a read-only, hidden or system target is refused (kAccessDenied)
    // as CreateFile refuses it: clear those attributes first.
    virtual Status SaveFile(std::string_view path, std::string_view bytes) = 0;

    // MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH: the
    // file at `from` takes the place of `to` in one step (same volume), with
    // its own attributes; a read-only target or a folder is refused
    // (kAccessDenied) and both files stay as they were.
    virtual Status MoveReplacing(std::string_view from, std::string_view to) = 0;
    // The text in the system's ANSI code page when every character of it
    // survives the round trip there; nothing when one would become '?'.
    virtual std::optional<std::string> ToAnsiExactly(std::string_view utf8) = 0;
    // Bytes in the ANSI code page as UTF-8.
    virtual std::string FromAnsiCodePage(std::string_view ansi) = 0;
};

}  // namespace orv::platform
