#include "registry/routines.h"

#include "platform/regvalue.h"
#include "platform/text.h"

namespace orv::registry {

using namespace orv::platform;

void KeyList::Add(std::string name) {
    index_.emplace(text::Fold(name), names_.size());
    names_.push_back(std::move(name));
}

bool KeyList::Contains(std::string_view name) const {
    return index_.count(text::Fold(name)) > 0;
}

std::string TrimNull(std::string& item) {
    if (auto nul = item.find('\0'); nul != std::string::npos) item.resize(nul);
    return item;
}

namespace {

// Opens `key_name` below `root`, or uses `root` itself for an empty name.
class OpenedKey {
  public:
    OpenedKey(Registry& reg, HKey root, std::string_view key_name) : reg_(reg) {
        if (key_name.empty()) {
            key_ = root;
            ok_ = true;
        } else {
            ok_ = reg.OpenKey(root, key_name, kKeyRead, key_) == kSuccess;
            owned_ = ok_;
        }
    }
    ~OpenedKey() {
        if (owned_) reg_.CloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    explicit operator bool() const { return ok_; }
    HKey get() const { return key_; }

  private:
    Registry& reg_;
    HKey key_ = 0;
    bool ok_ = false;
    bool owned_ = false;
};

// Text data: the stored terminator is dropped, but a text stored without one
// keeps its last character.
std::u16string WithoutTerminator(const RegValue& value) {
    std::u16string w = DataAsUtf16(value);
    if (!w.empty() && w.back() == u'\0') w.pop_back();
    return w;
}

}  // namespace

ValueData RegistryRoutines::Convert(const RegValue& value) {
    switch (value.type) {
        case kRegSz:
            return text::Utf16ToUtf8(WithoutTerminator(value));
        case kRegExpandSz: {
            std::u16string w = WithoutTerminator(value);
            if (auto nul = w.find(u'\0'); nul != std::u16string::npos) w.resize(nul);
            return environment_.Expand(text::Utf16ToUtf8(w));
        }
        case kRegBinary: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            std::string out;
            out.reserve(value.data.size() * 3);
            for (std::uint8_t b : value.data) {
                if (!out.empty()) out += ' ';
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            }
            return out;
        }
        case kRegDword: {
            // Only the bytes that are there: a short value is not padded
            // with whatever follows it in memory.
            std::uint32_t n = 0;
            for (std::size_t i = 0; i < value.data.size() && i < 4; ++i)
                n |= static_cast<std::uint32_t>(value.data[i]) << (8 * i);
            // A signed 32-bit number, the same as a read by path gives.
            return std::int64_t{static_cast<std::int32_t>(n)};
        }
        case kRegMultiSz: {
            // The list ends with an empty text; drop that terminator and the
            // last text's one, where present, then separate with commas.
            std::u16string w = DataAsUtf16(value);
            for (int i = 0; i < 2 && !w.empty() && w.back() == u'\0'; ++i) w.pop_back();
            for (auto& c : w)
                if (c == u'\0') c = u',';
            return text::Utf16ToUtf8(w);
        }
        default:
            return std::monostate{};
    }
}

KeyList RegistryRoutines::EnumRegistryKeys(HKey root, std::string_view key_name) {
    KeyList list;
    OpenedKey key(registry_, root, key_name);
    if (!key) return list;
    // An entry the system cannot return is skipped; the count the key reports
    // bounds how far past such entries the walk goes.
    RegKeyInfo info;
    std::uint32_t limit =
        registry_.QueryInfoKey(key.get(), info) == kSuccess ? info.subkeys + 16 : UINT32_MAX;
    for (std::uint32_t i = 0; i < limit; ++i) {
        std::string name;
        Status st = registry_.EnumKey(key.get(), i, name);
        if (st == kNoMoreItems) break;
        if (st != kSuccess) {
            if (limit == UINT32_MAX) break;
            continue;
        }
        TrimNull(name);
        list.Add(std::move(name));
    }
    return list;
}

ValueList RegistryRoutines::EnumRegistryValues(HKey root, std::string_view key_name) {
    ValueList list;
    OpenedKey key(registry_, root, key_name);
    if (!key) return list;
    for (std::uint32_t i = 0;; ++i) {
        std::string name;
        RegValue value;
        // The backend sizes its buffers from the key, so a long name or a
        // large value comes back whole; any failure other than the end of
        // the list still ends it, with what was gathered.
        if (registry_.EnumValue(key.get(), i, name, value) != kSuccess) break;
        list.push_back({std::move(name), Convert(value)});
    }
    return list;
}

}  // namespace orv::registry
