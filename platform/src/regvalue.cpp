#include "platform/regvalue.h"

#include "platform/text.h"

namespace orv::platform {

RegValue MakeSz(std::string_view text, std::uint32_t type) {
    std::u16string w = text::Utf8ToUtf16(text);
    w.push_back(u'\0');
    return {type, text::Utf16Bytes(w)};
}

RegValue MakeDword(std::uint32_t n) {
    return {kRegDword,
            {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
}

RegValue MakeQword(std::uint64_t n) {
    RegValue v{kRegQword, {}};
    for (int i = 0; i < 8; ++i) v.data.push_back(std::uint8_t(n >> (8 * i)));
    return v;
}

RegValue MakeBinary(std::vector<std::uint8_t> bytes) {
    return {kRegBinary, std::move(bytes)};
}

RegValue MakeMultiSz(const std::vector<std::string>& texts) {
    std::u16string w;
    for (const auto& t : texts) {
        w += text::Utf8ToUtf16(t);
        w.push_back(u'\0');
    }
    w.push_back(u'\0');
    return {kRegMultiSz, text::Utf16Bytes(w)};
}

std::u16string DataAsUtf16(const RegValue& value) {
    return text::FromUtf16Bytes(value.data.data(), value.data.size());
}

std::string DataAsText(const RegValue& value) {
    std::u16string w = DataAsUtf16(value);
    if (auto nul = w.find(u'\0'); nul != std::u16string::npos) w.resize(nul);
    return text::Utf16ToUtf8(w);
}

}  // namespace orv::platform
