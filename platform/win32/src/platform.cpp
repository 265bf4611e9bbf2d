#include "platform/win32/platform.h"

// <windows.h> first: the shell headers rely on what it defines.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "groups.h"
#include "machine.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/win32/shortcuts.h"
#include "processes.h"

namespace orv::win32 {

using namespace orv::platform;

std::wstring Wide(std::string_view utf8) {
    std::u16string w = text::Utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

std::string Narrow(std::wstring_view wide) {
    return text::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string ToCodePage(std::string_view utf8, unsigned code_page) {
    std::wstring w = Wide(utf8);
    if (w.empty()) return {};
    auto convert = [&](const char* default_char) -> std::optional<std::string> {
        BOOL lossy = FALSE;
        BOOL* used = default_char ? &lossy : nullptr;
        const int size = static_cast<int>(w.size());
        int n = WideCharToMultiByte(code_page, 0, w.data(), size, nullptr, 0, default_char, used);
        if (n <= 0) return std::nullopt;
        std::string out(static_cast<std::size_t>(n), '\0');
        n = WideCharToMultiByte(code_page, 0, w.data(), size, out.data(), n, default_char, used);
        if (n <= 0) return std::nullopt;
        out.resize(static_cast<std::size_t>(n));
        return out;
    };
    // UTF-8 and UTF-7 hold every character and refuse a default character
    // (ERROR_INVALID_PARAMETER); so do a few others, hence the second try.
    const bool takes_default = code_page != CP_UTF8 && code_page != CP_UTF7;
    if (takes_default) {
        if (auto out = convert("?")) return *out;
    }
    if (auto out = convert(nullptr)) return *out;
    return text::Utf8ToAsciiReplacing(utf8);
}

namespace {

HKEY H(HKey k) {
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(k));
}
HKey K(HKEY h) {
    return static_cast<HKey>(reinterpret_cast<std::uintptr_t>(h));
}

// Predefined roots are sign-extended handle values on 64-bit Windows.
HKEY Root(HKey k) {
    if (IsPredefinedRoot(k))
        return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(k)));
    return H(k);
}

class Win32Registry : public Registry {
  public:
    Status OpenKey(HKey parent, std::string_view subkey, std::uint32_t access, HKey& out) override {
        HKEY h = nullptr;
        LONG st = RegOpenKeyExW(Root(parent), Wide(subkey).c_str(), 0, access, &h);
        if (st == ERROR_SUCCESS) out = K(h);
        return st;
    }
    Status CreateKey(HKey parent, std::string_view subkey, std::uint32_t access, HKey& out,
                     bool* created) override {
        HKEY h = nullptr;
        DWORD disposition = 0;
        LONG st = RegCreateKeyExW(Root(parent), Wide(subkey).c_str(), 0, nullptr, 0, access,
                                  nullptr, &h, &disposition);
        if (st == ERROR_SUCCESS) out = K(h);
        if (created) *created = st == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
        return st;
    }
    Status CloseKey(HKey key) override {
        if (IsPredefinedRoot(key)) return kSuccess;
        return RegCloseKey(H(key));
    }
    Status QueryInfoKey(HKey key, RegKeyInfo& info) override {
        DWORD subkeys = 0, max_subkey = 0, values = 0, max_name = 0, max_data = 0;
        LONG st = RegQueryInfoKeyW(Root(key), nullptr, nullptr, nullptr, &subkeys, &max_subkey,
                                   nullptr, &values, &max_name, &max_data, nullptr, nullptr);
        if (st == ERROR_SUCCESS) info = {subkeys, values, max_subkey, max_name, max_data};
        return st;
    }
    Status QueryValue(HKey key, std::string_view name, RegValue& out) override {
        std::wstring wname = Wide(name);
        std::vector<BYTE> buf(256);
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD type = 0, size = static_cast<DWORD>(buf.size());
            LONG st = RegQueryValueExW(Root(key), wname.c_str(), nullptr, &type, buf.data(), &size);
            if (st == ERROR_MORE_DATA) {
                buf.resize(std::max<std::size_t>(size, buf.size() * 2));
                continue;
            }
            if (st != ERROR_SUCCESS) return st;
            out.type = type;
            out.data.assign(buf.begin(), buf.begin() + size);
            return kSuccess;
        }
        return kMoreData;
    }
    Status SetValue(HKey key, std::string_view name, const RegValue& value) override {
        // For text types NT peeks one character past the data and, when it is
        // a NUL the caller "forgot", stores it too. Data deliberately stored
        // without a terminator would grow; a non-NUL guard after the copy
        // keeps the stored bytes exactly those given.
        std::vector<BYTE> guarded(value.data.begin(), value.data.end());
        guarded.push_back(0xFF);
        guarded.push_back(0xFF);
        return RegSetValueExW(Root(key), Wide(name).c_str(), 0, value.type,
                              value.data.empty() ? nullptr : guarded.data(),
                              static_cast<DWORD>(value.data.size()));
    }
    Status DeleteValue(HKey key, std::string_view name) override {
        return RegDeleteValueW(Root(key), Wide(name).c_str());
    }
    Status DeleteKey(HKey parent, std::string_view subkey) override {
        return RegDeleteKeyW(Root(parent), Wide(subkey).c_str());
    }
    Status EnumKey(HKey key, std::uint32_t index, std::string& name) override {
        // Names are at most 255 characters; size from the key anyway, and
        // retry if a longer one appeared between the two calls.
        DWORD max_len = 0;
        RegQueryInfoKeyW(Root(key), nullptr, nullptr, nullptr, nullptr, &max_len, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr);
        std::vector<wchar_t> buf(std::max<DWORD>(max_len, 255) + 1);
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD len = static_cast<DWORD>(buf.size());
            LONG st = RegEnumKeyExW(Root(key), index, buf.data(), &len, nullptr, nullptr, nullptr,
                                    nullptr);
            if (st == ERROR_MORE_DATA) {
                buf.resize(buf.size() * 2);
                continue;
            }
            if (st == ERROR_SUCCESS) name = Narrow(std::wstring_view(buf.data(), len));
            return st;
        }
        return kMoreData;
    }
    Status EnumValue(HKey key, std::uint32_t index, std::string& name, RegValue& value) override {
        // Buffers sized from what the key reports, so no value is ever cut
        // short or skipped because of a first guess.
        DWORD max_name = 0, max_data = 0;
        RegQueryInfoKeyW(Root(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &max_name, &max_data, nullptr, nullptr);
        std::vector<wchar_t> nbuf(std::max<DWORD>(max_name, 260) + 1);
        std::vector<BYTE> dbuf(std::max<DWORD>(max_data, 4096));
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD nlen = static_cast<DWORD>(nbuf.size()), dlen = static_cast<DWORD>(dbuf.size());
            DWORD type = 0;
            LONG st = RegEnumValueW(Root(key), index, nbuf.data(), &nlen, nullptr, &type,
                                    dbuf.data(), &dlen);
            if (st == ERROR_MORE_DATA) {
                nbuf.resize(nbuf.size() * 2);
                dbuf.resize(std::max<std::size_t>(dlen, dbuf.size() * 2));
                continue;
            }
            if (st != ERROR_SUCCESS) return st;
            name = Narrow(std::wstring_view(nbuf.data(), nlen));
            value.type = type;
            value.data.assign(dbuf.begin(), dbuf.begin() + dlen);
            return kSuccess;
        }
        return kMoreData;
    }
};

