#include "shell/picture_file.h"

namespace orv::shell {

using namespace orv::platform;

std::string UserDataFolder(Environment& environment) {
    std::string base;
    if (auto local = environment.Get("LOCALAPPDATA"))
        base = *local;
    else if (auto profile = environment.Get("USERPROFILE"))
        base = *profile + "\\AppData\\Local";
    return base + "\\Orvelle";
}

bool EnsureFolder(Files& files, std::string_view path) {
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

bool ShowMadePicture(ui::Picture& target, const PictureData& picture, Platform& platform,
                     std::string_view file_name) {
    const std::string folder = UserDataFolder(platform.environment);
    const std::string file = folder + "\\" + std::string(file_name);
    if (!EnsureFolder(platform.files, folder) ||
        platform.files.SaveFile(file, EncodeBmp(picture)) != kSuccess)
        return false;
    target.SetSource(file);
    return true;
}

}  // namespace orv::shell
