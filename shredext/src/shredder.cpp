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

Shredder::Shredder(FileSystem& fs) : fs_(fs), block_(kBlockSize + kPatternSize) {
    const auto& pattern = Pattern();
    for (std::size_t i = 0; i < block_.size(); ++i) block_[i] = pattern[i % kPatternSize];
}

void Shredder::Leave(const Path& path, Failure failure, ErrorCode error) {
    left_.push_back({path, failure, error});
}

bool Shredder::Overwrite(WritableFile& file) {
    const auto size = file.Size();
    if (!size) return false;
    // A file shorter than the pattern still receives all of it.
    const std::uint64_t total = std::max<std::uint64_t>(*size, kPatternSize);
    for (std::uint64_t offset = 0; offset < total;) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, total - offset));
        // Starting inside the repeated buffer at the file offset's phase keeps every block
        // aligned to the block size in the file while the pattern runs on seamlessly.
        const std::size_t phase = static_cast<std::size_t>(offset % kPatternSize);
        if (!file.Write(std::span(block_).subspan(phase, n))) return false;
        offset += n;
    }
    return file.Flush();
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
    const bool overwritten = Overwrite(*file);
    const ErrorCode writeError = file->LastError();
    file.reset();
    if (!overwritten) {
        restore();
        Leave(path, Failure::NotOverwritten, writeError);
        return false;
    }
    if (fs_.RemoveFile(path)) return true;
    const ErrorCode error = fs_.LastError();
    restore();
    Leave(path, Failure::NotDeleted, error);
    return false;
}

bool Shredder::ShredFolder(const Path& path) {
    fs_.YieldToWindowEvents();
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
    }
    if (fs_.RemoveFolder(path)) return true;
    Leave(path, Failure::FolderNotRemoved, fs_.LastError());
    return false;
}

std::vector<Leftover> ShredSelection(FileSystem& fs, std::span<const Path> items) {
    Shredder shredder(fs);
    std::vector<Leftover> left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        // Probe does not follow links, so a selected link to a folder is removed as a link.
        if (fs.Probe(items[i]) != Kind::Folder) {
            shredder.ShredFile(items[i]);
        } else if (!shredder.ShredFolder(items[i])) {
            left = shredder.Leftovers();
            for (std::size_t j = i + 1; j < items.size(); ++j)
                left.push_back({items[j], Failure::NotReached, 0});
            return left;
        }
    }
    return shredder.Leftovers();
}

namespace {

const PathChar* Reason(Failure failure) {
    switch (failure) {
        case Failure::NotOverwritten:
            return SHRED_TEXT("could not be overwritten, left untouched");
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
        text += Reason(left[i].failure);
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
