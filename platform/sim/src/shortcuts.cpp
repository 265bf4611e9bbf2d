#include "platform/sim/shortcuts.h"

#include "platform/sim/world.h"

namespace orv::sim {

using namespace orv::platform;

Status SimShortcuts::ReadTarget(std::string_view path, std::string& target) {
    target.clear();
    std::uint32_t attributes = files_.GetAttributes(path);
    if (attributes == kInvalidAttributes) return kFileNotFound;
    // The shell loads a folder or an unreadable file as "not a shortcut".
    if (attributes & kAttrDirectory) return kAccessDenied;
    std::optional<std::string> bytes = files_.ReadFile(path);
    if (!bytes) return kAccessDenied;
    return ParseShellLink(*bytes, target);
}

}  // namespace orv::sim