class Win32Environment : public Environment {
  public:
    std::string Expand(std::string_view text) override {
        std::wstring in = Wide(text);
        DWORD need = ExpandEnvironmentStringsW(in.c_str(), nullptr, 0);
        if (need == 0) return std::string(text);
        std::vector<wchar_t> buf(need + 1);
        DWORD got = ExpandEnvironmentStringsW(in.c_str(), buf.data(), need + 1);
        if (got == 0 || got > need + 1) return std::string(text);
        return Narrow(buf.data());
    }
    std::optional<std::string> Get(std::string_view name) override {
        std::wstring n = Wide(name);
        DWORD need = GetEnvironmentVariableW(n.c_str(), nullptr, 0);
        if (need == 0) return std::nullopt;
        std::vector<wchar_t> buf(need + 1);
        DWORD got = GetEnvironmentVariableW(n.c_str(), buf.data(), need + 1);
        if (got == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return Narrow(std::wstring_view(buf.data(), got));
    }
};

// Long paths get the \\?\ prefix so nothing is cut at MAX_PATH.
std::wstring LongPath(std::string_view path) {
    std::wstring w = Wide(path);
    if (w.size() >= MAX_PATH - 12 && w.rfind(L"\\\\", 0) != 0 && w.size() > 2 && w[1] == L':')
        return L"\\\\?\\" + w;
    return w;
}

class Win32Files : public Files {
  public:
    std::string ProgramFolder() override {
        std::vector<wchar_t> buf(MAX_PATH);
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
            if (n == 0) return {};
            if (n < buf.size()) {
                std::wstring p(buf.data(), n);
                auto slash = p.find_last_of(L"\\/");
                return Narrow(slash == std::wstring::npos ? p : p.substr(0, slash));
            }
            buf.resize(buf.size() * 2);
        }
    }
    std::string WindowsFolder() override {
        wchar_t buf[MAX_PATH + 1];
        UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1);
        return n ? Narrow(std::wstring_view(buf, n)) : std::string("C:\\Windows");
    }
    std::uint32_t GetAttributes(std::string_view path) override {
        return GetFileAttributesW(LongPath(path).c_str());
    }
    std::vector<FoundFile> FindFiles(std::string_view pattern) override {
        std::vector<FoundFile> found;
        ListFiles(pattern, found);
        return found;
    }
    std::optional<std::string> ReadFile(std::string_view path) override {
        HANDLE h =
            CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        std::string data;
        char buf[65536];
        DWORD got = 0;
        bool ok = true;
        while ((ok = ::ReadFile(h, buf, sizeof buf, &got, nullptr)) && got > 0)
            data.append(buf, got);
        CloseHandle(h);
        if (!ok) return std::nullopt;
        return data;
    }
    std::string ToAnsiCodePage(std::string_view utf8) override {
        return ToCodePage(utf8, GetACP());
    }
    Status ListFiles(std::string_view pattern, std::vector<FoundFile>& found) override {
        found.clear();
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(LongPath(pattern).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return static_cast<Status>(GetLastError());
        do {
            std::wstring_view n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            found.push_back({Narrow(n), fd.dwFileAttributes,
                             (std::uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow});
        } while (FindNextFileW(h, &fd));
        Status st = static_cast<Status>(GetLastError());
        FindClose(h);
        if (st != ERROR_NO_MORE_FILES) return st;
        // "*" in an empty folder still finds "." and "..": nothing matched.
        return found.empty() ? kFileNotFound : kSuccess;
    }
    Status ChangeAttributes(std::string_view path, std::uint32_t attributes) override {
        return SetFileAttributesW(LongPath(path).c_str(), attributes)
                   ? kSuccess
                   : static_cast<Status>(GetLastError());
    }
    Status CreateFolder(std::string_view path) override {
        return CreateDirectoryW(LongPath(path).c_str(), nullptr)
                   ? kSuccess
                   : static_cast<Status>(GetLastError());
    }
    Status RemoveFolder(std::string_view path) override {
        return RemoveDirectoryW(LongPath(path).c_str()) ? kSuccess
                                                        : static_cast<Status>(GetLastError());
    }
    Status RemoveFile(std::string_view path) override {
        return DeleteFileW(LongPath(path).c_str()) ? kSuccess : static_cast<Status>(GetLastError());
    }
    Status CopyFileTo(std::string_view from, std::string_view to, bool fail_if_exists) override {
        return CopyFileW(LongPath(from).c_str(), LongPath(to).c_str(), fail_if_exists)
                   ? kSuccess
                   : static_cast<Status>(GetLastError());
    }
    Status SaveFile(std::string_view path, std::string_view bytes) override {
        return Write(path, GENERIC_WRITE, 0, CREATE_ALWAYS, bytes);
    }
    Status AppendToFile(std::string_view path, std::string_view bytes) override {
        return Write(path, FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS, bytes);
    }
    Status MoveReplacing(std::string_view from, std::string_view to) override {
        return MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                   ? kSuccess
                   : static_cast<Status>(GetLastError());
    }
    std::optional<std::string> ToAnsiExactly(std::string_view utf8) override {
        const UINT cp = GetACP();
        if (cp == CP_UTF8 || utf8.empty()) return std::string(utf8);
        std::wstring w = Wide(utf8);
        // No best fit: "\u0142" must not quietly become "l".
        BOOL lossy = FALSE;
        const int size = static_cast<int>(w.size());
        int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), size, nullptr, 0, nullptr,
                                    &lossy);
        if (n <= 0 || lossy) return std::nullopt;
        std::string out(static_cast<std::size_t>(n), '\0');
        n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, w.data(), size, out.data(), n, nullptr,
                                &lossy);
        if (n <= 0 || lossy) return std::nullopt;
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
    std::string FromAnsiCodePage(std::string_view ansi) override {
        if (ansi.empty()) return {};
        const int size = static_cast<int>(ansi.size());
        int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
        if (n <= 0) return text::Utf8ToAsciiReplacing(ansi);
        std::wstring w(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, w.data(), n);
        return Narrow(w);
    }

  private:
    static Status Write(std::string_view path, DWORD access, DWORD share, DWORD disposition,
                        std::string_view bytes) {
        HANDLE h = CreateFileW(LongPath(path).c_str(), access, share, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return static_cast<Status>(GetLastError());
        DWORD written = 0;
        BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        Status st = ok && written == bytes.size() ? kSuccess : static_cast<Status>(GetLastError());
        CloseHandle(h);
        return st;
    }
};

