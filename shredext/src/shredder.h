// Overwrite-and-delete routines behind the "&Ardeno Shredder" command: a file is overwritten
// over its whole length with a fixed 200-byte pattern, flushed, and only then deleted; a
// folder is walked depth first (subfolders before files) and removed after its contents.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "file_seam.h"

namespace shred {

inline constexpr std::size_t kPatternSize = 200;
// Files are written in blocks of this size: large enough to run at the device's rate.
inline constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// Twenty runs of ten equal bytes; offset i of a shredded file holds Pattern()[i % 200].
const std::array<std::byte, kPatternSize>& Pattern();

enum class Failure {
    NotOverwritten,    // could not be opened or written: left as it was, not deleted
    NotDeleted,        // overwritten, but the name could not be removed
    LinkNotRemoved,    // a link (or special file) whose name could not be removed
    FolderNotListed,   // the walk could not read the folder: stops the selection
    FolderNotRemoved,  // the folder still exists after its contents were handled: stops too
    NotReached,        // a selected item after a folder that stopped the command
    Cancelled          // the user stopped the command here: kept, never deleted half-written
};

struct Leftover {
    Path path;
    Failure failure;
    ErrorCode error;
    // For a file kept part way through (cancelled or failed write): how much of its data
    // already holds the pattern, out of how much it has.
    std::uint64_t overwritten = 0;
    std::uint64_t total = 0;
};

// Watches a running shred; the shell extension shows it and offers Cancel.
class Progress {
  public:
    virtual ~Progress() = default;
    // Called before a file is overwritten (done = 0) and after each block written to it;
    // total counts only the bytes that are written. False cancels: this file is kept as it
    // is and nothing further is started.
    virtual bool Continue(const Path& file, std::uint64_t done, std::uint64_t total) = 0;
};

class Shredder {
  public:
    explicit Shredder(FileSystem& fs, Progress* progress = nullptr);

    // True when nothing is left under that name. A missing name is left alone: creating a
    // file only to delete it again could only ever act on something that is not the user's.
    bool ShredFile(const Path& path);
    // False when the walk failed; the caller stops there. Files shredded so far stay so.
    bool ShredFolder(const Path& path);

    const std::vector<Leftover>& Leftovers() const { return left_; }
    bool Cancelled() const { return cancelled_; }

  private:
    struct Written {
        bool complete;
        std::uint64_t done, total;
    };
    Written Overwrite(const Path& path, WritableFile& file);
    void Shrink(WritableFile& file);
    void Leave(const Path& path, Failure failure, ErrorCode error, std::uint64_t done = 0,
               std::uint64_t total = 0);

    FileSystem& fs_;
    Progress* progress_;
    bool cancelled_ = false;
    std::vector<std::byte> block_;  // the pattern repeated, long enough for any phase
    std::vector<Leftover> left_;
};

// Shreds the selected items in order: a real folder by ShredFolder, anything else (files,
// links, names that vanished) by ShredFile. The first failing folder, or a cancel, stops the
// rest, which are reported as NotReached. Returns what is left; empty when everything is
// gone. The items are copied before anything else happens: the walk pumps window messages,
// and whatever the caller's own list becomes meanwhile (replaced, freed), the walk goes on
// over the selection it was given.
std::vector<Leftover> ShredSelection(FileSystem& fs, std::span<const Path> selection,
                                     Progress* progress = nullptr);

// The text shown once to the user when something was left, at most maxLines items long.
Path DescribeLeftovers(const std::vector<Leftover>& left, std::size_t maxLines = 15);

inline Path JoinPath(const Path& folder, const Path& name) {
    Path out = folder;
    if (!out.empty() && out.back() != kSeparator) out += kSeparator;
    return out + name;
}

}  // namespace shred
