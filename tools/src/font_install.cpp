#include "tools/font_install.h"

#include <optional>
#include <vector>

#include "platform/fonts.h"
#include "platform/regvalue.h"

namespace orv::tools {
namespace {

using namespace orv::platform;

std::string FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ValueExists(Registry& registry, HKey root, std::string_view name) {
    HKey key = 0;
    if (registry.OpenKey(root, kFontsKey, kKeyQueryValue, key) != kSuccess) return false;
    RegValue value;
    const bool found = registry.QueryValue(key, name, value) == kSuccess;
    registry.CloseKey(key);
    return found;
}

Status WriteValue(Registry& registry, HKey root, std::string_view name, std::string_view data) {
    HKey key = 0;
    Status s = registry.CreateKey(root, kFontsKey, kKeySetValue, key);
    if (s != kSuccess) return s;
    s = registry.SetValue(key, name, MakeSz(data));
    registry.CloseKey(key);
    return s;
}

void RemoveValue(Registry& registry, HKey root, std::string_view name) {
    HKey key = 0;
    if (registry.OpenKey(root, kFontsKey, kKeySetValue, key) != kSuccess) return;
    registry.DeleteValue(key, name);
    registry.CloseKey(key);
}

bool Refused(Status s) {
    return s == kAccessDenied;
}

// One install into one place: the machine's (HKLM, the list holds the file
// name) or the user's (HKCU, the list holds the full path).
class Placement {
  public:
    Placement(Platform& p, InstallResult& r, HKey root) : p_(p), r_(r), root_(root) {}

    // The folder for the copy, created (each missing level) for the user's.
    Status Prepare(bool create) {
        Status s = root_ == kLocalMachine ? p_.fonts.MachineFontsFolder(folder_)
                                          : p_.fonts.UserFontsFolder(folder_);
        if (s != kSuccess || !create) return s;
        std::vector<std::string> missing;
        for (std::string at = folder_; p_.files.GetAttributes(at) == kInvalidAttributes;) {
            missing.push_back(at);
            const std::size_t slash = at.find_last_of('\\');
            if (slash == std::string::npos || slash < 3) break;
            at.resize(slash);
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            s = p_.files.CreateFolder(*it);
            if (s != kSuccess && s != kAlreadyExists) return s;
            created_.push_back(*it);
        }
        return kSuccess;
    }

    std::string Destination() const { return folder_ + "\\" + r_.file_name; }

    // Nothing of that file or font name there already.
    std::optional<InstallOutcome> Clash() const {
        if (p_.files.GetAttributes(Destination()) != kInvalidAttributes)
            return InstallOutcome::FileExists;
        if (ValueExists(p_.registry, kLocalMachine, r_.value_name) ||
            ValueExists(p_.registry, kCurrentUser, r_.value_name))
            return InstallOutcome::NameRegistered;
        return std::nullopt;
    }

    // The copy and the list entry; kAccessDenied when this place is closed to
    // the user (nothing is left behind then either).
    Status Write(std::string_view source) {
        const std::string to = Destination();
        r_.destination = to;
        Status s = p_.files.CopyFileTo(source, to, true);
        if (s != kSuccess) {
            r_.step = "copy the file to " + folder_;
            Undo();
            return s;
        }
        copied_ = true;
        const std::string data = root_ == kLocalMachine ? r_.file_name : to;
        s = WriteValue(p_.registry, root_, r_.value_name, data);
        if (s != kSuccess) {
            r_.step = "list the font in the registry";
            Undo();
            return s;
        }
        listed_ = true;
        if (p_.fonts.AddFontFile(to) == 0) {
            r_.step = "load the font";
            Undo();
            return kInvalidData;
        }
        // Only a hung window misses the news; the font is installed all the same.
        p_.fonts.BroadcastFontChange();
        return kSuccess;
    }

  private:
    void Undo() {
        if (listed_) RemoveValue(p_.registry, root_, r_.value_name);
        if (copied_) {
            // The copy has the source's attributes: a read-only one would
            // refuse the removal and be left behind, blocking every retry.
            p_.files.ChangeAttributes(Destination(), kAttrNormal);
            p_.files.RemoveFile(Destination());
        }
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) p_.files.RemoveFolder(*it);
        listed_ = copied_ = false;
        created_.clear();
    }

