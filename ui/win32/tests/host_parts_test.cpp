// The Win32 host's building blocks on real windows and DCs: the control
// families' window plans, the typed control-message wrappers (each read back
// from the control itself) and the scoped GDI resources.
#include <gtest/gtest.h>

#include "control_family.h"
#include "control_messages.h"
#include "gdi.h"
#include "ui/headless.h"
#include "ui/native_host.h"

namespace orv::ui {
namespace {

using namespace win32;

Design Captioned(std::string caption) {
    Design d;
    d.caption = std::move(caption);
    return d;
}

Design Sized(int width, int height) {
    Design d;
    d.width = width;
    d.height = height;
    return d;
}

struct KindsForm : Form {
    explicit KindsForm(Host& h) : Form(h, "kinds", "", 6000, 6000) { notes.multi_line = true; }
    CommandButton button{*this, "button", Captioned("Go")};
    CheckBox check{*this, "check", Captioned("Check")};
    OptionButton option{*this, "option", Captioned("Option")};
    Label label{*this, "label", Captioned("Text")};
    Frame frame{*this, "frame", Captioned("Group")};
    TextBox text{*this, "text", {}};
    TextBox notes{*this, "notes", Sized(2000, 1000)};
    ComboBox combo{*this, "combo", {}};
    ComboBox fixed_combo{*this, "fixed", {}};
    DriveList drives{*this, "drives", {}};
    ListBox list{*this, "list", {}};
    ListView rows{*this, "rows", {}};
    Slider wide_slider{*this, "hslider", Sized(2000, 300)};
    Slider tall_slider{*this, "vslider", Sized(300, 2000)};
    ProgressBar progress{*this, "progress", {}};
    UpDown spin{*this, "spin", Sized(300, 600)};
    TabStrip tabs{*this, "tabs", {}, {"One", "Two"}};
    ImageCombo images{*this, "images", {}};
    Picture picture{*this, "picture", {}};
    Timer timer{*this, "timer", 100};
};

TEST(ControlFamilies, GiveEachControlItsWindow) {
    HeadlessHost host;
    KindsForm f(host);
    f.fixed_combo.style = ComboBox::Style::DropDownList;
    struct Case {
        const char* name;
        const Control& control;
        bool skinned;
        const wchar_t* window_class;  // nullptr: no window
        DWORD style_has;
        DWORD style_lacks;
        bool owner_draw;
        bool caption_as_text;
    } cases[] = {
        {"plain button", f.button, false, L"BUTTON", BS_MULTILINE | WS_TABSTOP, BS_OWNERDRAW, false,
         true},
        {"skinned button", f.button, true, L"BUTTON", BS_OWNERDRAW, 0, true, true},
        {"plain check box is 3-state, not automatic", f.check, false, L"BUTTON", BS_3STATE,
         BS_AUTO3STATE & ~BS_3STATE, false, true},
        {"skinned option", f.option, true, L"BUTTON", BS_OWNERDRAW, 0, true, true},
        {"label", f.label, false, kViewClass, 0, WS_TABSTOP, false, true},
        {"frame holds controls", f.frame, false, kViewClass, WS_CLIPCHILDREN, 0, false, true},
        {"text box", f.text, false, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, ES_MULTILINE, false,
         false},
        {"multi-line text box wraps", f.notes, false, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL,
         ES_AUTOHSCROLL, false, false},
        {"editable combo", f.combo, false, L"COMBOBOX", CBS_DROPDOWN, CBS_SIMPLE & ~CBS_DROPDOWN,
         false, false},
        {"drop-down list combo", f.fixed_combo, false, L"COMBOBOX", CBS_DROPDOWNLIST, 0, false,
         false},
        {"drive list", f.drives, false, L"COMBOBOX", CBS_DROPDOWNLIST, 0, false, false},
        {"list box", f.list, false, L"LISTBOX", LBS_NOTIFY, 0, false, false},
        {"list view", f.rows, false, WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL, 0, false, false},
        {"wide slider", f.wide_slider, false, TRACKBAR_CLASSW, TBS_HORZ, TBS_VERT, false, false},
        {"tall slider", f.tall_slider, false, TRACKBAR_CLASSW, TBS_VERT, 0, false, false},
        {"progress bar", f.progress, false, PROGRESS_CLASSW, 0, WS_TABSTOP, false, false},
        {"tall up-down", f.spin, false, UPDOWN_CLASSW, UDS_ARROWKEYS, UDS_HORZ, false, false},
        {"tab strip", f.tabs, false, WC_TABCONTROLW, WS_TABSTOP, 0, false, false},
        {"image combo", f.images, false, WC_COMBOBOXEXW, CBS_DROPDOWNLIST, 0, false, false},
        {"picture", f.picture, false, kViewClass, 0, 0, false, false},
        {"timer", f.timer, false, nullptr, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const WindowPlan plan = FamilyOf(c.control.GetKind()).Plan(c.control, c.skinned);
        if (!c.window_class) {
            EXPECT_EQ(plan.window_class, nullptr);
            continue;
        }
        ASSERT_NE(plan.window_class, nullptr);
        EXPECT_STREQ(plan.window_class, c.window_class);
        EXPECT_EQ(plan.style & c.style_has, c.style_has);
        EXPECT_EQ(plan.style & c.style_lacks, 0u);
        EXPECT_EQ(plan.owner_draw, c.owner_draw);
        EXPECT_EQ(plan.caption_as_text, c.caption_as_text);
    }
}

// A control's own font reaches its window whole, and follows each change.
TEST(ControlFonts, TheWindowGetsTheFaceSizeAndStyles) {
    NativeHost host;
    KindsForm f(host);
    f.Show();
    const int dpi = host.DpiOf(f);
    HWND edit = reinterpret_cast<HWND>(f.notes.Handle());
    ASSERT_NE(edit, nullptr);
    struct Case {
        const char* name;
        ControlFont font;
    } cases[] = {
        {"face and size", {"Tahoma", 20, false, false, false}},
        {"bold", {"Tahoma", 20, true, false, false}},
        {"italic and strikeout", {"Tahoma", 20, false, true, true}},
        {"another size", {"Tahoma", 72, false, false, true}},
        {"another face", {"Courier New", 9, false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.notes.SetFont(c.font);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW lf{};
        ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        EXPECT_EQ(Narrow(lf.lfFaceName), c.font.face);
        EXPECT_EQ(lf.lfHeight, -MulDiv(c.font.points, dpi, 72));
        EXPECT_EQ(lf.lfWeight >= FW_BOLD, c.font.bold);
        EXPECT_EQ(lf.lfItalic != 0, c.font.italic);
        EXPECT_EQ(lf.lfStrikeOut != 0, c.font.strikeout);
    }
    f.Unload();
}

// A kind added to the model without a family would silently get no window.
TEST(ControlFamilies, OnlyTimersImageListsAndDialogsAreWindowless) {
    const ControlFamily* windowless = &FamilyOf(Kind::Timer);
    for (int k = 0; k <= static_cast<int>(Kind::StatusBar); ++k) {
        const auto kind = static_cast<Kind>(k);
        SCOPED_TRACE(std::string(KindName(kind)));
        const bool want_windowless =
            kind == Kind::Timer || kind == Kind::ImageList || kind == Kind::CommonDialog;
        EXPECT_EQ(&FamilyOf(kind) == windowless, want_windowless);
    }
}

TEST(ControlFamilies, OnlyEditsAndCombosKeepTheirOwnBackground) {
    for (int k = 0; k <= static_cast<int>(Kind::StatusBar); ++k) {
        const auto kind = static_cast<Kind>(k);
        SCOPED_TRACE(std::string(KindName(kind)));
        const bool want =
            kind == Kind::TextBox || kind == Kind::ComboBox || kind == Kind::DriveList;
        EXPECT_EQ(FamilyOf(kind).KeepsOwnBackground(kind), want);
    }
}

// A hidden top-level window to parent the controls under test.
class ControlMessages : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                 ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                 ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }
    HWND Make(const wchar_t* cls, DWORD style) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 200, 100, parent_, nullptr,
                               nullptr, nullptr);
    }
    HWND parent_ = nullptr;
};

TEST_F(ControlMessages, ComboBoxesAndListBoxesEditTheirEntries) {
    struct Case {
        const char* name;
        const wchar_t* cls;
        DWORD style;
        bool combo;
        UINT get_text;
        UINT count;
    } cases[] = {
        {"combo box", L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS, true, CB_GETLBTEXT,
         CB_GETCOUNT},
        {"list box", L"LISTBOX", LBS_HASSTRINGS, false, LB_GETTEXT, LB_GETCOUNT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND h = Make(c.cls, c.style);
        ASSERT_NE(h, nullptr);
        const ListBoxLike list{h, c.combo};
        for (const wchar_t* item : {L"a", L"b", L"c"}) list.Add(item);
        list.Delete(1);
        list.SetCurSel(1);
        EXPECT_EQ(list.CurSel(), 1);
        wchar_t text[8] = {};
        SendMessageW(h, c.get_text, 1, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, L"c");
        list.Reset();
        EXPECT_EQ(SendMessageW(h, c.count, 0, 0), 0);
        EXPECT_EQ(list.CurSel(), -1);
    }
}

// Ranges beyond 16 bits and negative positions survive the packing.
TEST_F(ControlMessages, TrackbarStepsReadBack) {
    const Trackbar bar{Make(TRACKBAR_CLASSW, 0)};
    bar.SetRange(0, 31);
    bar.SetSteps(1, 5);
    EXPECT_EQ(bar.LineSize(), 1);
    EXPECT_EQ(bar.PageSize(), 5);
    bar.SetSteps(2, 10);
    EXPECT_EQ(bar.LineSize(), 2);
    EXPECT_EQ(bar.PageSize(), 10);
}

TEST_F(ControlMessages, RangesClampAndKeepNegativePositions) {
    const Trackbar bar{Make(TRACKBAR_CLASSW, 0)};
    const UpDownCtl spin{Make(UPDOWN_CLASSW, 0)};
    struct Case {
        const char* name;
        int min, max, set, want;
    } cases[] = {
        {"inside", -5, 100000, 70000, 70000},
        {"negative", -5, 100, -3, -3},
        {"above the range", -5, 100, 700, 100},
        {"below the range", 10, 100, 2, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bar.SetRange(c.min, c.max);
        bar.SetPos(c.set);
        EXPECT_EQ(bar.Pos(), c.want);
        spin.SetRange(c.min, c.max);
        spin.SetPos(c.set);
        EXPECT_EQ(spin.Pos(), c.want);
    }
}

TEST_F(ControlMessages, TabsAndListViewRowsFollowTheCalls) {
    const TabControl tabs{Make(WC_TABCONTROLW, 0)};
    for (int i = 0; i < 3; ++i) tabs.Insert(i, L"tab");
    tabs.SetCurSel(2);
    EXPECT_EQ(tabs.CurSel(), 2);
    tabs.DeleteAll();
    EXPECT_EQ(SendMessageW(tabs.h, TCM_GETITEMCOUNT, 0, 0), 0);

    const ListViewCtl rows{Make(WC_LISTVIEWW, LVS_REPORT)};
    rows.InsertColumn(0, L"Name", 50);
    rows.InsertColumn(1, L"Size", 40);
    rows.InsertItem(0, L"first");
    rows.InsertItem(1, L"second");
    rows.SetItemText(1, 1, L"2 KB");
    wchar_t text[16] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 16;
    SendMessageW(rows.h, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, L"2 KB");
    rows.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(rows.FirstSelected(), 1);
    rows.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(rows.FirstSelected(), -1);
    rows.DeleteItem(0);
    EXPECT_EQ(SendMessageW(rows.h, LVM_GETITEMCOUNT, 0, 0), 1);
    rows.DeleteAllColumns();
    HWND header = reinterpret_cast<HWND>(SendMessageW(rows.h, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 0);
}

// A DIB-backed 8x8 memory DC, filled white.
class GdiScopes : public ::testing::Test {
  protected:
    void SetUp() override {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bmp_);
        FillSolid(dc_, {0, 0, 8, 8}, RGB(255, 255, 255));
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(bmp_);
        DeleteDC(dc_);
    }
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST_F(GdiScopes, MemoryDCLandsOnItsRectangleWhenItEnds) {
    {
        MemoryDC mem(dc_, RECT{2, 2, 6, 6});
        FillSolid(mem, {0, 0, 4, 4}, RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc_, 3, 3), RGB(255, 255, 255)) << "drawn before the end";
    }
    EXPECT_EQ(GetPixel(dc_, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc_, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc_, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc_, 6, 6), RGB(255, 255, 255));
}

TEST_F(GdiScopes, SelectionOriginAndClipComeBack) {
    HGDIOBJ pen_before = GetCurrentObject(dc_, OBJ_PEN);
    POINT origin_before{};
    GetBrushOrgEx(dc_, &origin_before);
    RECT clip_before{};
    GetClipBox(dc_, &clip_before);
    {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 255)));
        SelectObjectGuard select(dc_, pen);
        BrushOriginGuard origin(dc_, 3, 4);
        GdiObject<HRGN> small(CreateRectRgn(1, 1, 3, 3));
        ClipGuard clip(dc_, small);
        EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen.get());
        RECT inside{};
        GetClipBox(dc_, &inside);
        EXPECT_EQ(inside.right - inside.left, 2);
    }
    EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen_before);
    POINT origin_after{};
    GetBrushOrgEx(dc_, &origin_after);
    EXPECT_EQ(origin_after.x, origin_before.x);
    EXPECT_EQ(origin_after.y, origin_before.y);
    RECT clip_after{};
    GetClipBox(dc_, &clip_after);
    EXPECT_TRUE(EqualRect(&clip_after, &clip_before));
}

TEST(GdiObjects, AreDeletedUnlessReleased) {
    HBRUSH kept = nullptr, dropped = nullptr;
    {
        GdiObject<HBRUSH> a(CreateSolidBrush(RGB(1, 2, 3)));
        GdiObject<HBRUSH> b(CreateSolidBrush(RGB(4, 5, 6)));
        kept = a.release();
        dropped = b.get();
    }
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(GetObjectType(dropped), 0u);
    DeleteObject(kept);
}

}  // namespace
}  // namespace orv::ui
