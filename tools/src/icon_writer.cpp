#include "tools/icon_writer.h"

#include <charconv>

#include "platform/regvalue.h"
#include "platform/text.h"
#include "tools/ico.h"
#include "tools/ini_edit.h"

namespace orv::tools {

using namespace orv::platform;

namespace {

// The attributes a replaced file keeps.
constexpr std::uint32_t kKept = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr std::string_view kNewSuffix = ".orvelle-new";
constexpr std::string_view kAsideSuffix = ".orvelle-old";

bool IsIcoName(std::string_view path) {
    return path.size() >= 4 && text::EqualsNoCase(path.substr(path.size() - 4), ".ico");
}

bool Exists(Files& files, std::string_view path) {
    const std::uint32_t a = files.GetAttributes(path);
    return a != kInvalidAttributes && !(a & kAttrDirectory);
}

// Removes a file whatever its attributes; what cannot go stays.
void Discard(Files& files, std::string_view path) {
    files.ChangeAttributes(path, kAttrNormal);
    files.RemoveFile(path);
}

// The bytes of a chosen .ico when its size allows reading it.
std::optional<std::string> ReadIcoFile(Files& files, const std::string& path) {
    std::vector<FoundFile> found;
    if (files.ListFiles(path, found) != kSuccess || found.size() != 1 ||
        found[0].size > kMaxIconFileBytes)
        return std::nullopt;
    return files.ReadFile(path);
}

}  // namespace

std::string Unquoted(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return std::string(path);
}

std::optional<std::string> IconFileFor(Platform& platform, std::string_view typed) {
    const std::string path = Unquoted(typed);
    if (IsIcoName(path)) {
        auto bytes = ReadIcoFile(platform.files, path);
        if (!bytes || !ParseIco(*bytes)) return std::nullopt;
        return bytes;
    }
    auto picture = platform.pictures.Load(path);
    if (!picture || picture->width <= 0 || picture->height <= 0) return std::nullopt;
    return EncodeIco(*picture);
}

std::optional<PictureData> IconPreview(Platform& platform, std::string_view typed) {
    const std::string path = Unquoted(typed);
    if (IsIcoName(path)) {
        auto bytes = ReadIcoFile(platform.files, path);
        if (!bytes || !ParseIco(*bytes)) return std::nullopt;
        if (auto picture = platform.pictures.Load(path)) return picture;
        return DecodeIco(*bytes);
    }
    return platform.pictures.Load(path);
}

std::string ReasonText(Status status) {
    switch (status) {
        case kFileNotFound:
        case kPathNotFound:
            return "it is not there";
        case kAccessDenied:
            return "access is denied";
        case kWriteProtect:
            return "the medium is write-protected";
        case kNotReady:
            return "the drive is not ready";
        case kSharingViolation:
            return "another program is using it";
        case kBadNetPath:
            return "the network path is gone";
        case 112:
            return "the disk is full";
        default:
            return "Windows error " + std::to_string(status);
    }
}

void IconWriter::Report(std::string_view path, Status status) {
    host_.MessageBox(owner_,
                     std::string(path) + " could not be changed: " + ReasonText(status) +
                         ". Nothing was changed.",
                     kIconTaskTitle, ui::kMbOk | ui::kMbIconError);
}

// Written beside the target, then moved over it: the target is either the
// old file or the new one, never a half-written one. It keeps its attributes.
Status IconWriter::Replace(const std::string& path, std::string_view bytes) {
    Files& files = platform_.files;
    const std::string next = path + std::string(kNewSuffix);
    if (Exists(files, next)) Discard(files, next);
    if (Status st = files.SaveFile(next, bytes); st != kSuccess) {
        files.RemoveFile(next);
        return st;
    }
    const std::uint32_t old = files.GetAttributes(path);
    const bool existed = old != kInvalidAttributes;
    const bool read_only = existed && (old & kAttrReadOnly);
    if (read_only) {
        if (Status st = files.ChangeAttributes(path, old & kKept & ~kAttrReadOnly);
            st != kSuccess) {
            Discard(files, next);
            return st;
        }
    }
    if (Status st = files.MoveReplacing(next, path); st != kSuccess) {
        if (read_only) files.ChangeAttributes(path, old & kKept);
        Discard(files, next);
        return st;
    }
    if (existed) files.ChangeAttributes(path, old & kKept);
    return kSuccess;
}

// The file's bytes when it exists; false (reported) when it exists and
// cannot be read, for an edit must never start from nothing by mistake.
bool IconWriter::ReadExisting(const std::string& path, std::optional<std::string>& bytes) {
    Files& files = platform_.files;
    if (files.GetAttributes(path) == kInvalidAttributes) return true;
    bytes = files.ReadFile(path);
    if (!bytes) Report(path, kAccessDenied);
    return bytes.has_value();
}

bool IconWriter::ChangeDriveIcon(std::string_view drive, std::string_view icon_path) {
    Files& files = platform_.files;
    const std::string path = std::string(drive) + "\\autorun.inf";
    std::optional<std::string> existing;
    if (!ReadExisting(path, existing)) return false;
    const std::string bytes =
        EditIniFile(existing, "autorun", {{"icon", std::string(icon_path)}}, files);
    if (Status st = Replace(path, bytes); st != kSuccess) {
        Report(path, st);
        return false;
    }
    platform_.shell.ChangeNotify(kShcneUpdateItem, std::string(drive) + "\\");
    return true;
}

bool IconWriter::ChangeFolderIcon(std::string_view TargetFolder, std::string_view PictFile,
                                  std::string_view FolderComments, bool CopyIcon,
                                  std::string_view PictIndex, int /*IconSaveType*/,
                                  std::string_view ErrorMsg) {
    Files& files = platform_.files;
    std::string quote_free;
    for (char c : TargetFolder)
        if (c != '"') quote_free += c;
    if (quote_free.size() < 3 ||
        platform_.drives.DriveType(quote_free.substr(0, 3)) != kDriveFixed) {
        host_.MessageBox(owner_, ErrorMsg, kFixedDrivesTitle, ui::kMbOk | ui::kMbIconError);
        return false;
    }
    // A drive root keeps its backslash ("C:" alone names C:'s current folder).
    std::string folder(TargetFolder);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    const std::string inside = folder.back() == '\\' ? folder : folder + "\\";
    const std::string ini = inside + "Desktop.ini";
    const std::string icon = inside + std::string(kFolderIconFile);

    using When = IniKeyEdit::When;
    std::vector<IniKeyEdit> edits;
    std::optional<std::string> icon_bytes;
    // One character names no picture: refused like any other, rather than a
    // Desktop.ini without an icon reported as done.
    if (CopyIcon && PictFile.size() == 1) {
        host_.MessageBox(owner_, kNotValidIcon, kIconTaskTitle, ui::kMbOk | ui::kMbIconError);
        return false;
    }
    if (PictFile.size() > 1) {
        const std::string file = CopyIcon ? std::string(kFolderIconFile) : std::string(PictFile);
        const std::string index = CopyIcon || PictIndex.empty() ? "0" : std::string(PictIndex);
        edits = {{"IconFile", file},
                 {"IconIndex", index},
                 {"IconResource", file + "," + index, When::IfPresent}};
        if (CopyIcon) {
            icon_bytes = IconFileFor(platform_, PictFile);
            if (!icon_bytes) {
                host_.MessageBox(owner_, kNotValidIcon, kIconTaskTitle,
                                 ui::kMbOk | ui::kMbIconError);
                return false;
            }
        }
    }
    edits.push_back({"InfoTip", std::string(FolderComments), When::IfMissingAndNotEmpty});

    std::optional<std::string> existing;
    if (!ReadExisting(ini, existing)) return false;
    const std::string ini_bytes = EditIniFile(existing, ".ShellClassInfo", edits, files);

    // The earlier IconX.ico is kept aside until Desktop.ini is in place, so a
    // refusal there can still put everything back.
    const std::string aside = icon + std::string(kAsideSuffix);
    const std::string next = icon + std::string(kNewSuffix);
    const bool had_icon = icon_bytes && Exists(files, icon);
    if (icon_bytes) {
        if (Exists(files, next)) Discard(files, next);
        if (Status st = files.SaveFile(next, *icon_bytes); st != kSuccess) {
            files.RemoveFile(next);
            Report(icon, st);
            return false;
        }
        if (had_icon) {
            if (Exists(files, aside)) Discard(files, aside);
            if (Status st = files.MoveReplacing(icon, aside); st != kSuccess) {
                Discard(files, next);
                Report(icon, st);
                return false;
            }
        }
        if (Status st = files.MoveReplacing(next, icon); st != kSuccess) {
            if (had_icon) files.MoveReplacing(aside, icon);
            Discard(files, next);
            Report(icon, st);
            return false;
        }
    }
    if (Status st = Replace(ini, ini_bytes); st != kSuccess) {
        if (icon_bytes) {
            Discard(files, icon);
            if (had_icon) files.MoveReplacing(aside, icon);
        }
        Report(ini, st);
        return false;
    }
    if (had_icon) Discard(files, aside);

    // Attributes last, once every write is in: Explorer honours Desktop.ini
    // in a read-only (or system) folder, and the read-only bit is added to
    // what the folder has.
    files.ChangeAttributes(ini, kAttrHidden | kAttrSystem);
    if (icon_bytes) files.ChangeAttributes(icon, kAttrHidden);
    if (const std::uint32_t a = files.GetAttributes(folder); a != kInvalidAttributes)
        files.ChangeAttributes(folder, (a & kKept) | kAttrReadOnly);
    platform_.shell.ChangeNotify(kShcneUpdateItem, folder);
    return true;
}

void IconWriter::RefreshIconCache() {
    platform_.shell.ChangeNotify(kShcneAssocChanged, "");
    Registry& reg = platform_.registry;
    HKey key = 0;
    if (reg.OpenKey(kCurrentUser, kIconSizeKey, kKeyQueryValue | kKeySetValue, key) == kSuccess) {
        RegValue was;
        if (reg.QueryValue(key, kIconSizeValue, was) == kSuccess && was.type == kRegSz) {
            const std::string text = DataAsText(was);
            long size = 0;
            auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
            // Explorer rebuilds its icons when the size it knows changes;
            // raised and put back, the user's setting is what it was.
            if (!text.empty() && ec == std::errc() && end == text.data() + text.size() &&
                size >= 0 && size < 100000 &&
                reg.SetValue(key, kIconSizeValue, MakeSz(std::to_string(size + 1))) == kSuccess) {
                platform_.sysparams.BroadcastSettingChange("");
                reg.SetValue(key, kIconSizeValue, was);
            }
        }
        reg.CloseKey(key);
    }
    platform_.sysparams.BroadcastSettingChange("");
}

}  // namespace orv::tools
