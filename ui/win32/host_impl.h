// Private to the Win32 host: the peers it keeps per window (FormPeer,
// ViewPeer) and NativeHost::Impl, whose members are defined across the
// ui/win32 sources by concern (see docs/architecture.md).
#pragma once

#include <windows.h>

#include <commctrl.h>
// windows.h renames MessageBox to MessageBoxW; the host's member keeps its name.
#undef MessageBox

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/win32/platform.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/layout.h"
#include "ui/list_sync.h"
#include "ui/native_host.h"
#include "ui/skin.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace orv::ui {

using orv::win32::Narrow;
using orv::win32::Wide;

inline constexpr wchar_t kFormClass[] = L"OrvelleForm";
inline constexpr wchar_t kViewClass[] = L"OrvelleView";
inline constexpr wchar_t kSplashClass[] = L"OrvelleSplash";
// Posted to a form: run the next of its pending caption elements.
inline constexpr UINT kMsgRunSkinElement = WM_APP + 1;
// Posted to a form's body with a list view's window in lParam.
inline constexpr UINT kMsgSyncListView = WM_APP + 2;
inline constexpr UINT kMsgSyncRows = WM_APP + 3;
// Window-menu commands standing in for caption elements. System command ids
// are below 0xF000 and keep their low four bits clear.
inline constexpr UINT kFirstMenuElement = 0x1000;
inline constexpr UINT_PTR kHoverSubclass = 1;

// DPI of a window, of the system (what a new top-level window starts with).
int WindowDpi(HWND hwnd);
int SystemDpi();
// Asks for per-monitor awareness where the system offers it.
void RequestPerMonitorDpi();
// Wine's X11 driver shows what a window region cuts away as black instead of
// what lies behind the window; under Wine shaped windows stay square.
bool RunningOnWine();

inline std::string WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring w(static_cast<std::size_t>(std::max(0, n)) + 1, L'\0');
    n = GetWindowTextW(hwnd, w.data(), n + 1);
    w.resize(static_cast<std::size_t>(std::max(0, n)));
    return Narrow(w);
}
// 32-bit top-down DIB section of a decoded image.
HBITMAP BitmapFromImage(const DecodedImage& image);

inline bool IsContainer(const Control* c) {
    return c && c->GetKind() == Kind::Frame;
}

struct FormPeer;

struct ViewPeer {
    NativeHost::Impl* host = nullptr;
    FormPeer* form = nullptr;
    Control* control = nullptr;  // nullptr for a form's body
    HWND hwnd = nullptr;
    ATOM name_atom = 0;
    ATOM kind_atom = 0;
    HFONT font = nullptr;      // owned by the form's font cache, or own_font
    HFONT own_font = nullptr;  // from the control's own font; deleted with the view
    bool hover = false;
    bool owner_draw = false;
    // Containers (the body and frames): what they show behind their children.
    HBITMAP bg = nullptr;
    HBRUSH bg_brush = nullptr;
    int bg_w = 0, bg_h = 0;
    bool bg_dirty = true;
    // Pictures and image combos.
    HBITMAP picture = nullptr;
    HICON icon = nullptr;
    int pic_w = 0, pic_h = 0;
    HIMAGELIST images = nullptr;
    // What the native list holds, so a change of the items touches only the
    // rows that differ (a list refilled every second keeps its scroll
    // position, and adding n items one by one costs n insertions).
    std::vector<std::string> shown_items;
    std::vector<ListView::Column> shown_columns;
    int shown_columns_dpi = 0;
    Rows shown_rows;
    bool rows_pending = false;
    UINT_PTR timer_id = 0;

    const SkinElement* Skin() const {
        if (!control || !control->Skin()) return nullptr;
        return control->Skin()->Find(control->SkinElement());
    }
    bool IsContainerView() const;
};

