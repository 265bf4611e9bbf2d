// The real shortcut reader over the shell's IShellLinkW.
#pragma once

#include "platform/files.h"
#include "platform/shortcuts.h"

namespace orv::win32 {

class Win32Shortcuts : public platform::Shortcuts {
  public:
    explicit Win32Shortcuts(platform::Files& files) : files_(files) {}
    platform::Status ReadTarget(std::string_view path, std::string& target) override;

  private:
    platform::Files& files_;
};

}  // namespace orv::win32
