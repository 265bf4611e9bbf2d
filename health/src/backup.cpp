#include "health/backup.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/text.h"
#include "registry/regfile.h"

namespace orv::health {

using namespace orv::platform;

namespace {

constexpr std::string_view kManifest = "backup.txt";
constexpr std::string_view kRegFile = "registry.reg";

std::tm LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    if (const std::tm* local = std::localtime(&t)) out = *local;
    return out;
}

std::string Stamp(const std::tm& t, char time_separator) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d%c%02d%c%02d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, time_separator, t.tm_min, time_separator,
                  t.tm_sec);
    return buf;
}

Status EnsureFolder(Files& files, const std::string& path) {
    Status st = files.CreateFolder(path);
    return st == kAlreadyExists ? kSuccess : st;
}

// Whether the tree below `key` stays within `limit` levels, walked without
// recursion so that a damaged registry cannot exhaust the stack here.
bool DepthWithin(Registry& registry, HKey root, const std::string& key, int limit) {
    std::vector<std::pair<std::string, int>> pending{{key, 0}};
    while (!pending.empty()) {
        auto [path, depth] = std::move(pending.back());
        pending.pop_back();
        if (depth > limit) return false;
        HKey h = 0;
        if (registry.OpenKey(root, path, kKeyRead, h) != kSuccess) continue;
        std::string name;
        for (std::uint32_t i = 0; registry.EnumKey(h, i, name) == kSuccess; ++i)
            pending.emplace_back(path + "\\" + name, depth + 1);
        registry.CloseKey(h);
    }
    return true;
}

std::string Section(HKey root, std::string_view key) {
    return "[" + std::string(registry::RootName(root)) + "\\" + std::string(key) + "]\r\n";
}

// The registry part of the backup; false when any of it cannot be read.
bool RegistryText(Registry& registry, const std::vector<Removal>& removals, std::string& out) {
    const std::string header = std::string(registry::kRegFileHeader) + "\r\n\r\n";
    out = header;
    bool any = false;
    // Values are grouped under their key, keys in the order first met.
    std::vector<std::pair<HKey, std::string>> keys;
    std::map<std::pair<HKey, std::string>, std::vector<const Removal*>> values;
    for (const Removal& r : removals) {
        if (r.kind == Removal::Kind::kKeyTree) {
            if (!DepthWithin(registry, r.root, r.key, kMaxKeyDepth)) return false;
            bool complete = false;
            std::string text = registry::ExportRegText(registry, r.root, r.key, &complete);
            if (!complete) return false;
            out += text.substr(header.size());
            any = true;
        } else if (r.kind == Removal::Kind::kValue) {
            auto id = std::make_pair(r.root, text::Fold(r.key));
            if (!values.count(id)) keys.push_back(id);
            values[id].push_back(&r);
        }
    }
    for (const auto& id : keys) {
        const auto& list = values[id];
        HKey h = 0;
        if (registry.OpenKey(id.first, list.front()->key, kKeyQueryValue, h) != kSuccess)
            return false;
        std::string section = Section(id.first, list.front()->key);
        bool ok = true;
        bool mru = false;
        for (const Removal* r : list) {
            RegValue value;
            ok = ok && registry.QueryValue(h, r->value, value) == kSuccess;
            if (ok) section += registry::FormatValueLine(r->value, value) + "\r\n";
            mru = mru || r->in_mru_list;
        }
        // The list the removal will shorten is saved as it is now.
        RegValue mru_list;
        if (ok && mru && registry.QueryValue(h, kMruListValue, mru_list) == kSuccess)
            section += registry::FormatValueLine(kMruListValue, mru_list) + "\r\n";
        registry.CloseKey(h);
        if (!ok) return false;
        out += section + "\r\n";
        any = true;
    }
    if (!any) out.clear();
    return true;
}

std::string Manifest(const BackupInfo& b) {
    std::string m = "check=" + b.check + "\r\ndate=" + b.date +
                    "\r\nentries=" + std::to_string(b.entries) + "\r\n";
    for (const auto& f : b.files)
        m += "file=" + f.copy + "|" + std::to_string(f.attributes) + "|" + f.original + "\r\n";
    return m;
}

bool ParseManifest(std::string_view text, BackupInfo& b) {
    bool has_check = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "check") {
            b.check = value;
            has_check = true;
        } else if (key == "date") {
            b.date = value;
        } else if (key == "entries") {
            b.entries = std::atoi(std::string(value).c_str());
        } else if (key == "file") {
            std::size_t a = value.find('|');
            std::size_t c = a == std::string_view::npos ? a : value.find('|', a + 1);
            if (c == std::string_view::npos) return false;
            b.files.push_back(
                {std::string(value.substr(0, a)),
                 static_cast<std::uint32_t>(std::strtoul(
                     std::string(value.substr(a + 1, c - a - 1)).c_str(), nullptr, 10)),
                 std::string(value.substr(c + 1))});
        }
    }
    return has_check;
}

}  // namespace

BackupStore::BackupStore(Platform& p, std::function<std::tm()> now)
    : p_(p), now_(now ? std::move(now) : LocalNow) {}

