#include "registry/regfile.h"

#include <array>
#include <cstdio>

#include "platform/regvalue.h"
#include "platform/text.h"

namespace orv::registry {

using namespace orv::platform;

namespace {

struct Root {
    std::string_view name;
    HKey key;
};
constexpr std::array kRootNames{
    Root{"HKEY_CLASSES_ROOT", kClassesRoot},
    Root{"HKEY_CURRENT_USER", kCurrentUser},
    Root{"HKEY_LOCAL_MACHINE", kLocalMachine},
    Root{"HKEY_USERS", kUsers},
    Root{"HKEY_PERFORMANCE_DATA", kPerformanceData},
    Root{"HKEY_CURRENT_CONFIG", kCurrentConfig},
    Root{"HKEY_DYN_DATA", kDynData},
    Root{"HKCR", kClassesRoot},
    Root{"HKCU", kCurrentUser},
    Root{"HKLM", kLocalMachine},
    Root{"HKU", kUsers},
    Root{"HKCC", kCurrentConfig},
};

constexpr std::size_t kWrapColumn = 76;

std::string Escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// A REG_SZ can be written as a quoted string only when that string loads
// back to exactly the same bytes.
bool QuotableText(const RegValue& v) {
    if (v.type != kRegSz || v.data.size() < 2 || v.data.size() % 2) return false;
    std::u16string w = DataAsUtf16(v);
    if (w.back() != u'\0') return false;
    w.pop_back();
    for (std::size_t i = 0; i < w.size(); ++i) {
        char16_t c = w[i];
        if (c == u'\0' || c == u'\r' || c == u'\n') return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= w.size() || w[i + 1] < 0xDC00 || w[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::string Trim(std::string_view s) {
    return std::string(text::TrimBlanks(s));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHexBytes(std::string_view s, std::vector<std::uint8_t>& out) {
    out.clear();
    std::string compact;
    for (char c : s)
        if (c != ' ' && c != '\t') compact += c;
    if (compact.empty()) return true;
    std::size_t i = 0;
    while (i < compact.size()) {
        if (i + 1 >= compact.size()) return false;
        int hi = HexDigit(compact[i]), lo = HexDigit(compact[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        if (i < compact.size()) {
            if (compact[i] != ',') return false;
            ++i;
            if (i == compact.size()) return false;
        }
    }
    return true;
}

// Parses a quoted name at the start of `s`; returns the position after the
// closing quote, or npos.
std::size_t ParseQuoted(std::string_view s, std::string& out) {
    if (s.empty() || s[0] != '"') return std::string_view::npos;
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[++i];
        } else if (s[i] == '"') {
            return i + 1;
        } else {
            out += s[i];
        }
    }
    return std::string_view::npos;
}

bool ParseValueData(std::string_view d, RegValue& out, bool& is_delete) {
    is_delete = false;
    if (d == "-") {
        is_delete = true;
        return true;
    }
    if (!d.empty() && d[0] == '"') {
        std::string s;
        std::size_t end = ParseQuoted(d, s);
        if (end != d.size()) return false;
        out = MakeSz(s);
        return true;
    }
    if (d.rfind("dword:", 0) == 0) {
        std::string_view h = d.substr(6);
        if (h.empty() || h.size() > 8) return false;
        std::uint32_t n = 0;
        for (char c : h) {
            int v = HexDigit(c);
            if (v < 0) return false;
            n = n * 16 + static_cast<std::uint32_t>(v);
        }
        out = MakeDword(n);
        return true;
    }
    std::uint32_t type = kRegBinary;
    std::string_view rest;
    if (d.rfind("hex:", 0) == 0) {
        rest = d.substr(4);
    } else if (d.rfind("hex(", 0) == 0) {
        std::size_t close = d.find("):");
        if (close == std::string_view::npos || close == 4) return false;
        type = 0;
        for (char c : d.substr(4, close - 4)) {
            int v = HexDigit(c);
            if (v < 0) return false;
            type = type * 16 + static_cast<std::uint32_t>(v);
        }
        rest = d.substr(close + 2);
    } else {
        return false;
    }
    out.type = type;
    return ParseHexBytes(rest, out.data);
}

void ExportKey(Registry& reg, HKey root, const std::string& path, std::string& out,
               bool& complete) {
    HKey key = 0;
    if (reg.OpenKey(root, path, kKeyRead, key) != kSuccess) {
        complete = false;
        return;
    }
    out += "[";
    out += RootName(root);
    if (!path.empty()) out += "\\" + path;
    out += "]\r\n";
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        RegValue value;
        Status st = reg.EnumValue(key, i, name, value);
        if (st == kNoMoreItems) break;
        if (st != kSuccess) {
            complete = false;
            break;
        }
        out += FormatValueLine(name, value) + "\r\n";
    }
    out += "\r\n";
    std::vector<std::string> subkeys;
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        Status st = reg.EnumKey(key, i, name);
        if (st == kNoMoreItems) break;
        if (st != kSuccess) {
            complete = false;
            break;
        }
        subkeys.push_back(std::move(name));
    }
    reg.CloseKey(key);
    for (const auto& s : subkeys)
        ExportKey(reg, root, path.empty() ? s : path + "\\" + s, out, complete);
}

}  // namespace

std::string_view RootName(HKey root) {
    for (const auto& r : kRootNames)
        if (r.key == root) return r.name;  // full names come first
    return {};
}

HKey RootFromName(std::string_view name) {
    for (const auto& r : kRootNames)
        if (text::EqualsNoCase(name, r.name)) return r.key;
    return 0;
}

std::string FormatValueLine(std::string_view name, const RegValue& value) {
    std::string line;
    if (name.empty()) {
        line = "@=";
    } else {
        line += '"';
        line += Escape(name);
        line += "\"=";
    }
    if (QuotableText(value)) {
        line += '"';
        line += Escape(DataAsText(value));
        line += '"';
        return line;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        char buf[16];
        std::uint32_t n = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                          (static_cast<std::uint32_t>(value.data[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        return line + buf;
    }
    char prefix[24];
    if (value.type == kRegBinary) {
        std::snprintf(prefix, sizeof prefix, "hex:");
    } else {
        std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    }
    line += prefix;
    static constexpr char kHex[] = "0123456789abcdef";
    std::size_t column = line.size();
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::uint8_t b = value.data[i];
        line += kHex[b >> 4];
        line += kHex[b & 0xF];
        column += 2;
        if (i + 1 < value.data.size()) {
            line += ',';
            ++column;
            if (column >= kWrapColumn) {
                line += "\\\r\n  ";
                column = 2;
            }
        }
    }
    return line;
}

std::string ExportRegText(Registry& registry, HKey root, std::string_view key, bool* complete) {
    std::string out(kRegFileHeader);
    out += "\r\n\r\n";
    bool all = true;
    ExportKey(registry, root, std::string(key), out, all);
    if (complete) *complete = all;
    return out;
}

Status DeleteKeyTree(Registry& registry, HKey root, std::string_view key) {
    if (key.empty()) return kAccessDenied;  // never a whole root
    HKey h = 0;
    Status st = registry.OpenKey(root, key, kKeyRead, h);
    if (st != kSuccess) return st;
    std::vector<std::string> subkeys;
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        if (registry.EnumKey(h, i, name) != kSuccess) break;
        subkeys.push_back(std::move(name));
    }
    registry.CloseKey(h);
    Status first = kSuccess;
    for (const auto& s : subkeys) {
        Status sub = DeleteKeyTree(registry, root, std::string(key) + "\\" + s);
        if (sub != kSuccess && first == kSuccess) first = sub;
    }
    st = registry.DeleteKey(root, key);
    return st != kSuccess ? st : first;
}

ImportResult ImportRegText(Registry& registry, std::string_view text) {
    ImportResult result;
    // Split into logical lines: a hex value continues over lines ending in '\'.
    struct Line {
        std::string text;
        int number;
    };
    std::vector<Line> lines;
    {
        std::string cur;
        int start_line = 0, n = 0;
        bool continuing = false;
        std::size_t i = 0;
        while (i <= text.size()) {
            std::size_t e = text.find_first_of("\r\n", i);
            if (e == std::string_view::npos) e = text.size();
            std::string raw(text.substr(i, e - i));
            ++n;
            std::string t = continuing ? Trim(raw) : raw;
            if (!continuing) start_line = n;
            std::string trimmed = Trim(t);
            bool comment = !continuing && !trimmed.empty() && trimmed[0] == ';';
            // Only a hex value continues onto the next line.
            bool more = !comment && !trimmed.empty() && trimmed.back() == '\\' &&
                        (continuing || trimmed.find("=hex") != std::string::npos);
            if (more) {
                trimmed.pop_back();
                cur += trimmed;
                continuing = true;
            } else {
                cur += continuing ? trimmed : t;
                lines.push_back({cur, start_line});
                cur.clear();
                continuing = false;
            }
            if (e == text.size()) break;
            i = e + ((e + 1 < text.size() && text[e] == '\r' && text[e + 1] == '\n') ? 2 : 1);
        }
        if (continuing) lines.push_back({cur, start_line});
    }

    HKey current = 0;
    bool have_key = false;
    bool in_deleted_key = false;
    auto close_current = [&] {
        if (have_key) registry.CloseKey(current);
        have_key = false;
    };
    for (const Line& line : lines) {
        std::string t = Trim(line.text);
        if (t.empty() || t[0] == ';') continue;
        if (!result.header_ok) {
            if (t == kRegFileHeader) {
                result.header_ok = true;
                continue;
            }
            result.bad_lines.push_back(line.number);
            return result;
        }
        if (t[0] == '[') {
            close_current();
            in_deleted_key = false;
            if (t.back() != ']') {
                result.bad_lines.push_back(line.number);
                continue;
            }
            std::string path = t.substr(1, t.size() - 2);
            bool remove = !path.empty() && path[0] == '-';
            if (remove) path.erase(0, 1);
            std::size_t slash = path.find('\\');
            HKey root = RootFromName(path.substr(0, slash));
            std::string sub = slash == std::string::npos ? "" : path.substr(slash + 1);
            if (root == 0) {
                result.bad_lines.push_back(line.number);
                continue;
            }
            if (remove) {
                in_deleted_key = true;
                Status st = DeleteKeyTree(registry, root, sub);
                if (st != kSuccess && st != kFileNotFound)
                    result.failed_lines.push_back(line.number);
                else
                    ++result.keys;
                continue;
            }
            if (registry.CreateKey(root, sub, kKeyAllAccess, current) != kSuccess) {
                result.failed_lines.push_back(line.number);
                continue;
            }
            have_key = true;
            ++result.keys;
            continue;
        }
        std::string name;
        std::size_t after = 0;
        if (t[0] == '@') {
            after = 1;
        } else {
            after = ParseQuoted(t, name);
            if (after == std::string::npos) {
                result.bad_lines.push_back(line.number);
                continue;
            }
        }
        std::string rest = Trim(std::string_view(t).substr(after));
        if (rest.empty() || rest[0] != '=') {
            result.bad_lines.push_back(line.number);
            continue;
        }
        RegValue value;
        bool is_delete = false;
        if (!ParseValueData(Trim(std::string_view(rest).substr(1)), value, is_delete)) {
            result.bad_lines.push_back(line.number);
            continue;
        }
        if (in_deleted_key) continue;
        if (!have_key) {
            result.failed_lines.push_back(line.number);
            continue;
        }
        Status st = is_delete ? registry.DeleteValue(current, name)
                              : registry.SetValue(current, name, value);
        if (st != kSuccess && !(is_delete && st == kFileNotFound))
            result.failed_lines.push_back(line.number);
        else
            ++result.values;
    }
    close_current();
    return result;
}

std::string EncodeRegFile(std::string_view text) {
    std::string out = "\xFF\xFE";
    auto bytes = text::Utf16Bytes(text::Utf8ToUtf16(text));
    out.append(bytes.begin(), bytes.end());
    return out;
}

std::string DecodeRegFile(std::string_view bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return text::Utf16ToUtf8(text::FromUtf16Bytes(
            reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2));
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return std::string(bytes.substr(3));
    return std::string(bytes);
}

}  // namespace orv::registry
