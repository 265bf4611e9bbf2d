// The real display, drives, pictures, system facts and fonts; each group in its own
// source file, put together by MakePlatform.
#pragma once

#include <memory>

#include "platform/display.h"
#include "platform/drives.h"
#include "platform/fonts.h"
#include "platform/pictures.h"
#include "platform/system_info.h"

namespace orv::win32 {

std::unique_ptr<platform::Display> MakeDisplay();
std::unique_ptr<platform::Drives> MakeDrives();
std::unique_ptr<platform::Pictures> MakePictures();
std::unique_ptr<platform::SystemInfo> MakeSystemInfo();
std::unique_ptr<platform::Fonts> MakeFonts();

}  // namespace orv::win32
