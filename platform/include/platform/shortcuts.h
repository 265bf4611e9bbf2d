// Shell shortcuts (.lnk files): reading the file-system target a shortcut
// records. The Win32 backend asks the shell (IShellLinkW + IPersistFile); the
// simulation parses the file itself with ParseShellLink below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace orv::platform {

class Shortcuts {
  public:
    virtual ~Shortcuts() = default;
    // kSuccess with the target path; kSuccess with "" when the shortcut has
    // no file-system target (a shell item such as the Control Panel, or an
    // advertised installer shortcut); kInvalidData when the file is not a
    // shortcut the shell can load; the file's own error when it cannot be
    // opened (kFileNotFound, kAccessDenied, ...).
    virtual Status ReadTarget(std::string_view path, std::string& target) = 0;
};

// The binary shell-link format, as far as the target path goes: the header,
// the optional item-id list (skipped), and the link information's local base
// path plus common path suffix (ANSI in Windows-1252, or the Unicode fields
// when the link information carries them). kSuccess with "" for a link
// without local path information; kInvalidData for anything truncated,
// inconsistent or not a link. Never reads outside `bytes`.
Status ParseShellLink(std::string_view bytes, std::string& target);

// A minimal shortcut to `target` (header plus link information with the path
// in both ANSI and Unicode), as the shell itself can load it: test fixtures
// and the simulation's seeding.
std::string BuildShellLink(std::string_view target);

}  // namespace orv::platform
