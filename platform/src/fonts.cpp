// The font file reader. Every offset and length comes from the file, so each
// is checked against the bytes there before it is followed; sums are taken
// in 64 bits so that no table entry can wrap around the end.
#include "platform/fonts.h"

#include <unordered_set>

#include "platform/text.h"

namespace orv::platform {
namespace {

constexpr std::uint32_t Tag(char a, char b, char c, char d) {
    return (std::uint32_t(std::uint8_t(a)) << 24) | (std::uint32_t(std::uint8_t(b)) << 16) |
           (std::uint32_t(std::uint8_t(c)) << 8) | std::uint32_t(std::uint8_t(d));
}

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kCff = Tag('O', 'T', 'T', 'O');
constexpr std::uint32_t kAppleTrueType = Tag('t', 'r', 'u', 'e');
constexpr std::uint32_t kCollection = Tag('t', 't', 'c', 'f');
constexpr std::uint32_t kNameTable = Tag('n', 'a', 'm', 'e');
// More fonts than any real collection holds; a count beyond it is damage.
constexpr std::uint32_t kMaxCollectionFonts = 1024;

constexpr std::uint16_t kNameFamily = 1;
constexpr std::uint16_t kNameFull = 4;

class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> b) : b_(b) {}
    std::size_t Size() const { return b_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= b_.size() && length <= b_.size() - offset;
    }
    // Callers check Has first.
    std::uint16_t U16(std::uint64_t at) const {
        return static_cast<std::uint16_t>((b_[at] << 8) | b_[at + 1]);
    }
    std::uint32_t U32(std::uint64_t at) const {
        return (std::uint32_t(U16(at)) << 16) | U16(at + 2);
    }
    std::span<const std::uint8_t> Sub(std::uint64_t offset, std::uint64_t length) const {
        return b_.subspan(offset, length);
    }

  private:
    std::span<const std::uint8_t> b_;
};

std::string DecodeUtf16Be(std::span<const std::uint8_t> s) {
    std::u16string w;
    w.reserve(s.size() / 2);
    for (std::size_t i = 0; i + 1 < s.size(); i += 2)
        w.push_back(static_cast<char16_t>((s[i] << 8) | s[i + 1]));
    return text::Utf16ToUtf8(w);
}

std::string DecodeMacRoman(std::span<const std::uint8_t> s) {
    // Read as Windows-1252: the two agree on ASCII, which is what the
    // Macintosh names of the fonts that carry nothing better are written in.
    return text::AnsiToUtf8(std::string(s.begin(), s.end()));
}

std::string Cleaned(std::string name) {
    while (!name.empty() && (name.back() == '\0' || name.back() == ' ')) name.pop_back();
    std::size_t start = 0;
    while (start < name.size() && name[start] == ' ') ++start;
    return name.substr(start);
}

// How much a name record is worth: Windows platform names, US English first,
// then the Unicode platform, then Macintosh Roman; 0 for encodings not read.
int Preference(std::uint16_t platform, std::uint16_t encoding, std::uint16_t language) {
    if (platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10))
        return language == 0x0409 ? 4 : 3;
    if (platform == 0) return 2;
    if (platform == 1 && encoding == 0) return 1;
    return 0;
}

// The best record of `name_id` in the name table at `table`, "" when there
// is none or it does not fit the table.
std::string ReadName(const Bytes& b, std::uint64_t table, std::uint64_t length,
                     std::uint16_t name_id) {
    if (length < 6) return {};
    const std::uint16_t count = b.U16(table + 2);
    const std::uint16_t strings = b.U16(table + 4);
    if (6 + std::uint64_t(count) * 12 > length) return {};
    int best = 0;
    std::string chosen;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint64_t r = table + 6 + std::uint64_t(i) * 12;
        if (b.U16(r + 6) != name_id) continue;
        const std::uint16_t platform = b.U16(r), encoding = b.U16(r + 2);
        const int score = Preference(platform, encoding, b.U16(r + 4));
        if (score <= best) continue;
        const std::uint64_t at = std::uint64_t(strings) + b.U16(r + 10);
        const std::uint16_t size = b.U16(r + 8);
        if (at > length || size > length - at) continue;
        auto s = b.Sub(table + at, size);
        std::string name = Cleaned(platform == 1 ? DecodeMacRoman(s) : DecodeUtf16Be(s));
        if (name.empty()) continue;
        best = score;
        chosen = std::move(name);
    }
    return chosen;
}