class Win32Profiles : public ProfileFiles {
  public:
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t buffer_chars, std::string_view path) override {
        if (buffer_chars == 0) return {};
        std::vector<wchar_t> buf(buffer_chars);
        DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                           Wide(fallback).c_str(), buf.data(),
                                           static_cast<DWORD>(buf.size()), Wide(path).c_str());
        return Narrow(std::wstring_view(buf.data(), n));
    }
    bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view path) override {
        return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                          Wide(value).c_str(), Wide(path).c_str()) != 0;
    }
};

class Win32Shell : public Shell {
  public:
    ~Win32Shell() override {
        if (mutex_) CloseHandle(mutex_);
    }
    std::intptr_t Open(std::uintptr_t owner, std::string_view file, std::string_view directory,
                       int show) override {
        HINSTANCE r = ShellExecuteW(reinterpret_cast<HWND>(owner), nullptr, Wide(file).c_str(),
                                    nullptr, Wide(directory).c_str(), show);
        return reinterpret_cast<std::intptr_t>(r);
    }
    bool ClaimSingleInstance(std::string_view name) override {
        // A named mutex in the session: the first copy creates it; a later
        // copy opens the existing one and learns it is not alone.
        std::wstring n = L"Local\\" + Wide(name);
        HANDLE m = CreateMutexW(nullptr, FALSE, n.c_str());
        if (!m) return true;  // cannot tell: better to run than to refuse
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(m);
            return false;
        }
        if (mutex_) CloseHandle(mutex_);
        mutex_ = m;
        return true;
    }

    std::int32_t EmptyRecycleBin(std::uintptr_t owner, std::string_view root,
                                 std::uint32_t flags) override {
        return detail::EmptyRecycleBin(owner, root, flags);
    }
    void UpdateRecycleBinIcon() override { detail::UpdateRecycleBinIcon(); }
    std::string BrowseForFolder(std::uintptr_t owner, std::string_view title) override {
        return detail::BrowseForFolder(owner, title);
    }
    void ChangeNotify(std::int32_t event, std::string_view path) override {
        detail::ChangeNotify(event, path);
    }

  private:
    HANDLE mutex_ = nullptr;
};

