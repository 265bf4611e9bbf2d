// Process environment: the expansion that REG_EXPAND_SZ values go through.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv::platform {

class Environment {
  public:
    virtual ~Environment() = default;
    // ExpandEnvironmentStrings: %NAME% replaced by the variable's value (names
    // without regard to case); an unknown or unterminated reference stays as it is.
    virtual std::string Expand(std::string_view text) = 0;
    virtual std::optional<std::string> Get(std::string_view name) = 0;
};

}  // namespace orv::platform