std::string BackupStore::Root() {
    std::optional<std::string> local = p_.environment.Get("LOCALAPPDATA");
    if (!local || local->empty()) return {};
    std::string root = *local;
    if (root.back() == '\\') root.pop_back();
    return root + "\\Orvelle\\Backups";
}

Status BackupStore::Write(std::string_view check, const std::vector<Removal>& removals,
                          BackupInfo& out) {
    const std::string root = Root();
    if (root.empty()) return kPathNotFound;
    if (Status st = EnsureFolder(p_.files, root.substr(0, root.rfind('\\'))); st != kSuccess)
        return st;
    if (Status st = EnsureFolder(p_.files, root); st != kSuccess) return st;

    BackupInfo b;
    const std::tm now = now_();
    b.check = check;
    b.date = Stamp(now, ':');
    b.entries = static_cast<int>(removals.size());
    const std::string base = root + "\\" + Stamp(now, '.') + " " + std::string(check);
    Status st = kAlreadyExists;
    for (int n = 1; st == kAlreadyExists && n < 1000; ++n) {
        b.folder = n == 1 ? base : base + " (" + std::to_string(n) + ")";
        st = p_.files.CreateFolder(b.folder);
    }
    if (st != kSuccess) return st;

    std::vector<std::string> written;
    auto save = [&](const std::string& name, const std::string& bytes) {
        const std::string path = b.folder + "\\" + name;
        Status s = p_.files.SaveFile(path, bytes);
        if (s == kSuccess) written.push_back(path);
        // Read back: a full disk or a filter driver may take the write and
        // keep less than it was given.
        if (s == kSuccess && p_.files.ReadFile(path) != bytes) s = kInvalidData;
        return s;
    };
    auto fail = [&](Status s) {
        for (const auto& path : written) {
            p_.files.ChangeAttributes(path, kAttrNormal);
            p_.files.RemoveFile(path);
        }
        p_.files.RemoveFolder(b.folder);
        return s;
    };

    std::string reg;
    if (!RegistryText(p_.registry, removals, reg)) return fail(kInvalidData);
    if (!reg.empty()) {
        if (Status s = save(std::string(kRegFile), registry::EncodeRegFile(reg)); s != kSuccess)
            return fail(s);
    }
    for (const Removal& r : removals) {
        if (r.kind != Removal::Kind::kFile) continue;
        char name[16];
        std::snprintf(name, sizeof name, "%04zu.lnk", b.files.size() + 1);
        const std::string copy = b.folder + "\\" + name;
        const std::uint32_t attributes = p_.files.GetAttributes(r.path);
        std::optional<std::string> original = p_.files.ReadFile(r.path);
        if (attributes == kInvalidAttributes || !original) return fail(kAccessDenied);
        Status s = p_.files.CopyFileTo(r.path, copy, true);
        if (s == kSuccess) written.push_back(copy);
        if (s == kSuccess && p_.files.ReadFile(copy) != original) s = kInvalidData;
        if (s != kSuccess) return fail(s);
        b.files.push_back({name, attributes, r.path});
    }
    if (Status s = save(std::string(kManifest), Manifest(b)); s != kSuccess) return fail(s);
    out = std::move(b);
    return kSuccess;
}

std::vector<BackupInfo> BackupStore::List() {
    std::vector<BackupInfo> list;
    const std::string root = Root();
    if (root.empty()) return list;
    std::vector<FoundFile> found;
    if (p_.files.ListFiles(root + "\\*", found) != kSuccess) return list;
    for (const FoundFile& f : found) {
        if (!(f.attributes & kAttrDirectory)) continue;
        BackupInfo b;
        b.folder = root + "\\" + f.name;
        std::optional<std::string> manifest =
            p_.files.ReadFile(b.folder + "\\" + std::string(kManifest));
        if (manifest && ParseManifest(*manifest, b)) list.push_back(std::move(b));
    }
    std::stable_sort(list.begin(), list.end(), [](const BackupInfo& a, const BackupInfo& b) {
        return a.date != b.date ? a.date > b.date : a.folder > b.folder;
    });
    return list;
}

RestoreOutcome BackupStore::Restore(const BackupInfo& backup) {
    RestoreOutcome outcome;
    if (std::optional<std::string> bytes =
            p_.files.ReadFile(backup.folder + "\\" + std::string(kRegFile))) {
        registry::ImportResult imported =
            registry::ImportRegText(p_.registry, registry::DecodeRegFile(*bytes));
        const int failed =
            static_cast<int>(imported.failed_lines.size() + imported.bad_lines.size());
        outcome.failed += failed + (imported.header_ok ? 0 : 1);
        outcome.restored += imported.values - failed;
    }
    for (const auto& f : backup.files) {
        if (p_.files.GetAttributes(f.original) != kInvalidAttributes) {
            ++outcome.restored;  // already back: never overwrite what is there
            continue;
        }
        if (p_.files.CopyFileTo(backup.folder + "\\" + f.copy, f.original, true) != kSuccess) {
            ++outcome.failed;
            continue;
        }
        const std::uint32_t kept =
            f.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
        p_.files.ChangeAttributes(f.original, kept ? kept : kAttrNormal);
        ++outcome.restored;
    }
    return outcome;
}

}  // namespace orv::health
