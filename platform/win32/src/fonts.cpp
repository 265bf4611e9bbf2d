#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "machine.h"
#include "platform/win32/platform.h"

namespace orv::win32 {
namespace {

using namespace orv::platform;

// A hung window holds the broadcast no longer than this.
constexpr UINT kBroadcastTimeoutMs = 1000;

Status KnownFolder(REFKNOWNFOLDERID id, std::string& folder) {
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &path);
    if (SUCCEEDED(hr) && path) folder = Narrow(path);
    CoTaskMemFree(path);  // allocated even when the call fails
    if (FAILED(hr))
        return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : kFileNotFound;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return kSuccess;
}

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(Narrow(lf->lfFaceName));
    return 1;
}

class Win32Fonts : public Fonts {
  public:
    std::vector<std::string> ScreenFaces() override {
        std::vector<std::string> enumerated;
        HDC dc = GetDC(nullptr);
        if (!dc) return {};
        LOGFONTW lf{};
        lf.lfCharSet = DEFAULT_CHARSET;  // every face, once per character set
        EnumFontFamiliesExW(dc, &lf, CollectFace, reinterpret_cast<LPARAM>(&enumerated), 0);
        ReleaseDC(nullptr, dc);
        return ListedFaces(enumerated);
    }
    Status MachineFontsFolder(std::string& folder) override {
        return KnownFolder(FOLDERID_Fonts, folder);
    }
    Status UserFontsFolder(std::string& folder) override {
        const Status s = KnownFolder(FOLDERID_LocalAppData, folder);
        if (s == kSuccess) folder += "\\Microsoft\\Windows\\Fonts";
        return s;
    }
    int AddFontFile(std::string_view path) override { return AddFontResourceW(Wide(path).c_str()); }
    bool RemoveFontFile(std::string_view path) override {
        return RemoveFontResourceW(Wide(path).c_str()) != 0;
    }
    bool BroadcastFontChange() override {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG,
                                   kBroadcastTimeoutMs, &result) != 0;
    }
};

}  // namespace

std::unique_ptr<Fonts> MakeFonts() {
    return std::make_unique<Win32Fonts>();
}

}  // namespace orv::win32
