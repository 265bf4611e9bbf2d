#include "platform/sim/world.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace orv::sim {

using namespace orv::platform;
namespace fs = std::filesystem;

// ---- files ---------------------------------------------------------------

namespace {

bool WildMatch(std::string_view pattern, std::string_view name) {
    // Case-insensitive * and ? matching on folded text.
    std::string p = text::Fold(pattern), n = text::Fold(name);
    std::size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            star = pi++;
            mark = ni;
        } else if (star != std::string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    // "*.*" matches names without a dot too, as on Windows.
    if (pi < p.size() && p.substr(pi) == ".*") pi = p.size();
    return pi == p.size();
}

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

}  // namespace

SimFiles::SimFiles(fs::path sandbox) {
    fs::create_directories(sandbox / "C");
    MapDrive('C', sandbox / "C");
}

void SimFiles::MapDrive(char letter, fs::path host_folder) {
    fs::create_directories(host_folder);
    drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] =
        std::move(host_folder);
}

fs::path SimFiles::HostPath(std::string_view windows_path) const {
    if (windows_path.size() < 2 || windows_path[1] != ':') return {};
    auto it =
        drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(windows_path[0]))));
    if (it == drives_.end()) return {};
    fs::path cur = it->second;
    for (const std::string& part : SplitPath(windows_path.substr(2))) {
        if (part == ".") continue;
        if (part == "..") {
            if (cur != it->second) cur = cur.parent_path();
            continue;
        }
        fs::path exact = cur / part;
        std::error_code ec;
        if (!fs::exists(exact, ec) && fs::is_directory(cur, ec)) {
            // Windows names match without regard to case.
            for (const auto& entry : fs::directory_iterator(cur, ec)) {
                if (text::EqualsNoCase(entry.path().filename().string(), part)) {
                    exact = entry.path();
                    break;
                }
            }
        }
        cur = exact;
    }
    return cur;
}

std::uint32_t SimFiles::GetAttributes(std::string_view path) {
    if (Failing(path) != kSuccess) return kInvalidAttributes;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(host, ec)) return kInvalidAttributes;
    std::uint32_t attr = fs::is_directory(host, ec) ? kAttrDirectory : kAttrArchive;
    if (fs::is_symlink(fs::symlink_status(host, ec))) attr |= kAttrReparsePoint;
    auto it = attributes_.find(text::Fold(path));
    if (it != attributes_.end()) attr |= it->second;
    return attr;
}

void SimFiles::SetAttributes(std::string_view windows_path, std::uint32_t attributes) {
    attributes_[text::Fold(windows_path)] =
        attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem);
}

std::vector<FoundFile> SimFiles::FindFiles(std::string_view pattern) {
    std::vector<FoundFile> found;
    ListFiles(pattern, found);
    return found;
}

Status SimFiles::ListFiles(std::string_view pattern, std::vector<FoundFile>& found) {
    found.clear();
    std::size_t slash = pattern.find_last_of('\\');
    if (slash == std::string_view::npos) return kPathNotFound;
    std::string folder(pattern.substr(0, slash));
    std::string_view mask = pattern.substr(slash + 1);
    fs::path host = HostPath(folder);
    std::error_code ec;
    if (Status st = Failing(folder); st != kSuccess) return st;
    if (host.empty() || !fs::is_directory(host, ec)) return kPathNotFound;
    fs::directory_iterator it(host, ec);
    if (ec) return kAccessDenied;
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (!WildMatch(mask, name)) continue;
        FoundFile f;
        f.name = name;
        f.attributes = GetAttributes(folder + "\\" + name);
        if (!entry.is_directory(ec)) f.size = entry.file_size(ec);
        found.push_back(std::move(f));
    }
    // NTFS lists names in its collation order: case-insensitive.
    std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) {
        return text::Fold(a.name) < text::Fold(b.name);
    });
    return found.empty() ? kFileNotFound : kSuccess;
}

std::optional<std::string> SimFiles::ReadFile(std::string_view path) {
    if (Failing(path) != kSuccess) return std::nullopt;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_regular_file(host, ec)) return std::nullopt;
    std::ifstream in(host, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Status SimFiles::AppendToFile(std::string_view path, std::string_view bytes) {
    if (Status st = Refused(path); st != kSuccess) return st;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host.parent_path(), ec)) return kPathNotFound;
    if (fs::is_directory(host, ec)) return kAccessDenied;
    if (GetAttributes(path) != kInvalidAttributes && (GetAttributes(path) & kAttrReadOnly))
        return kAccessDenied;
    std::ofstream out(host, std::ios::binary | std::ios::app);
    if (!out) return kAccessDenied;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? kSuccess : 29;  // ERROR_WRITE_FAULT
}

