// Text boxes, combo boxes, drive lists, list boxes and folder lists: the
// standard EDIT, COMBOBOX and LISTBOX windows. A change of a list's items
// touches only the entries that differ from what the window holds.
#include "control_family.h"
#include "control_messages.h"

namespace orv::ui {

using namespace win32;

int ComboWindowHeight(const NativeHost::Impl& impl, const ViewPeer& v, int design) {
    return std::max(design, impl.Px(*v.form, 24)) + impl.Px(*v.form, 200);
}

namespace {

bool IsCombo(Kind kind) {
    return kind == Kind::ComboBox || kind == Kind::DriveList;
}

void SyncListItems(ViewPeer& v) {
    const auto& items = static_cast<ListControl&>(*v.control).Items();
    const ListBoxLike list{v.hwnd, IsCombo(v.control->GetKind())};
    auto& shown = v.shown_items;
    if (items.empty()) {
        list.Reset();
        shown.clear();
        return;
    }
    const std::size_t same = KeptPrefix(shown, items);
    for (std::size_t i = shown.size(); i-- > same;) list.Delete(i);
    for (std::size_t i = same; i < items.size(); ++i) list.Add(Wide(items[i]));
    shown = items;
}

class TextBoxes : public ControlFamily {
  public:
    WindowPlan Plan(const Control& c, bool) const override {
        if (static_cast<const TextBox&>(c).multi_line)
            return {L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                    WS_EX_CLIENTEDGE};
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    }
    void Push(Impl&, ViewPeer& v, Prop prop) const override {
        if (prop != Prop::Text) return;
        const std::string& want = static_cast<TextBox&>(*v.control).Text();
        if (WindowText(v.hwnd) != want) SetWindowTextW(v.hwnd, Wide(want).c_str());
    }
    void OnCommand(Impl&, ViewPeer& v, UINT code) const override {
        if (code == EN_CHANGE) static_cast<TextBox&>(*v.control).SetText(WindowText(v.hwnd));
    }
    bool KeepsOwnBackground(Kind) const override { return true; }
};

class Lists : public ControlFamily {
  public:
    WindowPlan Plan(const Control& c, bool) const override {
        switch (c.GetKind()) {
            case Kind::ComboBox: {
                const bool fixed =
                    static_cast<const ComboBox&>(c).style == ComboBox::Style::DropDownList;
                const DWORD drop = fixed ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
                return {L"COMBOBOX",
                        WS_TABSTOP | WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | drop};
            }
            case Kind::DriveList:
                return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWNLIST};
            default:  // ListBox, FolderList
                return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                        WS_EX_CLIENTEDGE};
        }
    }

    int WindowHeight(const Impl& impl, const ViewPeer& v, int design) const override {
        return IsCombo(v.control->GetKind()) ? ComboWindowHeight(impl, v, design) : design;
    }

    void Push(Impl& impl, ViewPeer& v, Prop prop) const override {
        Control& c = *v.control;
        const Kind kind = c.GetKind();
        switch (prop) {
            case Prop::Items:
                SyncListItems(v);
                impl.Push(v, Prop::Selection);
                if (kind == Kind::ComboBox) impl.Push(v, Prop::Text);
                break;
            case Prop::Selection:
                ListBoxLike{v.hwnd, IsCombo(kind)}.SetCurSel(
                    static_cast<ListControl&>(c).ListIndex());
                break;
            case Prop::Text: {
                if (kind != Kind::ComboBox) break;
                auto& combo = static_cast<ComboBox&>(c);
                if (combo.style == ComboBox::Style::DropDownList) break;
                if (WindowText(v.hwnd) != combo.Text()) {
                    SetWindowTextW(v.hwnd, Wide(combo.Text()).c_str());
                }
                break;
            }
            default:
                break;
        }
    }

    void OnCommand(Impl&, ViewPeer& v, UINT code) const override {
        Control& c = *v.control;
        const Kind kind = c.GetKind();
        const ListBoxLike list{v.hwnd, IsCombo(kind)};
        if (code == (list.combo ? CBN_SELCHANGE : LBN_SELCHANGE)) {
            static_cast<ListControl&>(c).SetListIndex(list.CurSel());
        } else if (code == CBN_EDITCHANGE && kind == Kind::ComboBox) {
            static_cast<ComboBox&>(c).SetText(WindowText(v.hwnd));
        }
    }

    bool KeepsOwnBackground(Kind kind) const override { return IsCombo(kind); }
};

}  // namespace

const ControlFamily& TextBoxFamily() {
    static const TextBoxes family;
    return family;
}

const ControlFamily& ListFamily() {
    static const Lists family;
    return family;
}

}  // namespace orv::ui
