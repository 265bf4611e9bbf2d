// The few file-system operations the shredder needs, behind one interface so the
// same routines run on the real Win32 API inside the DLL and on POSIX in native tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace shred {

// Paths travel in the platform's own encoding (UTF-16 on Windows, bytes on POSIX), so a
// name the shell handed over reaches the file system unchanged, unpaired surrogates included.
#ifdef _WIN32
using PathChar = wchar_t;
inline constexpr PathChar kSeparator = L'\\';
#define SHRED_TEXT(s) L##s
#else
using PathChar = char;
inline constexpr PathChar kSeparator = '/';
#define SHRED_TEXT(s) s
#endif
using Path = std::basic_string<PathChar>;

// Native error code of the last failing call: GetLastError() or errno. 0 = unknown.
using ErrorCode = std::uint32_t;

// What a name is, seen without following it.
enum class Kind {
    Missing,
    File,    // regular file: overwritten, then deleted
    Folder,  // real directory: walked, then removed
    Link,    // symbolic link, junction or other reparse point: only the link itself is removed
    Special  // FIFO, socket, device node: never opened, only its name is removed
};

struct Entry {
    Path name;  // leaf name, no separator
    Kind kind;
};

// A stretch of a file that holds data on the disk.
struct Range {
    std::uint64_t offset;
    std::uint64_t length;
};

// An open, exclusively held regular file.
class WritableFile {
  public:
    virtual ~WritableFile() = default;
    virtual std::optional<std::uint64_t> Size() = 0;
    // The parts of the first `size` bytes that have storage behind them, in order. A sparse
    // file's holes have none: they read as zeros and writing them would allocate the space.
    // A file that is not sparse is one range. nullopt when the layout cannot be read.
    virtual std::optional<std::vector<Range>> AllocatedRanges(std::uint64_t size) = 0;
    // Writes all of data at offset; false on a short or failed write.
    virtual bool Write(std::uint64_t offset, std::span<const std::byte> data) = 0;
    // Pushes written data to the device (FlushFileBuffers / fsync).
    virtual bool Flush() = 0;
    // Cuts the file to size bytes (SetEndOfFile / ftruncate).
    virtual bool Truncate(std::uint64_t size) = 0;
    virtual ErrorCode LastError() const = 0;
};

// Every call returns its outcome; nothing throws. Failing calls leave LastError() set.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual Kind Probe(const Path& path) = 0;

    // Clears what stops a write (read-only, hidden, system on Windows; missing owner write
    // permission on POSIX) and returns the attributes it found, for RestoreAttributes.
    virtual std::optional<std::uint32_t> MakeWritable(const Path& path) = 0;
    virtual void RestoreAttributes(const Path& path, std::uint32_t attributes) = 0;

    // Opens an existing regular file for writing without truncating it. Never creates a
    // file and never follows a link: a name that is not a regular file yields nullptr.
    virtual std::unique_ptr<WritableFile> OpenForOverwrite(const Path& path) = 0;

    virtual bool RemoveFile(const Path& path) = 0;
    // Removes a link itself (file or directory link), never its target.
    virtual bool RemoveLink(const Path& path) = 0;
    // Removes an empty folder.
    virtual bool RemoveFolder(const Path& path) = 0;

    // The entries of a folder in a stable order, "." and ".." left out.
    virtual std::optional<std::vector<Entry>> List(const Path& folder) = 0;

    // Lets the calling thread handle pending window messages (a no-op without a UI). Called
    // between blocks and folders; anything may happen meanwhile, including a new selection
    // arriving at the shell extension and names on the disk being replaced.
    virtual void YieldToWindowEvents() {}

    // Runs one long blocking call (the flush of a large file, its delete) so that the calling
    // thread keeps handling window messages until it returns: on another thread while this
    // one pumps. Returns what work returned. The default simply calls it.
    virtual bool WhilePumping(const std::function<bool()>& work) { return work(); }

    virtual ErrorCode LastError() const = 0;
};

// The real file system of the platform this is compiled for.
std::unique_ptr<FileSystem> MakeNativeFileSystem();

}  // namespace shred
