// The simulated registry: a tree of keys with typed values, names compared
// without regard to case, subkeys enumerated in sorted order and values in
// the order they were made, handles that carry their access rights, and keys
// a test can make refuse rights (so refused writes and deletes can be tested).
// HKEY_CLASSES_ROOT is a view of HKLM\SOFTWARE\Classes, as on Windows.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace orv::sim {

class SimRegistry : public platform::Registry {
  public:
    SimRegistry();
    ~SimRegistry() override;

    platform::Status OpenKey(platform::HKey parent, std::string_view subkey, std::uint32_t access,
                             platform::HKey& out) override;
    platform::Status CreateKey(platform::HKey parent, std::string_view subkey, std::uint32_t access,
                               platform::HKey& out, bool* created = nullptr) override;
    platform::Status CloseKey(platform::HKey key) override;
    platform::Status QueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) override;
    platform::Status QueryValue(platform::HKey key, std::string_view name,
                                platform::RegValue& out) override;
    platform::Status SetValue(platform::HKey key, std::string_view name,
                              const platform::RegValue& value) override;
    platform::Status DeleteValue(platform::HKey key, std::string_view name) override;
    platform::Status DeleteKey(platform::HKey parent, std::string_view subkey) override;
    platform::Status EnumKey(platform::HKey key, std::uint32_t index, std::string& name) override;
    platform::Status EnumValue(platform::HKey key, std::uint32_t index, std::string& name,
                               platform::RegValue& value) override;

    // Test set-up: the key at `path` below `root` (created if missing) refuses
    // every open or operation that needs one of `rights` (e.g. kKeySetValue,
    // kDelete, kKeyCreateSubKey).
    void Deny(platform::HKey root, std::string_view path, std::uint32_t rights);
    std::size_t OpenHandles() const { return handles_.size(); }

  private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access;
    };
    platform::Status Resolve(platform::HKey key, std::uint32_t need, std::shared_ptr<Node>& node);
    platform::Status Walk(std::shared_ptr<Node> from, std::string_view path, bool create,
                          std::shared_ptr<Node>& out, bool* created);
    platform::HKey NewHandle(std::shared_ptr<Node> node, std::uint32_t access);

    std::map<platform::HKey, std::shared_ptr<Node>> roots_;
    std::map<platform::HKey, Handle> handles_;
    platform::HKey next_handle_ = 0x1000;
};

}  // namespace orv::sim
