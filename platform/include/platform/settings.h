// Settings store (per-user text values by application, section, key) and
// initialisation ("profile") files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // A missing value (or one that cannot be read) gives `fallback`.
    virtual std::string Get(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view fallback = {}) = 0;
    virtual bool Save(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view value) = 0;
};

// GetPrivateProfileString semantics. `path` is always a full path: a bare
// file name would be looked up in the Windows folder.
class ProfileFiles {
  public:
    virtual ~ProfileFiles() = default;
    // `buffer_chars` counts the terminator, as the Win32 buffer does: the text
    // comes back cut to buffer_chars - 1 characters.
    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view fallback, std::size_t buffer_chars,
                                  std::string_view path) = 0;
    virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                             std::string_view path) = 0;
};

}  // namespace orv::platform