    Platform& p_;
    InstallResult& r_;
    HKey root_;
    std::string folder_;
    std::vector<std::string> created_;
    bool copied_ = false;
    bool listed_ = false;
};

bool PerUserFontsAvailable(Platform& p) {
    auto v = p.system_info.Version();
    return v && v->platform_id == 2 &&
           (v->major > 10 || (v->major == 10 && v->build >= kPerUserFontsBuild));
}

}  // namespace

InstallResult InstallFonts(Platform& p, std::string_view strPath) {
    InstallResult r;
    r.file_name = FileNameOf(strPath);
    std::vector<FoundFile> found;
    if (p.files.ListFiles(strPath, found) != kSuccess || found.size() != 1) {
        r.outcome = InstallOutcome::Unreadable;
        return r;
    }
    if (found[0].attributes & kAttrDirectory) {
        r.outcome = InstallOutcome::NotAFont;
        return r;
    }
    if (found[0].size > kMaxFontFileBytes) {
        r.outcome = InstallOutcome::TooLarge;
        return r;
    }
    auto bytes = p.files.ReadFile(strPath);
    if (!bytes) {
        r.outcome = InstallOutcome::Unreadable;
        return r;
    }
    auto fonts = ReadFontFile(*bytes);
    if (!fonts) {
        r.outcome = InstallOutcome::NotAFont;
        return r;
    }
    r.family = fonts->front().family;
    r.value_name = FontRegistryName(*fonts);

    Placement machine(p, r, kLocalMachine);
    Status s = machine.Prepare(false);
    if (s == kSuccess) {
        if (auto clash = machine.Clash()) {
            r.outcome = *clash;
            return r;
        }
        s = machine.Write(strPath);
        if (s == kSuccess) {
            r.outcome = InstallOutcome::Installed;
            return r;
        }
        if (!Refused(s)) {
            r.outcome = InstallOutcome::Failed;
            return r;
        }
    }
    // The machine's folder or list is closed to this user.
    if (!PerUserFontsAvailable(p)) {
        r.outcome = InstallOutcome::NotAllowed;
        return r;
    }
    r.step.clear();
    Placement user(p, r, kCurrentUser);
    if (user.Prepare(false) == kSuccess) {
        if (auto clash = user.Clash()) {
            r.outcome = *clash;
            return r;
        }
    }
    s = user.Prepare(true);
    if (s != kSuccess) {
        r.step = "make the folder for the user's fonts";
        r.outcome = InstallOutcome::Failed;
        return r;
    }
    r.outcome =
        user.Write(strPath) == kSuccess ? InstallOutcome::InstalledForUser : InstallOutcome::Failed;
    return r;
}

std::string InstallResult::Message() const {
    const std::string quoted = "\"" + file_name + "\"";
    switch (outcome) {
        case InstallOutcome::Installed:
            return "The font " + family + " is installed.";
        case InstallOutcome::InstalledForUser:
            return "The font " + family +
                   " is installed for you only: Windows did not allow installing it for every "
                   "user.";
        case InstallOutcome::Unreadable:
            return quoted + " could not be read. Nothing was installed.";
        case InstallOutcome::TooLarge:
            return quoted +
                   " is larger than 512 MB, too large to be a font. Nothing was installed.";
        case InstallOutcome::NotAFont:
            return quoted + " is not a TrueType or OpenType font. Nothing was installed.";
        case InstallOutcome::FileExists:
            return "The fonts folder already has a file named " + quoted +
                   ". Nothing was installed.";
        case InstallOutcome::NameRegistered:
            return "A font named " + value_name.substr(0, value_name.rfind(" (TrueType)")) +
                   " is already installed. Nothing was installed.";
        case InstallOutcome::NotAllowed:
            return "Windows did not allow installing the font for every user, and this version "
                   "of Windows cannot install fonts for one user only. Run Orvelle as an "
                   "administrator to install it.";
        case InstallOutcome::Failed:
            break;
    }
    return "Windows could not " + (step.empty() ? std::string("install the font") : step) +
           ". Nothing was installed.";
}

}  // namespace orv::tools
