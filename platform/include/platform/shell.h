// Shell and process identity: opening documents and the one-instance rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv::platform {

class Shell {
  public:
    virtual ~Shell() = default;
    // ShellExecute with no verb; the result is the Win32 one (> 32 success).
    virtual std::intptr_t Open(std::uintptr_t owner_window, std::string_view file,
                               std::string_view directory, int show) = 0;
    // True for the first holder of `name` in this session; a later copy gets
    // false and is expected to end.
    virtual bool ClaimSingleInstance(std::string_view name) = 0;
};

}  // namespace orv::platform
