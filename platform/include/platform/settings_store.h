// The per-user settings store kept where such programs conventionally keep
// it: HKCU\Software\VB and VBA Program Settings\<application>\<section>, one
// REG_SZ per key. Choices saved by earlier builds are found there.
#pragma once

#include "platform/registry.h"
#include "platform/settings.h"

namespace orv::platform {

class RegistrySettingsStore : public SettingsStore {
  public:
    explicit RegistrySettingsStore(Registry& registry) : registry_(registry) {}
    std::string Get(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view fallback = {}) override;
    bool Save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override;

    static std::string KeyPath(std::string_view app, std::string_view section);

  private:
    Registry& registry_;
};

}  // namespace orv::platform