struct FormPeer {
    Form* form = nullptr;
    HWND hwnd = nullptr;
    ATOM name_atom = 0;
    int dpi = 96;
    bool alive = true;
    bool skinned = false;
    std::shared_ptr<const SkinSet> skin_set;  // kept alive while the window uses it
    const SkinElement* skin = nullptr;
    ViewPeer body;
    std::map<Control*, std::unique_ptr<ViewPeer>> views;
    std::map<UINT_PTR, Control*> timers;
    std::map<std::string, HFONT> fonts;
    // The caption bar of a skinned window.
    std::vector<HotSpot> spots;
    std::vector<CaptionBox> boxes;
    int caption_h = 0;
    int border = 0;
    int hot = -1;
    int pressed = -1;
    bool tracking = false;
    std::deque<std::string> pending_elements;
    // Window-menu commands standing in for the caption bar's elements while
    // the window has the standard look: command id -> element name.
    std::vector<std::pair<UINT, std::string>> menu_elements;
    // Windows a modal form disabled, enabled again when it closes.
    std::vector<HWND> disabled;
    // The control that had the keyboard when the window was deactivated.
    HWND last_focus = nullptr;
};

inline bool ViewPeer::IsContainerView() const {
    return this == &form->body || IsContainer(control);
}

struct NativeHost::Impl {
    NativeHost& host;
    NativeHostOptions options;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    std::map<Form*, std::unique_ptr<FormPeer>> forms;
    std::vector<std::unique_ptr<FormPeer>> graveyard;
    std::unordered_map<HWND, ViewPeer*> views;
    UINT skin_click_msg = 0;
    int updating = 0;  // > 0 while the host itself changes native state
    int depth = 0;     // window procedures on the stack
    UINT_PTR next_timer = 100;
    ATOM form_atom = 0;
    bool quit_requested = false;
    COLORREF custom_colors[16]{};
    // Splash
    HWND splash = nullptr;
    HBITMAP splash_bmp = nullptr;
    int splash_w = 0, splash_h = 0;
    ATOM splash_atom = 0;

    Impl(NativeHost& h, NativeHostOptions o);

    FormPeer* Peer(const Form& f);
    ViewPeer* View(const Control& c);
    ViewPeer* ViewOf(HWND hwnd);
    // Enter pressed in a text box with an onKeyPress: handled there.
    bool EnterInTextBox(HWND hwnd);
    // A child of `container`'s form that has a control.
    ViewPeer* ChildOf(const ViewPeer& container, HWND child);
    struct Updating {
        Impl& impl;
        explicit Updating(Impl& i) : impl(i) { ++impl.updating; }
        ~Updating() { --impl.updating; }
    };

    // ---- automation contract (automation.cpp) ------------------------------
    void SetAutomationName(HWND hwnd, const std::string& name, std::string_view kind,
                           ATOM& name_atom, ATOM* kind_atom);
    static void ReleaseAutomationName(HWND hwnd, ATOM& name_atom, ATOM* kind_atom);
    static void PublishValue(HWND hwnd, int value);
    static void PublishDpi(HWND hwnd, int dpi);
    static bool Reachable(HWND hwnd);

    // ---- peers (peers.cpp) ---------------------------------------------------
    void RegisterClasses();
    FormPeer* CreatePeer(Form& form, Form* owner);
    void CreateViews(FormPeer& fp);
    void CreateView(FormPeer& fp, Control& c);
    HWND CreateNative(ViewPeer& v, HWND parent);
    void AttachNative(FormPeer& fp, ViewPeer& v);
    void RecreateView(FormPeer& fp, ViewPeer& v);
    void DestroyView(ViewPeer& v);
    void DestroyPeer(Form& form);
    void StartTimer(FormPeer& fp, Control& timer);

    // ---- layout and fonts (layout_fonts.cpp) ---------------------------------
    static SkinFont DefaultFont();
    HFONT Font(FormPeer& fp, SkinFont want);
    HFONT CreateFontFor(const FormPeer& fp, const SkinFont& want);
    HFONT ControlFont(FormPeer& fp, const ViewPeer& v);
    int Px(const FormPeer& fp, int pixels96) const { return ScalePixels(pixels96, fp.dpi); }
    void ApplyFrame(FormPeer& fp);
    void LayoutForm(FormPeer& fp, const RECT* suggested = nullptr);
    void LayoutView(FormPeer& fp, ViewPeer& v);
    void ApplyZOrder(FormPeer& fp);
    void ApplyFonts(FormPeer& fp);
    void ApplyControlFont(FormPeer& fp, ViewPeer& v, bool redraw);

