#include <array>
#include <cstring>

#include "platform/shortcuts.h"
#include "platform/text.h"

namespace orv::platform {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
constexpr std::uint32_t kHasDarwinId = 0x1000;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;

// Bounds-checked little-endian reads over the file's bytes.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : b_(bytes) {}
    bool U16(std::size_t at, std::uint32_t& v) const {
        if (at > b_.size() || b_.size() - at < 2) return false;
        v = Byte(at) | (Byte(at + 1) << 8);
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& v) const {
        if (at > b_.size() || b_.size() - at < 4) return false;
        v = Byte(at) | (Byte(at + 1) << 8) | (Byte(at + 2) << 16) | (Byte(at + 3) << 24);
        return true;
    }
    // A NUL-terminated ANSI string starting at `at` and ending before `limit`.
    bool Ansi(std::size_t at, std::size_t limit, std::string& out) const {
        for (std::size_t i = at; i < limit && i < b_.size(); ++i) {
            if (b_[i] == '\0') {
                out = text::AnsiToUtf8(b_.substr(at, i - at));
                return true;
            }
        }
        return false;
    }
    bool Wide(std::size_t at, std::size_t limit, std::string& out) const {
        std::u16string w;
        for (std::size_t i = at; i + 1 < limit && i + 1 < b_.size(); i += 2) {
            char16_t c = static_cast<char16_t>(Byte(i) | (Byte(i + 1) << 8));
            if (c == 0) {
                out = text::Utf16ToUtf8(w);
                return true;
            }
            w.push_back(c);
        }
        return false;
    }
    std::size_t size() const { return b_.size(); }

  private:
    std::uint32_t Byte(std::size_t at) const { return static_cast<std::uint8_t>(b_[at]); }
    std::string_view b_;
};

Status ParseLinkInfo(const Reader& r, std::size_t at, std::string& target) {
    std::uint32_t size = 0, header = 0, flags = 0, base = 0, suffix = 0;
    if (!r.U32(at, size) || !r.U32(at + 4, header) || !r.U32(at + 8, flags)) return kInvalidData;
    if (size < 0x1C || header < 0x1C || header > size || r.size() - at < size) return kInvalidData;
    // Only a local path is a file-system target the check can test; a
    // network-relative link is left to the shell.
    if (!(flags & kVolumeIdAndLocalBasePath)) return kSuccess;
    if (!r.U32(at + 16, base) || !r.U32(at + 24, suffix)) return kInvalidData;
    const std::size_t end = at + size;
    std::string base_path, suffix_path;
    std::uint32_t wbase = 0, wsuffix = 0;
    if (header >= 0x24 && r.U32(at + 28, wbase) && r.U32(at + 32, wsuffix) && wbase != 0) {
        if (wbase >= size || !r.Wide(at + wbase, end, base_path)) return kInvalidData;
        if (wsuffix != 0 && (wsuffix >= size || !r.Wide(at + wsuffix, end, suffix_path)))
            return kInvalidData;
    } else {
        if (base >= size || !r.Ansi(at + base, end, base_path)) return kInvalidData;
        if (suffix != 0 && (suffix >= size || !r.Ansi(at + suffix, end, suffix_path)))
            return kInvalidData;
    }
    target = base_path + suffix_path;
    return kSuccess;
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

Status ParseShellLink(std::string_view bytes, std::string& target) {
    target.clear();
    Reader r(bytes);
    std::uint32_t header = 0, flags = 0;
    if (!r.U32(0, header) || header != kHeaderSize || bytes.size() < kHeaderSize)
        return kInvalidData;
    if (std::memcmp(bytes.data() + 4, kLinkClsid.data(), kLinkClsid.size()) != 0)
        return kInvalidData;
    r.U32(20, flags);
    std::size_t at = kHeaderSize;
    if (flags & kHasIdList) {
        std::uint32_t id_size = 0;
        if (!r.U16(at, id_size)) return kInvalidData;
        at += 2 + id_size;
        if (at > bytes.size()) return kInvalidData;
    }
    // An advertised installer shortcut names a product, not a file: the
    // installer resolves it, so it has no target of its own to test.
    if (flags & kHasDarwinId) return kSuccess;
    if (!(flags & kHasLinkInfo) || (flags & kForceNoLinkInfo)) return kSuccess;
    std::string found;
    Status st = ParseLinkInfo(r, at, found);
    if (st == kSuccess) target = std::move(found);
    return st;
}

std::string BuildShellLink(std::string_view target) {
    std::string out(kHeaderSize, '\0');
    Put32(out, 0, kHeaderSize);
    std::memcpy(out.data() + 4, kLinkClsid.data(), kLinkClsid.size());
    Put32(out, 20, kHasLinkInfo | kIsUnicode);
    Put32(out, 60, 1);  // SW_SHOWNORMAL

    const std::string ansi = text::Utf8ToAnsi(target);
    const std::u16string wide = text::Utf8ToUtf16(target);
    // Link information: a 0x24-byte header, a volume id for a fixed drive
    // without a label, then the paths (ANSI and Unicode), suffixes empty.
    std::string info(0x24, '\0');
    std::string volume(0x11, '\0');
    Put32(volume, 0, 0x11);
    Put32(volume, 4, 3);  // DRIVE_FIXED
    Put32(volume, 12, 0x10);
    const std::uint32_t volume_at = 0x24;
    const std::uint32_t base_at = volume_at + 0x11;
    const std::uint32_t suffix_at = base_at + static_cast<std::uint32_t>(ansi.size()) + 1;
    std::uint32_t wbase_at = suffix_at + 1;
    std::string paths = ansi + '\0' + '\0';
    if (wbase_at % 2) {
        paths.push_back('\0');
        ++wbase_at;
    }
    for (char16_t c : wide) {
        paths.push_back(static_cast<char>(c & 0xFF));
        paths.push_back(static_cast<char>(c >> 8));
    }
    paths.append(2, '\0');
    const std::uint32_t wsuffix_at = wbase_at + static_cast<std::uint32_t>(wide.size() + 1) * 2;
    paths.append(2, '\0');
    const auto size = static_cast<std::uint32_t>(info.size() + volume.size() + paths.size());
    Put32(info, 0, size);
    Put32(info, 4, 0x24);
    Put32(info, 8, kVolumeIdAndLocalBasePath);
    Put32(info, 12, volume_at);
    Put32(info, 16, base_at);
    Put32(info, 20, 0);
    Put32(info, 24, suffix_at);
    Put32(info, 28, wbase_at);
    Put32(info, 32, wsuffix_at);
    out += info + volume + paths;
    out.append(4, '\0');  // the terminal extra-data block
    return out;
}

}  // namespace orv::platform
