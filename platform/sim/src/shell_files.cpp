// The simulated shell's documents and instances, its change notifications,
// and the file moves and code-page checks of SimFiles.
#include <filesystem>

#include "platform/sim/world.h"
#include "platform/text.h"

namespace orv::sim {

using namespace orv::platform;
namespace fs = std::filesystem;

std::intptr_t SimShell::Open(std::uintptr_t owner, std::string_view file,
                             std::string_view directory, int show) {
    opened.push_back({owner, std::string(file), std::string(directory), show});
    if (files && files->GetAttributes(file) == kInvalidAttributes) return 2;  // SE_ERR_FNF
    return 42;
}

bool SimShell::ClaimSingleInstance(std::string_view name) {
    for (const auto& held : held_instances)
        if (held == name) return false;
    held_instances.emplace_back(name);
    return true;
}

void SimShell::ChangeNotify(std::int32_t event, std::string_view path) {
    if (!notifications_lost) notifications.push_back({event, std::string(path)});
}

Status SimFiles::MoveReplacing(std::string_view from, std::string_view to) {
    if (Status st = Refused(from); st != kSuccess) return st;
    if (Status st = Refused(to); st != kSuccess) return st;
    const fs::path src = HostPath(from), dst = HostPath(to);
    std::error_code ec;
    if (src.empty() || !fs::is_regular_file(src, ec)) return kFileNotFound;
    if (dst.empty() || !fs::is_directory(dst.parent_path(), ec)) return kPathNotFound;
    if (!text::EqualsNoCase(from.substr(0, 2), to.substr(0, 2)))
        return 17;  // ERROR_NOT_SAME_DEVICE: without MOVEFILE_COPY_ALLOWED
    const std::uint32_t target = GetAttributes(to);
    if (target != kInvalidAttributes && (target & (kAttrReadOnly | kAttrDirectory)))
        return kAccessDenied;
    const std::uint32_t moving = GetAttributes(from);
    fs::rename(src, dst, ec);
    if (ec) return kAccessDenied;
    ForgetAttributes(from);
    SetAttributes(to, moving);
    return kSuccess;
}

std::optional<std::string> SimFiles::ToAnsiExactly(std::string_view utf8) {
    if (ansi_code_page_ == 65001) return std::string(utf8);
    if (ansi_code_page_ == 1252) {
        std::string ansi = text::Utf8ToAnsi(utf8);
        if (text::AnsiToUtf8(ansi) == utf8) return ansi;
        return std::nullopt;
    }
    for (unsigned char c : utf8)
        if (c >= 0x80) return std::nullopt;
    return std::string(utf8);
}

std::string SimFiles::FromAnsiCodePage(std::string_view ansi) {
    if (ansi_code_page_ == 65001) return std::string(ansi);
    if (ansi_code_page_ == 1252) return text::AnsiToUtf8(ansi);
    std::string out(ansi);
    for (char& c : out)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return out;
}

}  // namespace orv::sim
