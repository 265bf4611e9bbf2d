#include "health/removal.h"

#include "platform/regvalue.h"
#include "platform/text.h"
#include "registry/regfile.h"

namespace orv::health {

using namespace orv::platform;

namespace {

constexpr std::uint32_t kValueRights = 0x3F;

// The MRUList of `key` without the removed entry's letter. A list that is not
// text is left alone: it cannot name the entry in a way this code would know.
void ShortenMruList(Registry& registry, HKey root, std::string_view key, std::string_view entry) {
    HKey h = 0;
    if (registry.OpenKey(root, key, kValueRights, h) != kSuccess) return;
    RegValue list;
    if (registry.QueryValue(h, kMruListValue, list) == kSuccess &&
        (list.type == kRegSz || list.type == kRegExpandSz)) {
        const std::string old_text = DataAsText(list);
        const std::string new_text = WithoutMruEntry(old_text, entry);
        if (new_text != old_text) registry.SetValue(h, kMruListValue, MakeSz(new_text));
    }
    registry.CloseKey(h);
}

}  // namespace

Status DeleteRegistryValue(Registry& registry, HKey root, std::string_view key,
                           std::string_view value) {
    HKey h = 0;
    Status st = registry.OpenKey(root, key, kValueRights, h);
    if (st != kSuccess) return st;
    st = registry.DeleteValue(h, value);
    registry.CloseKey(h);
    return st;
}

std::string WithoutMruEntry(std::string_view mru, std::string_view entry) {
    std::string out(mru);
    if (entry.size() != 1) return out;
    const char letter = entry[0];
    std::erase_if(out, [&](char c) { return text::EqualsNoCase({&c, 1}, {&letter, 1}); });
    return out;
}

bool CarryOut(Platform& p, const Removal& r) {
    switch (r.kind) {
        case Removal::Kind::kKeyTree:
            return registry::DeleteKeyTree(p.registry, r.root, r.key) == kSuccess;
        case Removal::Kind::kValue: {
            if (DeleteRegistryValue(p.registry, r.root, r.key, r.value) != kSuccess) return false;
            if (r.in_mru_list) ShortenMruList(p.registry, r.root, r.key, r.value);
            return true;
        }
        case Removal::Kind::kFile: {
            const std::uint32_t before = p.files.GetAttributes(r.path);
            p.files.ChangeAttributes(r.path, kAttrNormal);
            if (p.files.RemoveFile(r.path) == kSuccess) return true;
            if (before != kInvalidAttributes) p.files.ChangeAttributes(r.path, before);
            return false;
        }
    }
    return false;
}

}  // namespace orv::health
