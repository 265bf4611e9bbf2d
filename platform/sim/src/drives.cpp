#include "platform/sim/machine.h"
#include "platform/sim/world.h"

namespace orv::sim {

using namespace orv::platform;

namespace {

// "c:", "C:\", "c:\folder" -> 'C'; 0 when the path names no drive.
char Letter(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return 0;
    char c = path[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return (c >= 'A' && c <= 'Z') ? c : 0;
}

}  // namespace

std::vector<std::string> SimDrives::LogicalDrives() {
    std::vector<std::string> out;
    for (const auto& [letter, drive] : drives) out.push_back(std::string(1, letter) + ":\\");
    return out;
}

std::uint32_t SimDrives::DriveType(std::string_view root) {
    auto it = drives.find(Letter(root));
    return it == drives.end() ? kDriveNoRootDir : it->second.type;
}

Status SimDrives::FreeSpace(std::string_view path, DiskSpace& space) {
    auto it = drives.find(Letter(path));
    if (it == drives.end()) return kPathNotFound;
    if (it->second.status != kSuccess) return it->second.status;
    space = it->second.space;
    return kSuccess;
}

std::uint32_t SimDrives::FormatDrive(std::uintptr_t, unsigned drive) {
    if (fail) return 0xFFFFFFFF;  // SHFMT_ERROR
    formatted.push_back(drive);
    return 0xFFFFFFFE;  // SHFMT_CANCEL: the user said no in the shell's dialog
}

Status SimDrives::StartProgram(std::string_view command_line, int show) {
    if (fail) return kAccessDenied;
    // The program is the first token (quoted or up to the first blank).
    std::string_view program = command_line;
    if (!program.empty() && program.front() == '"') {
        program.remove_prefix(1);
        program = program.substr(0, program.find('"'));
    } else {
        program = program.substr(0, program.find(' '));
    }
    if (files_.GetAttributes(program) == kInvalidAttributes) return kFileNotFound;
    started.push_back({std::string(command_line), show});
    return kSuccess;
}

}  // namespace orv::sim
