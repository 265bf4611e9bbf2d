// Shell and process identity: opening documents and the one-instance rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv::platform {

class Shell {
  public:
    virtual ~Shell() = default;
    // ShellExecute with no verb; the result is the Win32 one (> 32 success).
    virtual std::intptr_t Open(std::uintptr_t owner_window, std::string_view file,
                               std::string_view directory, int show) = 0;
    // True for the first holder of `name` in this session; a later copy gets
    // false and is expected to end.
    virtual bool ClaimSingleInstance(std::string_view name) = 0;

    // SHEmptyRecycleBin: `root` "" empties the bin of every drive; flags are
    // the SHERB_ ones. The result is an HRESULT (0 success).
    virtual std::int32_t EmptyRecycleBin(std::uintptr_t owner_window, std::string_view root,
                                         std::uint32_t flags) = 0;
    // SHUpdateRecycleBinIcon: the desktop's bin icon follows the bin's state.
    virtual void UpdateRecycleBinIcon() = 0;
    // The folder chooser (SHBrowseForFolder, the desktop as root, no flags):
    // the chosen folder's full path as the shell gives it (a drive root keeps
    // its backslash, nothing else ends in one), also beyond MAX_PATH; "" when
    // cancelled or when the item has no file-system path.
    virtual std::string BrowseForFolder(std::uintptr_t owner_window, std::string_view title) = 0;
    // SHChangeNotify: tells Explorer that `event` happened (kShcneAssocChanged
    // with no path: every icon may have changed; kShcneUpdateItem for the
    // file or folder at `path`). Explorer reads the icons again later.
    virtual void ChangeNotify(std::int32_t event, std::string_view path) = 0;
};

// SHChangeNotify events.
inline constexpr std::int32_t kShcneUpdateItem = 0x00002000;
inline constexpr std::int32_t kShcneAssocChanged = 0x08000000;

// SHEmptyRecycleBin flags.
inline constexpr std::uint32_t kSherbNoConfirmation = 0x1;
inline constexpr std::uint32_t kSherbNoProgressUi = 0x2;
inline constexpr std::uint32_t kSherbNoSound = 0x4;

}  // namespace orv::platform
