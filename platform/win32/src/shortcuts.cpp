// The shell's own reader of .lnk files: IShellLinkW loaded through
// IPersistFile. COM is initialised per call (apartment-threaded, as the
// window thread wants it) and released only when this call initialised it.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "platform/win32/platform.h"
#include "platform/win32/shortcuts.h"

namespace orv::win32 {

using namespace orv::platform;

namespace {

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

class ComScope {
  public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

  private:
    HRESULT hr_;
};

Status FromHresult(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return static_cast<Status>(HRESULT_CODE(hr));
    return kInvalidData;
}

}  // namespace

Status Win32Shortcuts::ReadTarget(std::string_view path, std::string& target) {
    target.clear();
    // The shell reports a missing file as a generic failure: ask the file
    // system first so the caller can tell "gone" from "not a shortcut".
    std::uint32_t attributes = files_.GetAttributes(path);
    if (attributes == kInvalidAttributes) return static_cast<Status>(GetLastError());
    if (attributes & kAttrDirectory) return kAccessDenied;
    ComScope com;
    ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.p));
    if (FAILED(hr)) return FromHresult(hr);
    ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
    if (FAILED(hr)) return FromHresult(hr);
    hr = file->Load(Wide(path).c_str(), STGM_READ);
    if (FAILED(hr)) return FromHresult(hr) == kSuccess ? kInvalidData : FromHresult(hr);
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
