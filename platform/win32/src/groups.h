// Platform groups of the Win32 backend that live in files of their own; the
// bundle in platform.cpp puts them together.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sysparams.h"

namespace orv::win32::detail {

std::unique_ptr<platform::SystemParameters> MakeSystemParameters();

std::int32_t EmptyRecycleBin(std::uintptr_t owner, std::string_view root, std::uint32_t flags);
void UpdateRecycleBinIcon();
std::string BrowseForFolder(std::uintptr_t owner, std::string_view title);
void ChangeNotify(std::int32_t event, std::string_view path);

}  // namespace orv::win32::detail
