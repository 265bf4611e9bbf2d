// The user's own data folder, "%LOCALAPPDATA%\Orvelle": pictures the program
// makes, the wallpaper copy, health backups, and the error log when the
// program folder cannot be written (an installed copy under Program Files).
#pragma once

#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/files.h"

namespace orv::shell {

// "%LOCALAPPDATA%\Orvelle" (from the profile folder when the variable is
// missing); "" when neither is set, never a folder at a drive's root.
std::string UserDataFolder(platform::Environment& environment);

// Creates each missing folder of a Windows path ("C:\a\b"), one level at a
// time; false when one cannot be made, and for "".
bool EnsureFolder(platform::Files& files, std::string_view path);

}  // namespace orv::shell
