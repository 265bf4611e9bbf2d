#include "cmenu.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "../src/shredder.h"
#include "identity.h"
#include "module.h"

namespace ardshred {
namespace {

void ShowMessageBox(HWND owner, const std::wstring& text, UINT type) {
    ::MessageBoxW(owner, text.c_str(), kMessageTitle, MB_OK | type);
}

}  // namespace

CMenu::CMenu() : notify_(ShowMessageBox) {
    LockModule();
}

CMenu::~CMenu() {
    selection_.assign(1, std::wstring());
    UnlockModule();
}

CMenu* CreateCMenu() {
    return new (std::nothrow) CMenu();
}

HRESULT CMenu::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit)) {
        *out = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(iid, IID_IContextMenu)) {
        *out = static_cast<IContextMenu*>(this);
    } else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kIidCMenuDispatch)) {
        *out = static_cast<IDispatch*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CMenu::AddRef() {
    return ++refs_;
}

ULONG CMenu::Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT CMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    // Whatever happens below, the previous selection is gone: a failed Initialize must not
    // leave a command armed with what was chosen in some earlier menu.
    selection_.assign(1, std::wstring());
    if (data == nullptr) return E_INVALIDARG;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    const HRESULT hr = data->GetData(&format, &medium);
    if (FAILED(hr)) return hr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return DV_E_TYMED;
    }
    // The shell may initialise one object more than once; each call describes the whole
    // selection, so it replaces the previous one instead of adding to what was chosen before.
    std::vector<std::wstring> selection(1);
    const auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Ask for the length first: a path is taken whole or not at all, never cut.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
        if (copied != length) continue;
        selection.push_back(std::move(path));
    }
    ::ReleaseStgMedium(&medium);
    selection_ = std::move(selection);
    return S_OK;
}

HRESULT CMenu::QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst, UINT idCmdLast,
                                UINT flags) {
    const bool wanted = (flags & 0x000F) == CMF_NORMAL || (flags & CMF_VERBSONLY) != 0 ||
                        (flags & CMF_EXPLORE) != 0;
    if (!wanted || idCmdFirst > idCmdLast) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (!::InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, idCmdFirst, kCaption))
        return HRESULT_FROM_WIN32(::GetLastError());
    ::InsertMenuW(menu, index + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);  // one command identifier used
}

HRESULT CMenu::GetCommandString(UINT_PTR idCmd, UINT type, UINT*, CHAR* name, UINT cchMax) {
    const wchar_t* text = nullptr;
    switch (type) {
        case GCS_VERBA:
        case GCS_VERBW:
            text = kVerbText;
            break;
        case GCS_HELPTEXTA:
        case GCS_HELPTEXTW:
            text = kHelpText;
            break;
        case GCS_VALIDATEA:
        case GCS_VALIDATEW:
            text = kValidateText;
            break;
        default:
            return S_OK;  // another kind of request: its buffer is not ours to touch
    }
    if (idCmd != 0) text = L"";
    if (name == nullptr || cchMax == 0) return S_OK;
    // Cut to cchMax - 1 characters and always terminate, so the caller never reads an
    // unterminated buffer even when the text comes out empty.
    std::wstring_view view(text);
    view = view.substr(0, std::min<std::size_t>(view.size(), cchMax - 1));
    if (type & GCS_UNICODE) {
        auto* out = reinterpret_cast<wchar_t*>(name);
        std::copy(view.begin(), view.end(), out);
        out[view.size()] = L'\0';
    } else {
        const int written =
            view.empty()
                ? 0
                : ::WideCharToMultiByte(CP_ACP, 0, view.data(), static_cast<int>(view.size()), name,
                                        static_cast<int>(cchMax - 1), nullptr, nullptr);
        name[written] = '\0';
    }
    return S_OK;
}

HRESULT CMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    if (info == nullptr) return E_INVALIDARG;
    const bool isOffset = IS_INTRESOURCE(info->lpVerb);
    const bool ours = isOffset ? LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) == 0
                               : std::strcmp(info->lpVerb, kCaptionA) == 0;
    // A verb that is not ours must fail, so the shell offers it to the other handlers.
    if (!ours) return E_FAIL;
    // Shredding pumps messages; one arriving through them must not start a second walk over
    // the same items, nor release this object under the running one.
    if (shredding_) return HRESULT_FROM_WIN32(ERROR_BUSY);
    AddRef();
    shredding_ = true;
    const HRESULT hr = ShredSelection(*info);
    shredding_ = false;
    Release();
    return hr;
}

HRESULT CMenu::ShredSelection(const CMINVOKECOMMANDINFO& info) {
    const bool ui = (info.fMask & CMIC_MASK_FLAG_NO_UI) == 0;
    if (selection_.size() <= 1) {
        if (ui) notify_(info.hwnd, kNothingSelected, MB_ICONINFORMATION);
        return S_OK;
    }
    const auto fs = shred::MakeNativeFileSystem();
    std::vector<shred::Leftover> left;
    {
        // Closed before any message box, which would otherwise sit under it.
        ShellProgress progress(info.hwnd, ui, progressFactory_, progressDelay_);
        // The walk copies the selection first: an Initialize that arrives while it pumps
        // messages replaces selection_ without touching the names being walked.
        left = shred::ShredSelection(*fs, std::span(selection_).subspan(1), &progress);
    }
    if (left.empty()) return S_OK;
    if (ui) notify_(info.hwnd, shred::DescribeLeftovers(left), MB_ICONWARNING);
    const shred::Leftover& first = left.front();
    if (first.failure == shred::Failure::Cancelled) return HRESULT_FROM_WIN32(ERROR_CANCELLED);
    return first.error != 0 ? HRESULT_FROM_WIN32(first.error) : E_FAIL;
}

HRESULT CMenu::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT CMenu::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeLib* library = nullptr;
    HRESULT hr = ::LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = library->GetTypeInfoOfGuid(kIidCMenuDispatch, info);
    library->Release();
    return hr;
}

HRESULT CMenu::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    if (ids != nullptr) std::fill_n(ids, count, DISPID_UNKNOWN);
    return DISP_E_UNKNOWNNAME;
}

HRESULT CMenu::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace ardshred
