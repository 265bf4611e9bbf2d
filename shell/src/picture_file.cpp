#include "shell/picture_file.h"

namespace orv::shell {

using namespace orv::platform;

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
