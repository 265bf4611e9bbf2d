#include "platform/text.h"

namespace orv::text {
namespace {

// Decodes one code point of WTF-8; malformed bytes come out as U+FFFD.
char32_t Next(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) -> int {
        if (i + k >= s.size()) return -1;
        auto c = static_cast<unsigned char>(s[i + k]);
        return (c & 0xC0) == 0x80 ? (c & 0x3F) : -1;
    };
    if (b < 0x80) {
        ++i;
        return b;
    }
    if ((b & 0xE0) == 0xC0) {
        int c1 = cont(1);
        if (c1 >= 0 && b >= 0xC2) {
            i += 2;
            return static_cast<char32_t>(((b & 0x1F) << 6) | c1);
        }
    } else if ((b & 0xF0) == 0xE0) {
        int c1 = cont(1), c2 = cont(2);
        if (c1 >= 0 && c2 >= 0) {
            char32_t cp = static_cast<char32_t>(((b & 0x0F) << 12) | (c1 << 6) | c2);
            if (cp >= 0x800) {
                i += 3;
                return cp;
            }
        }
    } else if ((b & 0xF8) == 0xF0) {
        int c1 = cont(1), c2 = cont(2), c3 = cont(3);
        if (c1 >= 0 && c2 >= 0 && c3 >= 0) {
            char32_t cp = static_cast<char32_t>(((b & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3);
            if (cp >= 0x10000 && cp <= 0x10FFFF) {
                i += 4;
                return cp;
            }
        }
    }
    ++i;
    return 0xFFFD;
}

void Append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, which
// MultiByteToWideChar maps to the same-numbered control characters.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t FoldCp(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = Next(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        }
        Append(out, c);  // a lone surrogate is kept as its three-byte form
    }
    return out;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

std::u16string FromUtf16Bytes(const std::uint8_t* data, std::size_t size) {
    std::u16string out;
    out.reserve(size / 2 + 1);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        out += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    if (size % 2) out += static_cast<char16_t>(data[size - 1]);  // keep a stray last byte
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = Next(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k) {
            if (kCp1252High[k] == cp || (kCp1252High[k] == 0 && cp == char32_t(0x80 + k))) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

std::string Utf8ToAsciiReplacing(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = Next(utf8, i);
        out += cp < 0x80 ? static_cast<char>(cp) : '?';
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char ch : ansi) {
        auto b = static_cast<unsigned char>(ch);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) cp = kCp1252High[b - 0x80];
        Append(out, cp);
    }
    return out;
}

std::string Fold(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t start = i;
        char32_t cp = Next(utf8, i);
        char32_t folded = FoldCp(cp);
        if (folded == cp) {
            out.append(utf8.substr(start, i - start));  // keep even malformed bytes distinct
        } else {
            Append(out, folded);
        }
    }
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return Fold(a) == Fold(b);
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size();) n += Next(utf8, i) >= 0x10000 ? 2 : 1;
    return n;
}

std::string TruncateUtf16(std::string_view utf8, std::size_t units) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t start = i;
        std::size_t w = Next(utf8, i) >= 0x10000 ? 2 : 1;
        if (n + w > units) return std::string(utf8.substr(0, start));
        n += w;
    }
    return std::string(utf8);
}

}  // namespace orv::text
