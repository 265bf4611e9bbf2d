// Any bytes given to the shell-link reader: no read outside them, and a
// target that comes back is whole text (it converts to UTF-16 and back).
#include <string>

#include "fuzz.h"
#include "platform/shortcuts.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    std::string target;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::Status st = platform::ParseShellLink(bytes, target);
    if (st != platform::kSuccess && !target.empty()) __builtin_trap();
    if (text::Utf16ToUtf8(text::Utf8ToUtf16(target)) != target) __builtin_trap();
    return 0;
}
