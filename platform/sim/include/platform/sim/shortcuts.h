// Simulated shortcuts: the .lnk file is read through SimFiles and parsed with
// the platform's own shell-link parser, so a test seeds a shortcut by writing
// BuildShellLink(target) (or any bytes) to a path.
#pragma once

#include "platform/shortcuts.h"

namespace orv::sim {

class SimFiles;

class SimShortcuts : public platform::Shortcuts {
  public:
    explicit SimShortcuts(SimFiles& files) : files_(files) {}
    platform::Status ReadTarget(std::string_view path, std::string& target) override;

  private:
    SimFiles& files_;
};

}  // namespace orv::sim
