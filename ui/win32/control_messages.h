// Typed wrappers for the messages the host sends to the common controls, so
// the rest of the host reads as calls (`Trackbar{h}.SetPos(5)`) and the
// message numbers and their wParam/lParam packing live here only.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace orv::ui::win32 {

inline LRESULT Send(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageW(h, msg, wp, lp);
}

inline void SetFont(HWND h, HFONT font, bool redraw) {
    Send(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

struct Button {
    HWND h;
    // BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE.
    void SetCheck(WPARAM state) const { Send(h, BM_SETCHECK, state); }
};

struct Edit {
    HWND h;
    void SelectAll() const { Send(h, EM_SETSEL, 0, -1); }
};

// Combo boxes (CB_*) and list boxes (LB_*) differ only in the numbers.
struct ListBoxLike {
    HWND h;
    bool combo;
    void Reset() const { Send(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT); }
    void Delete(std::size_t i) const { Send(h, combo ? CB_DELETESTRING : LB_DELETESTRING, i); }
    void Add(const std::wstring& text) const {
        Send(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SetCurSel(int i) const {
        Send(h, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(i));
    }
    int CurSel() const { return static_cast<int>(Send(h, combo ? CB_GETCURSEL : LB_GETCURSEL)); }
};

struct ComboBoxEx {
    HWND h;
    void SetImageList(HIMAGELIST images) const {
        Send(h, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    void Reset() const { Send(h, CB_RESETCONTENT); }
    void Insert(const COMBOBOXEXITEMW& item) const {
        Send(h, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    void SetCurSel(int i) const { Send(h, CB_SETCURSEL, static_cast<WPARAM>(i)); }
    int CurSel() const { return static_cast<int>(Send(h, CB_GETCURSEL)); }
};

struct Trackbar {
    HWND h;
    void SetRange(int min, int max) const {
        Send(h, TBM_SETRANGEMIN, FALSE, min);
        Send(h, TBM_SETRANGEMAX, FALSE, max);
    }
    void SetTicFrequency(int every) const { Send(h, TBM_SETTICFREQ, static_cast<WPARAM>(every)); }
    void SetPos(int pos) const { Send(h, TBM_SETPOS, TRUE, pos); }
    int Pos() const { return static_cast<int>(Send(h, TBM_GETPOS)); }
};

struct ProgressCtl {
    HWND h;
    void SetRange(int min, int max) const {
        Send(h, PBM_SETRANGE32, static_cast<WPARAM>(min), max);
    }
    void SetPos(int pos) const { Send(h, PBM_SETPOS, static_cast<WPARAM>(pos)); }
};

struct UpDownCtl {
    HWND h;
    void SetRange(int min, int max) const {
        Send(h, UDM_SETRANGE32, static_cast<WPARAM>(min), max);
    }
    void SetPos(int pos) const { Send(h, UDM_SETPOS32, 0, pos); }
    int Pos() const { return static_cast<int>(Send(h, UDM_GETPOS32)); }
};

struct TabControl {
    HWND h;
    void DeleteAll() const { Send(h, TCM_DELETEALLITEMS); }
    void Insert(int i, std::wstring text) const {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        Send(h, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    void SetCurSel(int i) const { Send(h, TCM_SETCURSEL, static_cast<WPARAM>(i)); }
    int CurSel() const { return static_cast<int>(Send(h, TCM_GETCURSEL)); }
};

struct ListViewCtl {
    HWND h;
    void SetExtendedStyle(DWORD style) const { Send(h, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style); }
    void DeleteAllItems() const { Send(h, LVM_DELETEALLITEMS); }
    void DeleteAllColumns() const {
        while (Send(h, LVM_DELETECOLUMN, 0)) {
        }
    }
    void InsertColumn(int i, std::wstring text, int width) const {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text.data();
        column.cx = width;
        Send(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    void SetColumnWidth(std::size_t i, int width) const { Send(h, LVM_SETCOLUMNWIDTH, i, width); }
    void InsertItem(int row, std::wstring text) const {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = text.data();
        Send(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    void SetItemText(int row, int column, std::wstring text) const {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        Send(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void DeleteItem(int row) const { Send(h, LVM_DELETEITEM, static_cast<WPARAM>(row)); }
    // Row -1 is every row.
    void SetItemState(int row, UINT state, UINT mask) const {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        Send(h, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    void EnsureVisible(int row) const {
        Send(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    }
    int FirstSelected() const {
        return static_cast<int>(Send(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
};

}  // namespace orv::ui::win32
