#include "registry/regpath.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/regvalue.h"
#include "platform/text.h"

namespace orv::registry {

using namespace orv::platform;

namespace {

struct RootName {
    std::string_view name;
    HKey key;
};

constexpr std::array kRoots{
    RootName{"HKEY_CURRENT_USER", kCurrentUser},
    RootName{"HKCU", kCurrentUser},
    RootName{"HKEY_LOCAL_MACHINE", kLocalMachine},
    RootName{"HKLM", kLocalMachine},
    RootName{"HKEY_CLASSES_ROOT", kClassesRoot},
    RootName{"HKCR", kClassesRoot},
    RootName{"HKEY_USERS", kUsers},
    RootName{"HKEY_CURRENT_CONFIG", kCurrentConfig},
};

constexpr Status kTypeMismatch = kInvalidParameter;

// Text to number the way the classic conversions do: blanks around, an
// optional sign, decimal digits with an optional fraction rounded half to even.
std::optional<std::int64_t> ParseNumber(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (s.empty()) return std::nullopt;
    double d = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(d)) return std::nullopt;
    double r = std::nearbyint(d);  // default rounding mode: half to even
    if (r < -9.2e18 || r > 9.2e18) return std::nullopt;
    return static_cast<std::int64_t>(r);
}

}  // namespace

std::optional<RegPath> ParseRegPath(std::string_view path) {
    std::size_t slash = path.find('\\');
    if (slash == std::string_view::npos) return std::nullopt;
    std::string_view root = path.substr(0, slash);
    RegPath out;
    for (const auto& r : kRoots) {
        if (text::EqualsNoCase(root, r.name)) out.root = r.key;
    }
    if (out.root == 0) return std::nullopt;
    std::string_view rest = path.substr(slash + 1);
    std::size_t last = rest.rfind('\\');
    if (last == std::string_view::npos) {
        out.value = std::string(rest);
    } else {
        out.key = std::string(rest.substr(0, last));
        out.value = std::string(rest.substr(last + 1));
    }
    return out;
}

std::optional<std::int64_t> ReadResult::AsNumber() const {
    if (!data_) return std::nullopt;
    if (auto* n = std::get_if<std::int64_t>(&*data_)) return *n;
    return ParseNumber(std::get<std::string>(*data_));
}

std::optional<int> ReadResult::AsInt16() const {
    auto n = AsNumber();
    if (!n || *n < -32768 || *n > 32767) return std::nullopt;
    return static_cast<int>(*n);
}

std::string ReadResult::AsText() const {
    if (!data_) return {};
    if (auto* n = std::get_if<std::int64_t>(&*data_)) return std::to_string(*n);
    return std::get<std::string>(*data_);
}

ReadResult RegistryPaths::RegRead(std::string_view path) {
    auto p = ParseRegPath(path);
    if (!p) return ReadResult(kPathNotFound);
    HKey key = 0;
    if (Status st = registry_.OpenKey(p->root, p->key, kKeyQueryValue, key); st != kSuccess)
        return ReadResult(st);
    RegValue value;
    Status st = registry_.QueryValue(key, p->value, value);
    registry_.CloseKey(key);
    if (st != kSuccess) return ReadResult(st);
    switch (value.type) {
        case kRegDword: {
            if (value.data.size() < 4) return ReadResult(kInvalidData);
            std::int32_t n = static_cast<std::int32_t>(
                value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                (static_cast<std::uint32_t>(value.data[3]) << 24));
            return ReadResult(RegData{std::int64_t{n}});
        }
        case kRegQword: {
            if (value.data.size() < 8) return ReadResult(kInvalidData);
            std::uint64_t n = 0;
            for (int i = 7; i >= 0; --i) n = (n << 8) | value.data[static_cast<std::size_t>(i)];
            return ReadResult(RegData{static_cast<std::int64_t>(n)});
        }
        case kRegSz:
            return ReadResult(RegData{DataAsText(value)});
        case kRegExpandSz:
            return ReadResult(RegData{environment_.Expand(DataAsText(value))});
        default:
            // Raw bytes and lists are not a number or a text.
            return ReadResult(kTypeMismatch);
    }
}

Status RegistryPaths::RegWrite(std::string_view path, const RegData& data, std::string_view type) {
    auto p = ParseRegPath(path);
    if (!p) return kPathNotFound;
    RegValue value;
    const auto* number = std::get_if<std::int64_t>(&data);
    const auto* text = std::get_if<std::string>(&data);
    auto as_number = [&]() -> std::optional<std::int64_t> {
        if (number) return *number;
        return ParseNumber(*text);
    };
    if (type.empty() || text::EqualsNoCase(type, "REG_SZ") ||
        text::EqualsNoCase(type, "REG_EXPAND_SZ")) {
        std::string t = number ? std::to_string(*number) : *text;
        value = MakeSz(t, text::EqualsNoCase(type, "REG_EXPAND_SZ") ? kRegExpandSz : kRegSz);
    } else if (text::EqualsNoCase(type, "REG_DWORD")) {
        auto n = as_number();
        if (!n || *n < INT32_MIN || *n > UINT32_MAX) return kTypeMismatch;
        value = MakeDword(static_cast<std::uint32_t>(*n));
    } else if (text::EqualsNoCase(type, "REG_BINARY")) {
        auto n = as_number();
        if (!n || *n < INT32_MIN || *n > UINT32_MAX) return kTypeMismatch;
        value = MakeDword(static_cast<std::uint32_t>(*n));
        value.type = kRegBinary;
    } else {
        return kInvalidParameter;
    }
    HKey key = 0;
    if (Status st = registry_.CreateKey(p->root, p->key, kKeySetValue, key); st != kSuccess)
        return st;
    Status st = registry_.SetValue(key, p->value, value);
    registry_.CloseKey(key);
    return st;
}

std::string RegistryPaths::RegReadValue(std::string_view path) {
    ReadResult r = RegRead(path);
    if (!r) return "Error";
    std::string t = r.AsText();
    return t.empty() ? "Error" : t;
}

Status RegistryPaths::ApplyBothProfiles(std::string_view rest, const RegData& data,
                                        std::string_view type) {
    Status a = RegWrite("HKCU\\" + std::string(rest), data, type);
    Status b = RegWrite("HKEY_USERS\\.DEFAULT\\" + std::string(rest), data, type);
    return a != kSuccess ? a : b;
}

}  // namespace orv::registry
