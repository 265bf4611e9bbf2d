#include "shredder.h"

#include <algorithm>
#include <string>

namespace shred {

const std::array<std::byte, kPatternSize>& Pattern() {
    static const std::array<std::byte, kPatternSize> pattern = [] {
        constexpr unsigned char runs[20] = {0x55, 0xAA, 0x4A, 0x63, 0x47, 0x5C, 0x65,
                                            0x70, 0x01, 0x3D, 0x61, 0x77, 0x56, 0x4F,
                                            0x6D, 0x48, 0x5A, 0x00, 0xFF, 0xD4};
        std::array<std::byte, kPatternSize> p{};
        for (std::size_t i = 0; i < kPatternSize; ++i) p[i] = std::byte{runs[i / 10]};
        return p;
    }();
    return pattern;
}

namespace {

// Written data waits in the system's cache, so the flush of a large file, and freeing its
// storage on delete, each take as long as the device needs for all of it: most of a second
// for 1 GiB even on a fast disk. From this size on they run while the window thread pumps.
constexpr std::uint64_t kLongCallsFrom = std::uint64_t{16} << 20;

// Under Wine the delete frees the storage inside wineserver, which then answers no thread
// of any program until it is done (over a third of a second for 1 GiB on ext4), so the
// worker thread alone does not keep windows answering there. Cutting the overwritten file
// down in steps first, pumping between them, leaves the delete only the last step's worth.
constexpr std::uint64_t kShrinkStep = std::uint64_t{64} << 20;

}  // namespace

Shredder::Shredder(FileSystem& fs, Progress* progress)
    : fs_(fs), progress_(progress), block_(kBlockSize + kPatternSize) {
    const auto& pattern = Pattern();
    for (std::size_t i = 0; i < block_.size(); ++i) block_[i] = pattern[i % kPatternSize];
}

void Shredder::Leave(const Path& path, Failure failure, ErrorCode error, std::uint64_t done,
                     std::uint64_t total) {
    left_.push_back({path, failure, error, done, total});
}

Shredder::Written Shredder::Overwrite(const Path& path, WritableFile& file) {
    const auto size = file.Size();
    if (!size) return {false, 0, 0};
    // A file shorter than the pattern still receives all of it. A longer one is written only
    // where it has data: filling a sparse file's holes could take more space than the disk has.
    std::optional<std::vector<Range>> ranges;
    if (*size < kPatternSize) {
        ranges = std::vector<Range>{{0, kPatternSize}};
    } else {
        ranges = file.AllocatedRanges(*size);
        if (!ranges) return {false, 0, 0};
    }
    std::uint64_t total = 0;
    for (const Range& range : *ranges) total += range.length;
    std::uint64_t done = 0;
    if (progress_ && !progress_->Continue(path, 0, total)) {
        cancelled_ = true;
        return {false, 0, total};
    }
    for (const Range& range : *ranges) {
        const std::uint64_t end = range.offset + range.length;
        for (std::uint64_t offset = range.offset; offset < end;) {
            // Blocks end on block-size boundaries of the file, and starting inside the
            // repeated buffer at the offset's phase keeps the pattern running on seamlessly.
            const auto n = static_cast<std::size_t>(
                std::min<std::uint64_t>(kBlockSize - offset % kBlockSize, end - offset));
            const std::size_t phase = static_cast<std::size_t>(offset % kPatternSize);
            if (!file.Write(offset, std::span(block_).subspan(phase, n)))
                return {false, done, total};
            offset += n;
            done += n;
            // Explorer's window thread runs this: let it answer its windows between blocks.
            fs_.YieldToWindowEvents();
            if (progress_ && !progress_->Continue(path, done, total)) {
                cancelled_ = true;
                return {false, done, total};
            }
        }
    }
    const bool flushed =
        total >= kLongCallsFrom ? fs_.WhilePumping([&] { return file.Flush(); }) : file.Flush();
    return {flushed, done, total};
}

void Shredder::Shrink(WritableFile& file) {
    const auto size = file.Size();
    if (!size) return;
    for (std::uint64_t left = *size; left > kShrinkStep;) {
        left -= kShrinkStep;
        if (!file.Truncate(left)) return;  // the delete frees the rest all the same
        fs_.YieldToWindowEvents();
    }
}

bool Shredder::ShredFile(const Path& path) {
    switch (fs_.Probe(path)) {
        case Kind::Missing:
            return true;
        case Kind::Link:
        case Kind::Special:
            if (fs_.RemoveLink(path)) return true;
            Leave(path, Failure::LinkNotRemoved, fs_.LastError());
            return false;
        case Kind::File:
        case Kind::Folder:  // not a regular file: the open below refuses it and it is reported
            break;
    }
    const auto attributes = fs_.MakeWritable(path);
    auto restore = [&] {
        if (attributes) fs_.RestoreAttributes(path, *attributes);
    };
    auto file = fs_.OpenForOverwrite(path);
    if (!file) {
        const ErrorCode error = fs_.LastError();
        restore();
        Leave(path, Failure::NotOverwritten, error);
        return false;
    }
    // A file that was not overwritten to its end is kept: deleting it would leave its data
    // readable on the disk while the user believes it destroyed.
    const Written written = Overwrite(path, *file);
    const ErrorCode writeError = file->LastError();
    // Only after the flush: storage freed while the pattern still sat in the cache could
    // leave the old content on the disk.
    if (written.complete) Shrink(*file);
    file.reset();
    if (!written.complete) {
        restore();
        Leave(path, cancelled_ ? Failure::Cancelled : Failure::NotOverwritten,
              cancelled_ ? 0 : writeError, written.done, written.total);
        return false;
    }
    const bool removed = written.total >= kLongCallsFrom
                             ? fs_.WhilePumping([&] { return fs_.RemoveFile(path); })
                             : fs_.RemoveFile(path);
    if (removed) return true;
    const ErrorCode error = fs_.LastError();
    restore();
    Leave(path, Failure::NotDeleted, error);
    return false;
}

bool Shredder::ShredFolder(const Path& path) {
    fs_.YieldToWindowEvents();
    // The pump above may have let the name be replaced, by a link to somewhere the user
    // never chose among others: look again right before descending. ShredFile removes a
    // link as itself and leaves a name that is gone.
    if (fs_.Probe(path) != Kind::Folder) return ShredFile(path);
    const auto entries = fs_.List(path);
    if (!entries) {
        Leave(path, Failure::FolderNotListed, fs_.LastError());
        return false;
    }
    for (const Entry& entry : *entries) {
        if (entry.kind == Kind::Folder && !ShredFolder(JoinPath(path, entry.name))) return false;
    }
    for (const Entry& entry : *entries) {
        if (entry.kind != Kind::Folder) ShredFile(JoinPath(path, entry.name));
        if (cancelled_) return false;
    }
    if (fs_.RemoveFolder(path)) return true;
    Leave(path, Failure::FolderNotRemoved, fs_.LastError());
    return false;
}

std::vector<Leftover> ShredSelection(FileSystem& fs, std::span<const Path> selection,
                                     Progress* progress) {
    const std::vector<Path> items(selection.begin(), selection.end());
    Shredder shredder(fs, progress);
    for (std::size_t i = 0; i < items.size(); ++i) {
        // Probe does not follow links, so a selected link to a folder is removed as a link.
        const bool stopped = fs.Probe(items[i]) != Kind::Folder
                                 ? (shredder.ShredFile(items[i]), shredder.Cancelled())
                                 : !shredder.ShredFolder(items[i]);
        if (!stopped) continue;
        auto left = shredder.Leftovers();
        // A folder the user stopped part way is kept with what it still holds.
        if (shredder.Cancelled() && (left.empty() || left.back().path != items[i]))
            left.push_back({items[i], Failure::Cancelled, 0});
        for (std::size_t j = i + 1; j < items.size(); ++j)
            left.push_back({items[j], Failure::NotReached, 0});
        return left;
    }
    return shredder.Leftovers();
}

namespace {

const PathChar* Reason(const Leftover& item) {
    switch (item.failure) {
        case Failure::NotOverwritten:
            return item.overwritten != 0 ? SHRED_TEXT("overwritten only in part, kept")
                                         : SHRED_TEXT("could not be overwritten, left untouched");
        case Failure::NotDeleted:
            return SHRED_TEXT("overwritten, but could not be deleted");
        case Failure::LinkNotRemoved:
            return SHRED_TEXT("link could not be removed");
        case Failure::FolderNotListed:
            return SHRED_TEXT("folder could not be read");
        case Failure::FolderNotRemoved:
            return SHRED_TEXT("folder could not be removed");
        case Failure::NotReached:
            return SHRED_TEXT("not processed");
        case Failure::Cancelled:
            return SHRED_TEXT("shredding cancelled, kept");
    }
    return SHRED_TEXT("");
}

Path Number(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return Path(digits.begin(), digits.end());
}

}  // namespace

Path DescribeLeftovers(const std::vector<Leftover>& left, std::size_t maxLines) {
    Path text = SHRED_TEXT("These items could not be shredded and are still on the disk:\n");
    const std::size_t shown = std::min(left.size(), maxLines);
    for (std::size_t i = 0; i < shown; ++i) {
        text += SHRED_TEXT("\n");
        text += left[i].path;
        text += SHRED_TEXT(": ");
        text += Reason(left[i]);
        if (left[i].overwritten != 0) {
            // Part of it already holds the pattern: the rest is still readable.
            text += SHRED_TEXT(", ");
            text += Number(left[i].overwritten);
            text += SHRED_TEXT(" of ");
            text += Number(left[i].total);
            text += SHRED_TEXT(" bytes overwritten");
        }
        if (left[i].error != 0) {
            text += SHRED_TEXT(" (error ");
            text += Number(left[i].error);
            text += SHRED_TEXT(")");
        }
    }
    if (left.size() > shown) {
        text += SHRED_TEXT("\n... and ");
        text += Number(left.size() - shown);
        text += SHRED_TEXT(" more.");
    }
    return text;
}

}  // namespace shred