struct Parts {
    Win32Registry registry;
    Win32Environment environment;
    Win32Files files;
    Win32Profiles profiles;
    Win32Shell shell;
    RegistrySettingsStore settings{registry};
    std::unique_ptr<SystemParameters> sysparams = detail::MakeSystemParameters();
    std::unique_ptr<Display> display = MakeDisplay();
    std::unique_ptr<Drives> drives = MakeDrives();
    std::unique_ptr<Pictures> pictures = MakePictures();
    std::unique_ptr<SystemInfo> system_info = MakeSystemInfo();
    Win32Shortcuts shortcuts{files};
    std::unique_ptr<Processes> processes = MakeProcesses();
    std::unique_ptr<Fonts> fonts = MakeFonts();
};

class RealPlatformImpl : private Parts, public RealPlatform {
  public:
    RealPlatformImpl()
        : RealPlatform(Platform{
              Parts::registry, Parts::environment, Parts::settings, Parts::profiles, Parts::files,
              Parts::shell, *Parts::sysparams, *Parts::display, *Parts::drives, *Parts::pictures,
              *Parts::system_info, Parts::shortcuts, *Parts::processes, *Parts::fonts}) {}
};

}  // namespace

std::unique_ptr<RealPlatform> MakePlatform() {
    return std::make_unique<RealPlatformImpl>();
}

}  // namespace orv::win32
