#include "shell/user_data.h"

namespace orv::shell {

using namespace orv::platform;

std::string UserDataFolder(Environment& environment) {
    std::string base;
    if (auto local = environment.Get("LOCALAPPDATA"); local && !local->empty())
        base = *local;
    else if (auto profile = environment.Get("USERPROFILE"); profile && !profile->empty())
        base = *profile + "\\AppData\\Local";
    else
        return {};
    return base + "\\Orvelle";
}

bool EnsureFolder(Files& files, std::string_view path) {
    if (path.empty()) return false;
    // Past the drive's root ("C:\"): the root itself is never created.
    for (std::size_t at = path.find('\\', 3);; at = path.find('\\', at + 1)) {
        std::string_view part = path.substr(0, at);
        if (files.GetAttributes(part) == kInvalidAttributes) {
            Status s = files.CreateFolder(part);
            if (s != kSuccess && s != kAlreadyExists) return false;
        }
        if (at == std::string_view::npos) return true;
    }
}

}  // namespace orv::shell
