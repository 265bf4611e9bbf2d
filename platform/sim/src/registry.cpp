#include "platform/sim/registry.h"

#include <algorithm>

#include "platform/text.h"

namespace orv::sim {

using namespace orv::platform;

struct SimRegistry::Node {
    std::string name;
    std::string folded;
    std::weak_ptr<Node> parent;
    std::vector<std::shared_ptr<Node>> children;  // sorted by folded name
    std::vector<std::pair<std::string, RegValue>> values;
    std::uint32_t denied = 0;
    bool deleted = false;

    std::shared_ptr<Node> Child(const std::string& folded_name) const {
        auto it =
            std::lower_bound(children.begin(), children.end(), folded_name,
                             [](const auto& c, const std::string& f) { return c->folded < f; });
        return it != children.end() && (*it)->folded == folded_name ? *it : nullptr;
    }
    auto FindValue(std::string_view name) {
        std::string f = text::Fold(name);
        return std::find_if(values.begin(), values.end(),
                            [&](const auto& v) { return text::Fold(v.first) == f; });
    }
};

namespace {

// Key names are 255 characters at most; Windows refuses longer ones.
constexpr std::size_t kMaxKeyName = 255;

std::vector<std::string_view> Split(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

SimRegistry::SimRegistry() {
    auto make_root = [](const char* name) {
        auto n = std::make_shared<Node>();
        n->name = name;
        n->folded = text::Fold(name);
        return n;
    };
    for (auto [key, name] : {std::pair{kCurrentUser, "HKEY_CURRENT_USER"},
                             {kLocalMachine, "HKEY_LOCAL_MACHINE"},
                             {kUsers, "HKEY_USERS"},
                             {kPerformanceData, "HKEY_PERFORMANCE_DATA"},
                             {kCurrentConfig, "HKEY_CURRENT_CONFIG"},
                             {kDynData, "HKEY_DYN_DATA"}}) {
        roots_[key] = make_root(name);
    }
    std::shared_ptr<Node> classes, defaults;
    Walk(roots_[kLocalMachine], "SOFTWARE\\Classes", true, classes, nullptr);
    roots_[kClassesRoot] = classes;
    Walk(roots_[kUsers], ".DEFAULT", true, defaults, nullptr);
}

SimRegistry::~SimRegistry() = default;

HKey SimRegistry::NewHandle(std::shared_ptr<Node> node, std::uint32_t access) {
    HKey h = next_handle_;
    next_handle_ += 4;
    handles_[h] = {std::move(node), access};
    return h;
}

Status SimRegistry::Resolve(HKey key, std::uint32_t need, std::shared_ptr<Node>& node) {
    if (IsPredefinedRoot(key)) {
        auto it = roots_.find(key);
        if (it == roots_.end()) return kInvalidHandle;
        node = it->second;
        return kSuccess;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) return kInvalidHandle;
    if (it->second.node->deleted) return kKeyDeleted;
    if ((it->second.access & need) != need) return kAccessDenied;
    node = it->second.node;
    return kSuccess;
}

Status SimRegistry::Walk(std::shared_ptr<Node> from, std::string_view path, bool create,
                         std::shared_ptr<Node>& out, bool* created) {
    if (!path.empty() && path.front() == '\\') return 161;  // ERROR_BAD_PATHNAME
    if (created) *created = false;
    std::shared_ptr<Node> cur = std::move(from);
    for (std::string_view part : Split(path)) {
        if (text::Utf16Length(part) > kMaxKeyName) return kInvalidParameter;
        std::string f = text::Fold(part);
        auto next = cur->Child(f);
        if (!next) {
            if (!create) return kFileNotFound;
            if (cur->denied & kKeyCreateSubKey) return kAccessDenied;
            next = std::make_shared<Node>();
            next->name = std::string(part);
            next->folded = f;
            next->parent = cur;
            auto pos =
                std::lower_bound(cur->children.begin(), cur->children.end(), f,
                                 [](const auto& c, const std::string& s) { return c->folded < s; });
            cur->children.insert(pos, next);
            if (created) *created = true;
        }
        cur = next;
    }
    out = cur;
    return kSuccess;
}

Status SimRegistry::OpenKey(HKey parent, std::string_view subkey, std::uint32_t access, HKey& out) {
    std::shared_ptr<Node> base, node;
    if (Status st = Resolve(parent, 0, base); st != kSuccess) return st;
    if (Status st = Walk(base, subkey, false, node, nullptr); st != kSuccess) return st;
    if (node->denied & access) return kAccessDenied;
    out = NewHandle(node, access);
    return kSuccess;
}

Status SimRegistry::CreateKey(HKey parent, std::string_view subkey, std::uint32_t access, HKey& out,
                              bool* created) {
    std::shared_ptr<Node> base, node;
    if (Status st = Resolve(parent, 0, base); st != kSuccess) return st;
    if (Status st = Walk(base, subkey, true, node, created); st != kSuccess) return st;
    if (node->denied & access) return kAccessDenied;
    out = NewHandle(node, access);
    return kSuccess;
}

Status SimRegistry::CloseKey(HKey key) {
    if (IsPredefinedRoot(key)) return kSuccess;
    return handles_.erase(key) ? kSuccess : kInvalidHandle;
}

Status SimRegistry::QueryInfoKey(HKey key, RegKeyInfo& info) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeyQueryValue, node); st != kSuccess) return st;
    info = {};
    info.subkeys = static_cast<std::uint32_t>(node->children.size());
    info.values = static_cast<std::uint32_t>(node->values.size());
    for (const auto& c : node->children)
        info.max_subkey_len =
            std::max(info.max_subkey_len, static_cast<std::uint32_t>(text::Utf16Length(c->name)));
    for (const auto& [name, value] : node->values) {
        info.max_value_name_len =
            std::max(info.max_value_name_len, static_cast<std::uint32_t>(text::Utf16Length(name)));
        info.max_value_len =
            std::max(info.max_value_len, static_cast<std::uint32_t>(value.data.size()));
    }
    return kSuccess;
}