std::string SimFiles::ToAnsiCodePage(std::string_view utf8) {
    if (ansi_code_page_ == 1252) return text::Utf8ToAnsi(utf8);
    if (ansi_code_page_ == 65001) return std::string(utf8);
    return text::Utf8ToAsciiReplacing(utf8);
}

void SimFiles::WriteFile(std::string_view windows_path, std::string_view bytes) {
    fs::path host = HostPath(windows_path);
    if (host.empty()) return;
    fs::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void SimFiles::FailUnder(std::string_view windows_path, Status status) {
    if (status == kSuccess)
        failing_.erase(text::Fold(windows_path));
    else
        failing_[text::Fold(windows_path)] = status;
}

namespace {

// The status of the first entry of `prefixes` that is `windows_path` or a
// folder above it.
Status StatusUnder(const std::map<std::string, Status>& prefixes, std::string_view windows_path) {
    if (prefixes.empty()) return kSuccess;
    std::string folded = text::Fold(windows_path);
    while (!folded.empty() && folded.back() == '\\') folded.pop_back();
    for (const auto& [prefix, status] : prefixes) {
        std::string_view p = prefix;
        while (!p.empty() && p.back() == '\\') p.remove_suffix(1);
        if (folded.size() >= p.size() && folded.compare(0, p.size(), p) == 0 &&
            (folded.size() == p.size() || folded[p.size()] == '\\'))
            return status;
    }
    return kSuccess;
}

}  // namespace

Status SimFiles::Failing(std::string_view windows_path) const {
    return StatusUnder(failing_, windows_path);
}

Status SimFiles::Refused(std::string_view windows_path) const {
    if (Status st = Failing(windows_path); st != kSuccess) return st;
    return StatusUnder(refusing_writes_, windows_path);
}

void SimFiles::FailWritesUnder(std::string_view windows_path, Status status) {
    if (status == kSuccess)
        refusing_writes_.erase(text::Fold(windows_path));
    else
        refusing_writes_[text::Fold(windows_path)] = status;
}

void SimFiles::ForgetAttributes(std::string_view windows_path) {
    attributes_.erase(text::Fold(windows_path));
}

Status SimFiles::ChangeAttributes(std::string_view path, std::uint32_t attributes) {
    if (Status st = Refused(path); st != kSuccess) return st;
    if (GetAttributes(path) == kInvalidAttributes) return kFileNotFound;
    SetAttributes(path, attributes);
    return kSuccess;
}

Status SimFiles::CreateFolder(std::string_view path) {
    if (Status st = Refused(path); st != kSuccess) return st;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host.parent_path(), ec)) return kPathNotFound;
    if (fs::exists(host, ec)) return kAlreadyExists;
    return fs::create_directory(host, ec) ? kSuccess : kAccessDenied;
}

Status SimFiles::RemoveFolder(std::string_view path) {
    if (Status st = Refused(path); st != kSuccess) return st;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(host, ec)) return kFileNotFound;
    if (!fs::is_directory(host, ec)) return 267;  // ERROR_DIRECTORY
    if (!fs::is_empty(host, ec)) return kDirNotEmpty;
    if (!fs::remove(host, ec)) return kAccessDenied;
    ForgetAttributes(path);
    return kSuccess;
}

Status SimFiles::RemoveFile(std::string_view path) {
    if (Status st = Refused(path); st != kSuccess) return st;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(fs::symlink_status(host, ec))) return kFileNotFound;
    if (fs::is_directory(fs::symlink_status(host, ec))) return kAccessDenied;
    if (GetAttributes(path) & kAttrReadOnly) return kAccessDenied;
    if (!fs::remove(host, ec)) return kAccessDenied;
    ForgetAttributes(path);
    return kSuccess;
}

Status SimFiles::CopyFileTo(std::string_view from, std::string_view to, bool fail_if_exists) {
    if (Status st = Failing(from); st != kSuccess) return st;
    if (Status st = Refused(to); st != kSuccess) return st;
    fs::path src = HostPath(from);
    fs::path dst = HostPath(to);
    std::error_code ec;
    if (src.empty() || !fs::is_regular_file(src, ec)) return kFileNotFound;
    if (dst.empty() || !fs::is_directory(dst.parent_path(), ec)) return kPathNotFound;
    std::uint32_t target = GetAttributes(to);
    if (target != kInvalidAttributes) {
        if (fail_if_exists) return kFileExists;
        if (target & (kAttrReadOnly | kAttrDirectory)) return kAccessDenied;
    }
    if (!fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec)) return kAccessDenied;
    SetAttributes(to, GetAttributes(from));
    return kSuccess;
}

