// The real platform: every group over the wide Win32 API.
//   auto world = orv::win32::MakePlatform();
//   MainForm form(host, world->platform);
#pragma once

#include <memory>

#include "platform/platform.h"

namespace orv::win32 {

struct RealPlatform {
    virtual ~RealPlatform() = default;
    platform::Platform platform;

  protected:
    explicit RealPlatform(platform::Platform p) : platform(p) {}
};

std::unique_ptr<RealPlatform> MakePlatform();

// UTF-8 <-> UTF-16 at the boundary.
std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace orv::win32
