// Any bytes given to the font file reader: no read outside them, and every
// name that comes back is whole, non-empty text.
#include <string>

#include "fuzz.h"
#include "platform/fonts.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    auto fonts = platform::ReadFontFile(std::span<const std::uint8_t>(data, size));
    if (!fonts) return 0;
    if (fonts->empty()) __builtin_trap();
    for (const auto& f : *fonts) {
        if (f.family.empty() || f.full.empty()) __builtin_trap();
        if (text::Utf16ToUtf8(text::Utf8ToUtf16(f.family)) != f.family) __builtin_trap();
    }
    if (platform::FontRegistryName(*fonts).empty()) __builtin_trap();
    return 0;
}
