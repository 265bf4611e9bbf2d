// <windows.h> first: the shell headers rely on what it defines.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "groups.h"
#include "platform/win32/platform.h"

// In shell32 and its import library, but not in MinGW's shlobj.h.
extern "C" DECLSPEC_IMPORT void WINAPI SHUpdateRecycleBinIcon(void);

namespace orv::win32::detail {

std::int32_t EmptyRecycleBin(std::uintptr_t owner, std::string_view root, std::uint32_t flags) {
    std::wstring r = Wide(root);
    return SHEmptyRecycleBinW(reinterpret_cast<HWND>(owner), root.empty() ? nullptr : r.c_str(),
                              flags);
}

void UpdateRecycleBinIcon() {
    SHUpdateRecycleBinIcon();
}

std::string BrowseForFolder(std::uintptr_t owner, std::string_view title) {
    std::wstring t = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = reinterpret_cast<HWND>(owner);
    info.lpszTitle = t.c_str();
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return {};
    // A long-path buffer: folders deeper than MAX_PATH come back whole.
    std::vector<wchar_t> path(32768, L'\0');
    BOOL ok =
        SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(item);
    if (!ok) return {};
    return Narrow(path.data());
}

void ChangeNotify(std::int32_t event, std::string_view path) {
    // FLUSHNOWAIT: delivered now, without waiting for Explorer to answer.
    if (path.empty()) {
        SHChangeNotify(event, SHCNF_IDLIST | SHCNF_FLUSHNOWAIT, nullptr, nullptr);
        return;
    }
    std::wstring p = Wide(path);
    SHChangeNotify(event, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, p.c_str(), nullptr);
}

}  // namespace orv::win32::detail
