#include "health/scans.h"

#include <algorithm>

#include "health/probe.h"
#include "platform/text.h"
#include "registry/routines.h"

namespace orv::health {

using namespace orv::platform;
using registry::KeyList;
using registry::RegistryRoutines;
using registry::ValueList;

namespace {

const std::string* TextOf(const registry::ValueData& d) {
    return std::get_if<std::string>(&d);
}

bool Contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

// Values of a key (only its default value when `default_only`), or false
// when the key cannot be opened for reading, so the caller can tell an
// unreadable key from an empty one. One open per key: scans run over
// thousands of them.
bool ReadValues(Platform& p, HKey root, const std::string& key, ValueList& values,
                bool default_only = false) {
    HKey h = 0;
    if (p.registry.OpenKey(root, key, kKeyRead, h) != kSuccess) return false;
    RegistryRoutines routines(p.registry, p.environment);
    RegValue value;
    if (default_only) {
        if (p.registry.QueryValue(h, "", value) == kSuccess)
            values.push_back({"", routines.Convert(value)});
    } else {
        std::string name;
        for (std::uint32_t i = 0; p.registry.EnumValue(h, i, name, value) == kSuccess; ++i)
            values.push_back({name, routines.Convert(value)});
    }
    p.registry.CloseKey(h);
    return true;
}

KeyList Subkeys(Platform& p, HKey root, std::string_view key) {
    return RegistryRoutines(p.registry, p.environment).EnumRegistryKeys(root, key);
}

bool IsOne(const registry::ValueData& d) {
    if (const auto* n = std::get_if<std::int64_t>(&d)) return *n == 1;
    if (const auto* t = TextOf(d)) return TrimSpaces(*t) == "1";
    return false;
}

bool OffersUninstall(const ValueList& values) {
    for (const auto& v : values) {
        const std::string name = text::Fold(v.name);
        if (Contains(name, text::Fold("uninstallstring"))) return true;
        // Parts of something else: Windows and installers list them for the
        // parent's sake, and the parent's entry uninstalls them.
        if (name == text::Fold("SystemComponent") && IsOne(v.data)) return true;
        if (name == text::Fold("WindowsInstaller") && IsOne(v.data)) return true;
        if (name == text::Fold("ParentKeyName")) return true;
    }
    return false;
}

Removal ValueRemoval(HKey root, std::string key, std::string value) {
    Removal r;
    r.kind = Removal::Kind::kValue;
    r.root = root;
    r.key = std::move(key);
    r.value = std::move(value);
    return r;
}

Removal TreeRemoval(HKey root, std::string key) {
    Removal r;
    r.kind = Removal::Kind::kKeyTree;
    r.root = root;
    r.key = std::move(key);
    return r;
}

void Judge(ScanResult& result, Presence presence, Removal removal) {
    if (presence == Presence::kMissing) result.stale.push_back(std::move(removal));
    if (presence == Presence::kUnknown) ++result.skipped;
}

}  // namespace

namespace {

// The pass the subkey scans share: every direct subkey of `parent` is a
// candidate, the bar follows it, and `judge` sees the values of each one
// that can be read (one that cannot is kept and counted as skipped).
using JudgeKey = std::function<void(const std::string& key, const ValueList& values)>;

void ScanSubkeys(Platform& p, HKey root, std::string_view parent, const Progress& progress,
                 ScanResult& result, const JudgeKey& judge, bool default_only = false) {
    for (const auto& name : Subkeys(p, root, parent)) result.candidates.push_back(name);
    const std::size_t n = result.candidates.size();
    for (std::size_t i = 0; i < n; ++i) {
        progress(i, n);
        const std::string key = std::string(parent) + "\\" + result.candidates[i];
        ValueList values;
        if (!ReadValues(p, root, key, values, default_only)) {
            ++result.skipped;
            continue;
        }
        judge(key, values);
    }
}

}  // namespace

ScanResult ScanUninstall(Platform& p, const Progress& progress) {
    ScanResult result;
    ScanSubkeys(p, kLocalMachine, kUninstallKey, progress, result,
                [&](const std::string& key, const ValueList& values) {
                    // Product codes in braces belong to the installer.
                    if (Contains(key.substr(kUninstallKey.size()), "{")) return;
                    if (!OffersUninstall(values))
                        result.stale.push_back(TreeRemoval(kLocalMachine, key));
                });
    return result;
}

ScanResult ScanAppPaths(Platform& p, const Progress& progress) {
    ScanResult result;
    ScanSubkeys(
        p, kLocalMachine, kAppPathsKey, progress, result,
        [&](const std::string& key, const ValueList& values) {
            for (const auto& v : values) {
                const std::string* data = TextOf(v.data);
                if (!v.name.empty() || !data) continue;
                // A bare program name or a folder without a dot is looked up
                // elsewhere by Windows: only a full path to a file is judged.
                if (!Contains(*data, ".") || !Contains(*data, ":\\")) continue;
                Judge(result, ProbeCommandLine(p.files, *data), TreeRemoval(kLocalMachine, key));
                break;
            }
        },
        /*default_only=*/true);
    return result;
}

ScanResult ScanHistory(Platform& p, const Progress& progress) {
    ScanResult result;
    ScanSubkeys(p, kCurrentUser, kOpenSaveMruKey, progress, result,
                [&](const std::string& key, const ValueList& values) {
                    for (const auto& v : values) {
                        const std::string* data = TextOf(v.data);
                        if (!data || !Contains(*data, ":\\")) continue;
                        Removal r = ValueRemoval(kCurrentUser, key, v.name);
                        r.in_mru_list = true;
                        Judge(result, Probe(p.files, *data), std::move(r));
                    }
                });
    return result;
}

ScanResult ScanHelpFiles(Platform& p) {
    ScanResult result;
    for (std::string_view key : {kHtmlHelpKey, kHelpKey}) {
        ValueList values;
        if (!ReadValues(p, kLocalMachine, std::string(key), values)) continue;
        for (const auto& v : values) {
            const std::string* data = TextOf(v.data);
            if (!data) continue;
            std::string folder = *data;
            if (folder.empty() || folder.back() != '\\') folder += '\\';
            result.candidates.push_back(folder + v.name);
            Judge(result, Probe(p.files, folder + v.name),
                  ValueRemoval(kLocalMachine, std::string(key), v.name));
        }
    }
    return result;
}

ScanResult ScanSharedDlls(Platform& p, const Progress& progress) {
    ScanResult result;
    ValueList values;
    ReadValues(p, kLocalMachine, std::string(kSharedDllsKey), values);
    for (const auto& v : values) result.candidates.push_back(v.name);
    const std::size_t n = result.candidates.size();
    for (std::size_t i = 0; i < n; ++i) {
        progress(i, n);
        const std::string& name = result.candidates[i];
        Judge(result, Probe(p.files, name),
              ValueRemoval(kLocalMachine, std::string(kSharedDllsKey), name));
    }
    return result;
}

namespace {

bool EndsInLnk(std::string_view path) {
    return path.size() >= 3 && text::EqualsNoCase(path.substr(path.size() - 3), "lnk");
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return text::Fold(a) < text::Fold(b);
}

}  // namespace

ScanResult ScanShortcuts(Platform& p, std::string_view root,
                         const std::function<void(const std::string&)>& entering) {
    ScanResult result;
    std::string start(root);
    while (!start.empty() && start.back() == '\\') start.pop_back();
    // An explicit stack: folder trees can be deeper than a call stack.
    std::vector<std::string> pending{start};
    std::vector<FoundFile> found;
    while (!pending.empty()) {
        std::string folder = std::move(pending.back());
        pending.pop_back();
        entering(folder.size() == 2 ? folder + "\\" : folder);
        Status st = p.files.ListFiles(folder + "\\*", found);
        if (st != kSuccess) {
            if (st != kFileNotFound) ++result.unreadable_folders;
            continue;
        }
        std::vector<std::string> subfolders;
        for (const FoundFile& f : found) {
            const std::string full = folder + "\\" + f.name;
            // A name the listing could not stat is tried as a folder: the walk
            // then counts it as unreadable instead of passing it by.
            if (f.attributes == kInvalidAttributes) {
                subfolders.push_back(full);
            } else if (f.attributes & kAttrDirectory) {
                // A junction or symbolic link leads back up the tree or onto
                // another drive: never followed.
                if (!(f.attributes & kAttrReparsePoint)) subfolders.push_back(full);
            } else if (EndsInLnk(full)) {
                result.candidates.push_back(full);
            }
        }
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
    std::sort(result.candidates.begin(), result.candidates.end(), LessNoCase);
    for (const std::string& link : result.candidates) {
        std::string target;
        if (p.shortcuts.ReadTarget(link, target) != kSuccess || target.empty()) {
            ++result.skipped;
            continue;
        }
        // The raw path a shortcut records may hold %variables%
        // ("%ProgramFiles%\App\app.exe"), which the shell expands on use.
        const std::string expanded = p.environment.Expand(target);
        const std::string cleaned(TrimSpaces(QuotesToSpaces(TrimSpaces(expanded))));
        Removal r;
        r.kind = Removal::Kind::kFile;
        r.path = link;
        Judge(result, Probe(p.files, cleaned, /*folders_count=*/true), std::move(r));
    }
    return result;
}

}  // namespace orv::health
