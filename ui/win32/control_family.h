// The per-kind behaviour of the host's native controls, one family of kinds
// per source file (kind_*.cpp): how a control's window is created, how the
// model's properties reach it, how its notifications reach the model, and how
// it is drawn. A new control kind gets a family (or joins one) and a row in
// FamilyOf; the rest of the host stays as it is.
#pragma once

#include "host_impl.h"

namespace orv::ui {

// What CreateWindowExW gets for a control.
struct WindowPlan {
    const wchar_t* window_class = nullptr;  // nullptr: the control has no window
    DWORD style = 0;
    DWORD ex_style = 0;
    bool caption_as_text = false;  // created with the caption as its window text
    bool owner_draw = false;       // drawn by the family's DrawItem
};

class ControlFamily {
  public:
    using Impl = NativeHost::Impl;
    virtual ~ControlFamily() = default;

    // The window for `c` (kViewClass: drawn by the host through Paint).
    virtual WindowPlan Plan(const Control& c, bool skinned) const = 0;
    virtual void Created(HWND) const {}
    // Whether Prop::Caption is shown as the window text.
    virtual bool ShowsCaption(const Control& c) const { return c.HasCaption(); }
    // The window's height for a design height (combos hold their drop-down).
    virtual int WindowHeight(const Impl&, const ViewPeer&, int design) const { return design; }
    // After the window took its place and size.
    virtual void Laid(Impl&, ViewPeer&) const {}
    // Prop::Value, Text, Items, Selection and Picture; the host does the rest.
    virtual void Push(Impl&, ViewPeer&, Prop) const {}
    // Notifications from the control's window, after the host checked that a
    // user could have given them; runs inside the host's handler guard.
    virtual void OnCommand(Impl&, ViewPeer&, UINT) const {}
    // WM_NOTIFY and WM_[HV]SCROLL: these check reachability themselves (a
    // list view's selection is looked at later, once its notifications
    // settled), and enter the handler guard only to change the model.
    virtual void OnNotify(Impl&, ViewPeer&, const NMHDR&) const {}
    virtual void OnScroll(Impl&, ViewPeer&, UINT) const {}
    // Owner drawing; false when the control is not owner-drawn.
    virtual bool DrawItem(Impl&, ViewPeer&, const DRAWITEMSTRUCT&) const { return false; }
    // Painting of kViewClass windows into an off-screen `dc` the size of `rc`.
    virtual void Paint(Impl& impl, ViewPeer& v, HDC dc, const RECT& rc) const {
        impl.FillParentBackground(v.hwnd, dc, rc);
    }
    // Edits and combos keep their own white instead of the container's
    // background (WM_CTLCOLOR*).
    virtual bool KeepsOwnBackground(Kind) const { return false; }
};

const ControlFamily& FamilyOf(Kind kind);

// A combo's window height includes its drop-down list; the design height is
// that of the closed box, which Windows sets from the font.
int ComboWindowHeight(const NativeHost::Impl& impl, const ViewPeer& v, int design);

// The families, each defined in its kind_*.cpp.
const ControlFamily& ButtonFamily();      // CommandButton, CheckBox, OptionButton
const ControlFamily& ViewFamily();        // Label, StatusBar, Histogram, Picture, Image, Frame
const ControlFamily& TextBoxFamily();     // TextBox
const ControlFamily& ListFamily();        // ComboBox, DriveList, ListBox, FolderList
const ControlFamily& ImageComboFamily();  // ImageCombo
const ControlFamily& ListViewFamily();    // ListView
const ControlFamily& RangeFamily();       // Slider, ProgressBar, UpDown
const ControlFamily& TabStripFamily();    // TabStrip

// List views: the posted row sync and selection read (kind_listview.cpp).
void SyncRows(NativeHost::Impl& impl, ViewPeer& v);
void SyncListViewSelection(NativeHost::Impl& impl, ViewPeer& v);

}  // namespace orv::ui
