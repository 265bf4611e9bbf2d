// The real shortcut reader over the shell's IShellLinkW.
#pragma once

#include "platform/files.h"
#include "platform/shortcuts.h"

namespace orv::win32 {

// One shell-link object serves every read (a walk reads thousands); COM is
// initialised on first use on the calling thread (the window thread) and
// released with the object.
class Win32Shortcuts : public platform::Shortcuts {
  public:
    explicit Win32Shortcuts(platform::Files& files) : files_(files) {}
    ~Win32Shortcuts() override;
    Win32Shortcuts(const Win32Shortcuts&) = delete;
    Win32Shortcuts& operator=(const Win32Shortcuts&) = delete;
    platform::Status ReadTarget(std::string_view path, std::string& target) override;

  private:
    platform::Files& files_;
    void* link_ = nullptr;  // IShellLinkW
    void* file_ = nullptr;  // IPersistFile of the same object
    bool com_ = false;      // this object initialised COM
};

}  // namespace orv::win32