std::optional<FontNames> ReadFont(const Bytes& b, std::uint64_t at) {
    if (!b.Has(at, 12)) return std::nullopt;
    const std::uint32_t version = b.U32(at);
    if (version != kTrueType && version != kCff && version != kAppleTrueType) return std::nullopt;
    const std::uint16_t tables = b.U16(at + 4);
    if (tables == 0 || !b.Has(at + 12, std::uint64_t(tables) * 16)) return std::nullopt;
    for (std::uint16_t i = 0; i < tables; ++i) {
        const std::uint64_t r = at + 12 + std::uint64_t(i) * 16;
        if (b.U32(r) != kNameTable) continue;
        const std::uint64_t offset = b.U32(r + 8), length = b.U32(r + 12);
        if (!b.Has(offset, length)) return std::nullopt;
        FontNames names;
        names.family = ReadName(b, offset, length, kNameFamily);
        if (names.family.empty()) return std::nullopt;
        names.full = ReadName(b, offset, length, kNameFull);
        if (names.full.empty()) names.full = names.family;
        return names;
    }
    return std::nullopt;  // no name table: nothing Windows could list it by
}

}  // namespace

std::optional<std::vector<FontNames>> ReadFontFile(std::span<const std::uint8_t> bytes) {
    const Bytes b(bytes);
    if (!b.Has(0, 4)) return std::nullopt;
    std::vector<FontNames> fonts;
    if (b.U32(0) != kCollection) {
        auto font = ReadFont(b, 0);
        if (!font) return std::nullopt;
        fonts.push_back(std::move(*font));
        return fonts;
    }
    if (!b.Has(0, 12)) return std::nullopt;
    const std::uint32_t count = b.U32(8);
    if (count == 0 || count > kMaxCollectionFonts || !b.Has(12, std::uint64_t(count) * 4))
        return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        auto font = ReadFont(b, b.U32(12 + std::uint64_t(i) * 4));
        if (!font) return std::nullopt;
        fonts.push_back(std::move(*font));
    }
    return fonts;
}

std::optional<std::vector<FontNames>> ReadFontFile(std::string_view bytes) {
    return ReadFontFile(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string FontRegistryName(const std::vector<FontNames>& fonts) {
    std::string name;
    for (const auto& f : fonts) {
        if (!name.empty()) name += " & ";
        name += f.full;
    }
    return name + " (TrueType)";
}

namespace {

void Put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v >> 16);
    Put16(out, v & 0xFFFF);
}

std::string NameTable(const std::vector<FontNameRecord>& records) {
    std::string table, strings;
    Put16(table, 0);
    Put16(table, static_cast<std::uint32_t>(records.size()));
    Put16(table, static_cast<std::uint32_t>(6 + 12 * records.size()));
    for (const auto& r : records) {
        Put16(table, r.platform);
        Put16(table, r.encoding);
        Put16(table, r.language);
        Put16(table, r.name_id);
        Put16(table, static_cast<std::uint32_t>(r.bytes.size()));
        Put16(table, static_cast<std::uint32_t>(strings.size()));
        strings += r.bytes;
    }
    return table + strings;
}

}  // namespace

std::vector<FontNameRecord> WindowsNameRecords(const FontNames& names) {
    auto encode = [](std::string_view utf8) {
        std::string be;
        for (char16_t c : text::Utf8ToUtf16(utf8)) Put16(be, c);
        return be;
    };
    return {{3, 1, 0x0409, kNameFamily, encode(names.family)},
            {3, 1, 0x0409, kNameFull, encode(names.full)}};
}

std::string BuildFontFile(const std::vector<std::vector<FontNameRecord>>& fonts) {
    constexpr std::uint32_t kDirectory = 12 + 16;  // offset table, one table record
    const bool collection = fonts.size() != 1;
    const std::uint32_t header = collection ? 12 + 4 * static_cast<std::uint32_t>(fonts.size()) : 0;
    std::string out, tables;
    if (collection) {
        Put32(out, kCollection);
        Put32(out, 0x00010000);
        Put32(out, static_cast<std::uint32_t>(fonts.size()));
        for (std::size_t i = 0; i < fonts.size(); ++i)
            Put32(out, header + kDirectory * static_cast<std::uint32_t>(i));
    }
    const std::uint32_t first_table =
        header + kDirectory * static_cast<std::uint32_t>(fonts.size());
    for (const auto& records : fonts) {
        const std::string name = NameTable(records);
        Put32(out, kTrueType);
        Put16(out, 1);   // tables
        Put16(out, 16);  // search range, entry selector, range shift: as for one table
        Put16(out, 0);
        Put16(out, 0);
        Put32(out, kNameTable);
        Put32(out, 0);  // checksum: not checked by the reader
        Put32(out, first_table + static_cast<std::uint32_t>(tables.size()));
        Put32(out, static_cast<std::uint32_t>(name.size()));
        tables += name;
    }
    return out + tables;
}

std::vector<std::string> ListedFaces(const std::vector<std::string>& enumerated) {
    std::vector<std::string> faces;
    std::unordered_set<std::string> seen;
    for (const auto& face : enumerated) {
        if (face.empty() || face.front() == '@') continue;
        if (seen.insert(text::Fold(face)).second) faces.push_back(face);
    }
    return faces;
}

}  // namespace orv::platform
