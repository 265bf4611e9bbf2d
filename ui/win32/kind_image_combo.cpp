// Image combos: a ComboBoxEx whose items show pictures from the control's
// image list, loaded at the form's DPI.
#include "control_family.h"
#include "control_messages.h"
#include "gdi.h"

namespace orv::ui {

using namespace win32;

namespace {

// Icon files or icon resources; a missing one leaves a blank so that the
// items' picture numbers still match the list.
void LoadImageList(NativeHost::Impl& impl, ViewPeer& v) {
    auto& combo = static_cast<ImageCombo&>(*v.control);
    const ComboBoxEx box{v.hwnd};
    if (v.images) {
        box.SetImageList(nullptr);
        ImageList_Destroy(v.images);
        v.images = nullptr;
    }
    if (!combo.image_list || combo.image_list->images.empty()) return;
    const int size = impl.Px(*v.form, 16);
    v.images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (!v.images) return;
    for (const auto& name : combo.image_list->images) {
        std::wstring w = Wide(name);
        HICON icon = static_cast<HICON>(
            LoadImageW(nullptr, w.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
        if (!icon) {
            icon =
                static_cast<HICON>(LoadImageW(impl.instance, w.c_str(), IMAGE_ICON, size, size, 0));
        }
        if (icon) {
            ImageList_AddIcon(v.images, icon);
            DestroyIcon(icon);
        } else {
            GdiObject<HBITMAP> blank(CreateBitmap(size, size, 1, 32, nullptr));
            ImageList_Add(v.images, blank, nullptr);
        }
    }
    box.SetImageList(v.images);
}

class ImageCombos : public ControlFamily {
  public:
    WindowPlan Plan(const Control&, bool) const override {
        return {WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    }

    int WindowHeight(const Impl& impl, const ViewPeer& v, int design) const override {
        return ComboWindowHeight(impl, v, design);
    }

    void Push(Impl& impl, ViewPeer& v, Prop prop) const override {
        auto& combo = static_cast<ImageCombo&>(*v.control);
        const ComboBoxEx box{v.hwnd};
        if (prop == Prop::Selection) {
            box.SetCurSel(combo.SelectedIndex());
            return;
        }
        if (prop != Prop::Items) return;
        LoadImageList(impl, v);
        box.Reset();
        int i = 0;
        for (const auto& item : combo.ComboItems()) {
            std::wstring w = Wide(item.text);
            COMBOBOXEXITEMW ci{};
            ci.mask = CBEIF_TEXT | (v.images ? CBEIF_IMAGE | CBEIF_SELECTEDIMAGE : 0);
            ci.iItem = i++;
            ci.pszText = w.data();
            ci.iImage = item.image - 1;
            ci.iSelectedImage = (item.selected_image ? item.selected_image : item.image) - 1;
            box.Insert(ci);
        }
        impl.Push(v, Prop::Selection);
    }

    void OnCommand(Impl&, ViewPeer& v, UINT code) const override {
        if (code == CBN_SELCHANGE) {
            static_cast<ImageCombo&>(*v.control).Select(ComboBoxEx{v.hwnd}.CurSel());
        }
    }
};

}  // namespace

const ControlFamily& ImageComboFamily() {
    static const ImageCombos family;
    return family;
}

}  // namespace orv::ui