    // ---- caption bar and window menu (caption_bar.cpp) -----------------------
    void SyncMenuElements(FormPeer& fp);
    void LayoutCaptionBar(FormPeer& fp);
    void PaintCaptionBar(FormPeer& fp, HDC dc);
    void CaptionMouse(FormPeer& fp, UINT msg, int x, int y);
    void ActCaption(FormPeer& fp, int box);
    void QueueElement(FormPeer& fp, HWND hwnd, const std::string& element);

    // ---- container backgrounds (backgrounds.cpp) -----------------------------
    void DirtyBackgrounds(FormPeer& fp, ViewPeer* from);
    void EnsureBackground(ViewPeer& v);
    void RenderBackground(ViewPeer& v, HDC dc, int w, int h);
    void RenderFrame(ViewPeer& v, ViewPeer* container, HDC dc, int w, int h);
    void FillParentBackground(HWND child, HDC dc, const RECT& rc);

    // ---- model -> window (push.cpp) -------------------------------------------
    void Push(ViewPeer& v, Prop prop);
    void PushAll(ViewPeer& v);

    // ---- window -> model (input.cpp) ------------------------------------------
    void OnCommand(ViewPeer& v, UINT code);
    void OnNotify(ViewPeer& v, const NMHDR& nm);
    void OnScroll(ViewPeer& v, UINT code);
    void OnViewClick(ViewPeer& v);

    // ---- focus, Tab order, message loops (focus_modal.cpp) --------------------
    std::vector<HWND> TabStops(FormPeer& fp);
    bool MoveFocus(FormPeer& fp, bool back);
    void FocusFirstStop(FormPeer& fp);
    void Pump(MSG& msg);
    void RunModal(FormPeer& fp);

    // ---- window procedures (form_proc.cpp, view_proc.cpp, splash.cpp) ---------
    // The peer a window was created with: CreateWindowExW's last argument,
    // kept in GWLP_USERDATA from WM_NCCREATE on.
    static void* CreationPeer(HWND hwnd, UINT msg, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        return reinterpret_cast<void*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // Nothing may leave a window procedure as an exception: handlers already
    // run inside the host's guard; this catches what the host's own code
    // throws. `depth` counts the procedures on the stack.
    template <typename Handle>
    LRESULT Guarded(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, Handle handle) {
        ++depth;
        LRESULT r = 0;
        try {
            r = handle();
        } catch (...) {
            r = DefWindowProcW(hwnd, msg, wp, lp);
        }
        --depth;
        return r;
    }
    static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ViewProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SplashProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK HoverProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    // Owner-drawn buttons follow the mouse; tab strips paint their
    // container's background behind the tabs instead of a grey band.
    static bool NeedsSubclass(const ViewPeer& v) {
        return v.owner_draw || (v.control && v.control->GetKind() == Kind::TabStrip);
    }
    LRESULT HandleForm(FormPeer& fp, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleView(ViewPeer& v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Form messages.
    LRESULT OnSkinElementRequest(FormPeer& fp, HWND hwnd, WPARAM wp);
    LRESULT OnClose(FormPeer& fp);
    LRESULT OnSysCommand(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnTimer(FormPeer& fp, WPARAM id);
    LRESULT OnRunSkinElement(FormPeer& fp);
    LRESULT OnDpiChanged(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnActivate(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnFormEraseBackground(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnFormPaint(FormPeer& fp, HWND hwnd);
    LRESULT OnNcHitTest(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnFormMouse(FormPeer& fp, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnFormSetText(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnFormNcDestroy(FormPeer& fp, HWND hwnd, WPARAM wp, LPARAM lp);

    // Container messages: what its children report.
    LRESULT OnChildCommand(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnChildNotify(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnChildScroll(ViewPeer& v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnDrawItem(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnCtlColor(ViewPeer& v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnSyncRows(LPARAM lp);
    LRESULT OnSyncListView(LPARAM lp);
    // The host's own view window.
    void PaintView(ViewPeer& v, HDC dc);
    LRESULT OnViewPaint(ViewPeer& v, HWND hwnd);
    LRESULT OnPrintClient(ViewPeer& v, WPARAM wp);
    LRESULT OnViewEnable(HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnViewSetFont(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnViewSetText(HWND hwnd, WPARAM wp, LPARAM lp);
    LRESULT OnViewClickMessage(ViewPeer& v);
    LRESULT OnViewSize(ViewPeer& v, HWND hwnd, WPARAM wp, LPARAM lp);
};

}  // namespace orv::ui
