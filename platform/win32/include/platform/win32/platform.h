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

// UTF-8 text in the given code page (the system's ANSI one, GetACP()). What
// the code page cannot hold becomes '?'; when the conversion fails outright
// every character outside ASCII does, so a text is never lost.
std::string ToCodePage(std::string_view utf8, unsigned code_page);

}  // namespace orv::win32
