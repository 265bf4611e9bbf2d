// The shell's own reader of .lnk files: IShellLinkW loaded through
// IPersistFile.
#include "platform/win32/shortcuts.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/win32/platform.h"

namespace orv::win32 {

using namespace orv::platform;

namespace {

Status FromHresult(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32 && HRESULT_CODE(hr) != 0)
        return static_cast<Status>(HRESULT_CODE(hr));
    return kInvalidData;
}

}  // namespace

Win32Shortcuts::~Win32Shortcuts() {
    if (file_) static_cast<IPersistFile*>(file_)->Release();
    if (link_) static_cast<IShellLinkW*>(link_)->Release();
    if (com_) CoUninitialize();
}

Status Win32Shortcuts::ReadTarget(std::string_view path, std::string& target) {
    target.clear();
    // The shell reports a missing file as a generic failure: ask the file
    // system first so the caller can tell "gone" from "not a shortcut".
    std::uint32_t attributes = files_.GetAttributes(path);
    if (attributes == kInvalidAttributes) return static_cast<Status>(GetLastError());
    if (attributes & kAttrDirectory) return kAccessDenied;
    if (!link_) {
        // S_FALSE (already initialised) also takes a reference to release;
        // RPC_E_CHANGED_MODE (another model on this thread) does not.
        com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        IShellLinkW* link = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, reinterpret_cast<void**>(&link));
        if (FAILED(hr)) return FromHresult(hr);
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (FAILED(hr)) {
            link->Release();
            return FromHresult(hr);
        }
        link_ = link;
        file_ = file;
    }
    auto* link = static_cast<IShellLinkW*>(link_);
    HRESULT hr = static_cast<IPersistFile*>(file_)->Load(Wide(path).c_str(), STGM_READ);
    if (FAILED(hr)) return FromHresult(hr);
    // Long targets: GetPath takes any buffer size; 32767 is the longest path.
    std::vector<wchar_t> buf(32768, L'\0');
    // SLGP_RAWPATH: the path as recorded, not resolved through the file
    // system (resolving would search for a moved target and could rewrite
    // what the check is meant to judge).
    hr = link->GetPath(buf.data(), static_cast<int>(buf.size()), nullptr, SLGP_RAWPATH);
    if (hr != S_OK) return kSuccess;  // S_FALSE: a shell item with no file-system path
    target = Narrow(buf.data());
    return kSuccess;
}

}  // namespace orv::win32
