#include "platform/sim/fonts.h"

#include <algorithm>

#include "platform/sim/world.h"
#include "platform/text.h"

namespace orv::sim {

using namespace orv::platform;

std::vector<std::string> SimFonts::ScreenFaces() {
    if (fail.faces) return {};
    // Windows lists the fonts of the files added this session with the
    // others; the simulation reads their names from the files themselves.
    std::vector<std::string> all = faces;
    for (const auto& path : added) {
        auto bytes = files_.ReadFile(path);
        auto fonts = bytes ? ReadFontFile(*bytes) : std::nullopt;
        if (!fonts) continue;
        for (const auto& f : *fonts) all.push_back(f.family);
    }
    return ListedFaces(all);
}

Status SimFonts::MachineFontsFolder(std::string& folder) {
    if (fail.machine_folder != kSuccess) return fail.machine_folder;
    folder = environment_.Expand("%SystemRoot%\\Fonts");
    return kSuccess;
}

Status SimFonts::UserFontsFolder(std::string& folder) {
    if (fail.user_folder != kSuccess) return fail.user_folder;
    auto local = environment_.Get("LOCALAPPDATA");
    if (!local || local->empty()) return kFileNotFound;
    folder = *local + "\\Microsoft\\Windows\\Fonts";
    return kSuccess;
}

int SimFonts::AddFontFile(std::string_view path) {
    if (fail.add) return 0;
    auto bytes = files_.ReadFile(path);
    auto fonts = bytes ? ReadFontFile(*bytes) : std::nullopt;
    if (!fonts) return 0;
    added.emplace_back(path);
    return static_cast<int>(fonts->size());
}

bool SimFonts::RemoveFontFile(std::string_view path) {
    if (fail.remove) return false;
    auto it = std::find_if(added.begin(), added.end(),
                           [&](const std::string& p) { return text::EqualsNoCase(p, path); });
    if (it == added.end()) return false;
    added.erase(it);
    return true;
}

bool SimFonts::BroadcastFontChange() {
    if (fail.broadcast) return false;
    ++broadcasts;
    return true;
}

}  // namespace orv::sim
