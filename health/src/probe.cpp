#include "health/probe.h"

#include <vector>

namespace orv::health {

using namespace orv::platform;

std::string QuotesToSpaces(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '"') c = ' ';
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "C:\" for a drive path, "\\server\share\" for a UNC path, "" otherwise.
std::string RootOf(std::string_view path) {
    if (path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return std::string(path.substr(0, 3));
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '?' && path[2] != '.') {
        std::size_t server_end = path.find('\\', 2);
        if (server_end == std::string_view::npos) return {};
        std::size_t share_end = path.find('\\', server_end + 1);
        if (share_end == std::string_view::npos || share_end == server_end + 1) return {};
        return std::string(path.substr(0, share_end + 1));
    }
    return {};
}

}  // namespace

Presence Probe(Files& files, std::string_view path, bool folders_count) {
    const std::string root = RootOf(path);
    if (root.empty()) return Presence::kUnknown;
    if (folders_count && path.back() == '\\') {
        // A search for "D:\" or "C:\Games\" finds nothing even when the
        // folder is there: ask for the folder itself.
        const std::uint32_t attributes = files.GetAttributes(path);
        if (attributes != kInvalidAttributes && (attributes & kAttrDirectory))
            return Presence::kPresent;
    }
    // The common answer, a file that is there, costs one attribute query;
    // the search below is needed for wildcards and to tell why not.
    if (path.find_first_of("*?") == std::string_view::npos) {
        const std::uint32_t attributes = files.GetAttributes(path);
        if (attributes != kInvalidAttributes && (!(attributes & kAttrDirectory) || folders_count))
            return Presence::kPresent;
    }
    std::vector<FoundFile> found;
    Status st = files.ListFiles(path, found);
    if (st == kSuccess) {
        for (const FoundFile& f : found)
            if (!(f.attributes & kAttrDirectory) || folders_count) return Presence::kPresent;
        return Presence::kMissing;
    }
    if (st == kFileNotFound) return Presence::kMissing;
    if (st == kPathNotFound) {
        // "Path not found" is also what a drive letter nobody has mapped (a
        // card reader, a network drive not connected) answers.
        const std::uint32_t attributes = files.GetAttributes(root);
        if (attributes == kInvalidAttributes || !(attributes & kAttrDirectory))
            return Presence::kUnknown;
        return Presence::kMissing;
    }
    return Presence::kUnknown;
}

Presence ProbeCommandLine(Files& files, std::string_view command) {
    std::string_view text = TrimSpaces(command);
    if (!text.empty() && text.front() == '"') {
        std::size_t close = text.find('"', 1);
        if (close != std::string_view::npos)
            return Probe(files, TrimSpaces(text.substr(1, close - 1)));
    }
    const std::string whole(TrimSpaces(QuotesToSpaces(text)));
    Presence p = Probe(files, whole);
    if (p != Presence::kMissing) return p;
    for (std::size_t blank = whole.find(' '); blank != std::string::npos;
         blank = whole.find(' ', blank + 1)) {
        Presence prefix = Probe(files, whole.substr(0, blank));
        if (prefix == Presence::kPresent) return prefix;
    }
    return Presence::kMissing;
}

}  // namespace orv::health
