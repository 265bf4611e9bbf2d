// Pictures the program makes itself (a preview, a colour swatch) shown in a
// picture control: the control shows files, so the picture is written as a
// bitmap into the user's own data folder, "%LOCALAPPDATA%\Orvelle".
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "shell/user_data.h"
#include "ui/controls.h"

namespace orv::shell {

// Writes `picture` as "<user data folder>\<file_name>" and shows it in
// `target`; false (and `target` unchanged) when it cannot be written.
bool ShowMadePicture(ui::Picture& target, const platform::PictureData& picture,
                     platform::Platform& platform, std::string_view file_name);

}  // namespace orv::shell
