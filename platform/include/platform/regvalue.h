// Building and reading registry data in the byte form the wide API stores.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace orv::platform {

// Text values carry their terminating NUL, as RegSetValueExW callers pass them.
RegValue MakeSz(std::string_view text, std::uint32_t type = kRegSz);
RegValue MakeDword(std::uint32_t number);
RegValue MakeQword(std::uint64_t number);
RegValue MakeBinary(std::vector<std::uint8_t> bytes);
RegValue MakeMultiSz(const std::vector<std::string>& texts);

// The UTF-16 text of string data, all of it (embedded and trailing NULs kept).
std::u16string DataAsUtf16(const RegValue& value);
// The text up to its first NUL; a text stored without a terminator keeps
// its last character.
std::string DataAsText(const RegValue& value);

}  // namespace orv::platform