Status SimFiles::SaveFile(std::string_view path, std::string_view bytes) {
    if (Status st = Refused(path); st != kSuccess) return st;
    fs::path host = HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host.parent_path(), ec)) return kPathNotFound;
    std::uint32_t attr = GetAttributes(path);
    if (attr != kInvalidAttributes &&
        (attr & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory)))
        return kAccessDenied;
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    if (!out) return kAccessDenied;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? kSuccess : 29;  // ERROR_WRITE_FAULT
}

// ---- profile files -------------------------------------------------------

namespace {

std::string_view Trim(std::string_view s) {
    return text::TrimBlanks(s);
}

// A file with a UTF-16 byte-order mark is read as Unicode, anything else in
// the ANSI code page, as the profile API does.
std::string DecodeProfile(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return text::Utf16ToUtf8(text::FromUtf16Bytes(
            reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2));
    }
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
    return text::AnsiToUtf8(bytes);
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

bool IsSection(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    std::size_t close = line.find(']');
    name =
        Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

}  // namespace

std::string SimProfiles::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback, std::size_t buffer_chars,
                                   std::string_view path) {
    auto cut = [&](std::string_view s) {
        return buffer_chars == 0 ? std::string() : text::TruncateUtf16(s, buffer_chars - 1);
    };
    // Windows drops the trailing blanks of the default, never of a value read.
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    auto bytes = files_.ReadFile(path);
    if (!bytes) return cut(fallback);
    std::string content = DecodeProfile(*bytes);
    std::string want_section = text::Fold(Trim(section));
    std::string want_key = text::Fold(Trim(key));
    bool in_section = false, seen_section = false;
    for (std::string_view line : Lines(content)) {
        std::string_view name;
        if (IsSection(line, name)) {
            // Only the first section of that name is searched.
            if (in_section) break;
            in_section = !seen_section && text::Fold(name) == want_section;
            seen_section = seen_section || in_section;
            continue;
        }
        if (!in_section) continue;
        std::string_view t = Trim(line);
        if (t.empty() || t.front() == ';') continue;
        std::size_t eq = t.find('=');
        std::string_view k = Trim(t.substr(0, eq));
        if (text::Fold(k) != want_key) continue;
        std::string_view v =
            eq == std::string_view::npos ? std::string_view{} : Trim(t.substr(eq + 1));
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return cut(v);
    }
    return cut(fallback);
}

bool SimProfiles::WriteString(std::string_view section, std::string_view key,
                              std::string_view value, std::string_view path) {
    if (files_.Refused(path) != kSuccess) return false;
    auto bytes = files_.ReadFile(path);
    std::string content = bytes ? DecodeProfile(*bytes) : std::string();
    std::vector<std::string> lines;
    for (auto l : Lines(content)) lines.emplace_back(l);
    std::string want_section = text::Fold(Trim(section));
    std::string want_key = text::Fold(Trim(key));
    std::string entry = std::string(Trim(key)) + "=" + std::string(value);
    int section_line = -1;
    int insert_at = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        std::string_view name;
        if (IsSection(lines[i], name)) {
            if (section_line >= 0) break;
            if (text::Fold(name) == want_section) section_line = i, insert_at = i + 1;
            continue;
        }
        if (section_line < 0) continue;
        std::string_view t = Trim(lines[i]);
        if (!t.empty()) insert_at = i + 1;
        if (t.empty() || t.front() == ';') continue;
        if (text::Fold(Trim(t.substr(0, t.find('=')))) == want_key) {
            lines[i] = entry;
            insert_at = -2;
            break;
        }
    }
    if (section_line < 0) {
        lines.push_back("[" + std::string(Trim(section)) + "]");
        lines.push_back(entry);
    } else if (insert_at >= 0) {
        lines.insert(lines.begin() + insert_at, entry);
    }
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    if (files_.HostPath(path).empty()) return false;
    files_.WriteFile(path, text::Utf8ToAnsi(out));
    return true;
}

// ---- world ---------------------------------------------------------------

platform::Platform World::PlatformWith(platform::Registry& other) {
    return {other,   environment, *settings, profiles,    files,     shell,     sysparams,
            display, drives,      pictures,  system_info, shortcuts, processes, fonts};
}

World::World(fs::path sandbox)
    : files(std::move(sandbox)),
      profiles(files),
      settings(std::make_unique<RegistrySettingsStore>(registry)),
      shortcuts(files),
      platform(PlatformWith(registry)) {
    shell.files = &files;
    files.WriteFile("C:\\Windows\\win.ini", "[fonts]\r\n");
    files.CreateFolder("C:\\Windows\\Fonts");
    // As the enumeration reports them: once per character set, with the
    // vertical variant of a face for East Asian writing.
    fonts.faces = {"Arial", "Courier New", "Arial", "MS Gothic", "@MS Gothic", "Tahoma"};
    drives.drives['C'] = {kDriveFixed, {21474836480ull, 5368709120ull}, kSuccess};
}

World::~World() = default;

}  // namespace orv::sim
