// Message boxes and the common dialogs (open file, colour), owned by the
// form's window so they are modal to it.
#include "host_impl.h"

#include <commdlg.h>

namespace orv::ui {

int NativeHost::MessageBox(Form* owner, std::string_view text, std::string_view title,
                           unsigned style) {
    HWND owner_hwnd = nullptr;
    if (owner) {
        if (FormPeer* fp = impl_->Peer(*owner)) owner_hwnd = fp->hwnd;
    }
    if (!owner_hwnd) owner_hwnd = GetActiveWindow();
    std::wstring t = Wide(title.empty() ? std::string_view(impl_->options.app_title) : title);
    return MessageBoxW(owner_hwnd, Wide(text).c_str(), t.c_str(), style);
}

bool NativeHost::ShowOpenDialog(Form& owner, CommonDialog& dialog) {
    FormPeer* fp = impl_->Peer(owner);
    // DialogFilter's NULs survive the conversion: Wide() converts by length.
    std::wstring filter = Wide(DialogFilter(dialog.filter));
    std::vector<wchar_t> file(32768, L'\0');
    std::wstring initial = Wide(dialog.file_name);
    std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = fp ? fp->hwnd : nullptr;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn)) return false;
    dialog.file_name = Narrow(file.data());
    return true;
}

bool NativeHost::ShowColorDialog(Form& owner, CommonDialog& dialog) {
    FormPeer* fp = impl_->Peer(owner);
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = fp ? fp->hwnd : nullptr;
    cc.rgbResult = dialog.color & 0x00FFFFFFu;
    cc.lpCustColors = impl_->custom_colors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!ChooseColorW(&cc)) return false;
    dialog.color = cc.rgbResult;
    return true;
}

}  // namespace orv::ui