Status SimRegistry::QueryValue(HKey key, std::string_view name, RegValue& out) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeyQueryValue, node); st != kSuccess) return st;
    auto it = node->FindValue(name);
    if (it == node->values.end()) return kFileNotFound;
    out = it->second;
    return kSuccess;
}

Status SimRegistry::SetValue(HKey key, std::string_view name, const RegValue& value) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeySetValue, node); st != kSuccess) return st;
    if (node->denied & kKeySetValue) return kAccessDenied;
    auto it = node->FindValue(name);
    if (it == node->values.end()) {
        node->values.emplace_back(std::string(name), value);
    } else {
        it->second = value;  // the stored name keeps its first spelling
    }
    return kSuccess;
}

Status SimRegistry::DeleteValue(HKey key, std::string_view name) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeySetValue, node); st != kSuccess) return st;
    if (node->denied & kKeySetValue) return kAccessDenied;
    auto it = node->FindValue(name);
    if (it == node->values.end()) return kFileNotFound;
    node->values.erase(it);
    return kSuccess;
}

Status SimRegistry::DeleteKey(HKey parent, std::string_view subkey) {
    std::shared_ptr<Node> base, node;
    if (Status st = Resolve(parent, 0, base); st != kSuccess) return st;
    if (Status st = Walk(base, subkey, false, node, nullptr); st != kSuccess) return st;
    auto owner = node->parent.lock();
    // A root (or the empty path) cannot be deleted; neither can a key that
    // still has subkeys.
    if (!owner) return kAccessDenied;
    if (node->denied & kDelete) return kAccessDenied;
    if (!node->children.empty()) return kAccessDenied;
    node->deleted = true;
    owner->children.erase(std::find(owner->children.begin(), owner->children.end(), node));
    return kSuccess;
}

Status SimRegistry::EnumKey(HKey key, std::uint32_t index, std::string& name) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeyEnumerateSubKeys, node); st != kSuccess) return st;
    if (index >= node->children.size()) return kNoMoreItems;
    name = node->children[index]->name;
    return kSuccess;
}

Status SimRegistry::EnumValue(HKey key, std::uint32_t index, std::string& name, RegValue& value) {
    std::shared_ptr<Node> node;
    if (Status st = Resolve(key, kKeyQueryValue, node); st != kSuccess) return st;
    if (index >= node->values.size()) return kNoMoreItems;
    name = node->values[index].first;
    value = node->values[index].second;
    return kSuccess;
}

void SimRegistry::Deny(HKey root, std::string_view path, std::uint32_t rights) {
    std::shared_ptr<Node> base, node;
    if (Resolve(root, 0, base) != kSuccess) return;
    if (Walk(base, path, true, node, nullptr) != kSuccess) return;
    node->denied |= rights;
}

}  // namespace orv::sim
