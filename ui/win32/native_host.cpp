#include "ui/native_host.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
// windows.h renames MessageBox to MessageBoxW; the host's member keeps its name.
#undef MessageBox

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>
#include <vector>

#include "paint.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/layout.h"
#include "ui/list_sync.h"
#include "ui/skin.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace orv::ui {

using namespace win32;

namespace {

constexpr wchar_t kFormClass[] = L"OrvelleForm";
constexpr wchar_t kViewClass[] = L"OrvelleView";
constexpr wchar_t kSplashClass[] = L"OrvelleSplash";
// The automation contract: a global atom of the name (and of the kind) on
// every window, readable from another process with GetPropW + GlobalGetAtomNameW.
constexpr wchar_t kNameProp[] = L"OrvelleName";
constexpr wchar_t kKindProp[] = L"OrvelleKind";
// Check boxes and option buttons also publish their value: skinned ones are
// owner-drawn and answer BM_GETCHECK with nothing.
constexpr wchar_t kValueProp[] = L"OrvelleValue";
// Top-level windows publish the DPI they are laid out with.
constexpr wchar_t kDpiProp[] = L"OrvelleDpi";
constexpr UINT kMsgRunSkinElement = WM_APP + 1;
constexpr UINT kFirstMenuElement = 0x1000;
constexpr UINT kMsgSyncListView = WM_APP + 2;
constexpr UINT kMsgSyncRows = WM_APP + 3;
constexpr UINT_PTR kHoverSubclass = 1;

std::wstring Wide(std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(std::max(0, n)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Utf8(std::wstring_view w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<std::size_t>(std::max(0, n)), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                            nullptr);
    }
    return s;
}

std::string WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring w(static_cast<std::size_t>(std::max(0, n)) + 1, L'\0');
    n = GetWindowTextW(hwnd, w.data(), n + 1);
    w.resize(static_cast<std::size_t>(std::max(0, n)));
    return Utf8(w);
}

// Functions that Windows 7 and Wine may lack, looked up once.
struct DpiApi {
    UINT(WINAPI* for_window)(HWND) = nullptr;
    UINT(WINAPI* for_system)() = nullptr;
    BOOL(WINAPI* set_context)(HANDLE) = nullptr;
    BOOL(WINAPI* set_aware)() = nullptr;
    DpiApi() {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        if (!user) return;
        for_window = reinterpret_cast<UINT(WINAPI*)(HWND)>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
        for_system = reinterpret_cast<UINT(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
        set_context = reinterpret_cast<BOOL(WINAPI*)(HANDLE)>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
        set_aware = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
    }
};

const DpiApi& Dpi() {
    static const DpiApi api;
    return api;
}

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int SystemDpi() {
    if (Dpi().for_system) {
        UINT d = Dpi().for_system();
        if (d) return static_cast<int>(d);
    }
    return ScreenDpi();
}

int WindowDpi(HWND hwnd) {
    if (hwnd && Dpi().for_window) {
        UINT d = Dpi().for_window(hwnd);
        if (d) return static_cast<int>(d);
    }
    return ScreenDpi();
}

// 32-bit top-down DIB section of a decoded image.
HBITMAP BitmapFromImage(const DecodedImage& image) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = image.width;
    bi.bmiHeader.biHeight = -image.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bmp || !bits) return bmp;
    std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
    return bmp;
}

bool ReadWholeFile(const std::wstring& path, std::string& out) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart >= 0 && size.QuadPart < (64 << 20);
    if (ok) {
        out.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = out.empty() ||
             (::ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &read, nullptr) &&
              read == out.size());
    }
    CloseHandle(f);
    return ok;
}

bool EndsWithNoCase(const std::wstring& s, const wchar_t* suffix) {
    std::size_t n = wcslen(suffix);
    return s.size() >= n && _wcsicmp(s.c_str() + s.size() - n, suffix) == 0;
}

bool IsContainer(const Control* c) {
    return c && c->GetKind() == Kind::Frame;
}

// Wine's X11 driver shows what a window region cuts away as black instead of
// what lies behind the window; under Wine skinned windows stay square.
bool RunningOnWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

}  // namespace

// ---------------------------------------------------------------------------
// Peers: what the host keeps per window.

struct FormPeer;

struct ViewPeer {
    NativeHost::Impl* host = nullptr;
    FormPeer* form = nullptr;
    Control* control = nullptr;  // nullptr for a form's body
    HWND hwnd = nullptr;
    ATOM name_atom = 0;
    ATOM kind_atom = 0;
    HFONT font = nullptr;  // owned by the form's font cache
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

struct NativeHost::Impl {
    NativeHost& host;
    NativeHostOptions options;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    std::map<Form*, std::unique_ptr<FormPeer>> forms;
    std::vector<std::unique_ptr<FormPeer>> graveyard;
    std::unordered_map<HWND, ViewPeer*> views;
    UINT skin_click_msg = RegisterWindowMessageW(L"OrvelleSkinElementClick");
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

    Impl(NativeHost& h, NativeHostOptions o) : host(h), options(std::move(o)) {
        for (auto& c : custom_colors) c = RGB(255, 255, 255);
    }

    // ---- helpers ------------------------------------------------------
    FormPeer* Peer(const Form& f) {
        auto it = forms.find(const_cast<Form*>(&f));
        return it == forms.end() || !it->second->alive ? nullptr : it->second.get();
    }
    ViewPeer* View(const Control& c) {
        FormPeer* fp = Peer(c.Owner());
        if (!fp) return nullptr;
        auto it = fp->views.find(const_cast<Control*>(&c));
        return it == fp->views.end() ? nullptr : it->second.get();
    }
    ViewPeer* ViewOf(HWND hwnd) {
        auto it = views.find(hwnd);
        return it == views.end() ? nullptr : it->second;
    }
    struct Updating {
        Impl& impl;
        explicit Updating(Impl& i) : impl(i) { ++impl.updating; }
        ~Updating() { --impl.updating; }
    };

    static SkinFont DefaultFont() {
        SkinFont f;
        f.faces = {"Tahoma", "MS Shell Dlg 2"};
        f.points = 8;
        return f;
    }

    HFONT Font(FormPeer& fp, SkinFont want) {
        if (want.faces.empty()) want.faces = DefaultFont().faces;
        if (want.points == 0) want.points = DefaultFont().points;
        std::string key;
        for (auto& f : want.faces) key += f + "|";
        key += std::to_string(want.points) + (want.bold ? "b" : "") + (want.italic ? "i" : "");
        auto it = fp.fonts.find(key);
        if (it != fp.fonts.end()) return it->second;
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(want.points, fp.dpi, 72);
        lf.lfWeight = want.bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = want.italic;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = CLEARTYPE_QUALITY;
        // The first face the system really has. A missing face is not an
        // error for CreateFont: it substitutes another (Wine maps "Segoe UI"
        // to whatever fontconfig offers), so the face actually selected is
        // compared with the one asked for.
        HFONT font = nullptr;
        HDC dc = GetDC(nullptr);
        for (std::size_t i = 0; i < want.faces.size(); ++i) {
            std::wstring face = Wide(want.faces[i]);
            wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
            HFONT candidate = CreateFontIndirectW(&lf);
            if (!candidate) continue;
            wchar_t got[LF_FACESIZE] = {};
            HGDIOBJ old = SelectObject(dc, candidate);
            GetTextFaceW(dc, LF_FACESIZE, got);
            SelectObject(dc, old);
            if (_wcsicmp(got, face.c_str()) == 0 || i + 1 == want.faces.size()) {
                font = candidate;
                break;
            }
            DeleteObject(candidate);
        }
        ReleaseDC(nullptr, dc);
        fp.fonts[key] = font;
        return font;
    }

    HFONT ControlFont(FormPeer& fp, const ViewPeer& v) {
        const SkinElement* e = v.Skin();
        return Font(fp, e ? e->GetFont("font", DefaultFont()) : DefaultFont());
    }

    int Px(const FormPeer& fp, int pixels96) const { return ScalePixels(pixels96, fp.dpi); }

    void SetAutomationName(HWND hwnd, const std::string& name, std::string_view kind,
                           ATOM& name_atom, ATOM* kind_atom) {
        name_atom = GlobalAddAtomW(Wide(name).c_str());
        if (name_atom) SetPropW(hwnd, kNameProp, reinterpret_cast<HANDLE>(UINT_PTR{name_atom}));
        if (kind_atom) {
            *kind_atom = GlobalAddAtomW(Wide(kind).c_str());
            if (*kind_atom)
                SetPropW(hwnd, kKindProp, reinterpret_cast<HANDLE>(UINT_PTR{*kind_atom}));
        }
    }

    static void ReleaseAutomationName(HWND hwnd, ATOM& name_atom, ATOM* kind_atom) {
        if (hwnd && IsWindow(hwnd)) {
            RemovePropW(hwnd, kNameProp);
            RemovePropW(hwnd, kKindProp);
            RemovePropW(hwnd, kValueProp);
            RemovePropW(hwnd, kDpiProp);
        }
        if (name_atom) GlobalDeleteAtom(name_atom);
        name_atom = 0;
        if (kind_atom && *kind_atom) {
            GlobalDeleteAtom(*kind_atom);
            *kind_atom = 0;
        }
    }

    // Whether a real user could have produced input on `hwnd`: the window and
    // everything it sits in enabled and visible. Messages another process
    // sends (BM_CLICK to a button of a window a modal form disabled) reach
    // disabled windows; they are refused here so automation sees what a user
    // would.
    static bool Reachable(HWND hwnd) {
        if (!IsWindowVisible(hwnd)) return false;
        HWND root = GetAncestor(hwnd, GA_ROOT);
        for (HWND h = hwnd; h; h = (h == root) ? nullptr : GetParent(h)) {
            if (!IsWindowEnabled(h)) return false;
        }
        return true;
    }

    // ---- forms ----------------------------------------------------------
    void RegisterClasses();
    FormPeer* CreatePeer(Form& form, Form* owner);
    void CreateViews(FormPeer& fp);
    void CreateView(FormPeer& fp, Control& c);
    HWND CreateNative(FormPeer& fp, ViewPeer& v, HWND parent);
    void RecreateView(FormPeer& fp, ViewPeer& v);
    void DestroyView(ViewPeer& v);
    void DestroyPeer(Form& form);
    void ApplyFrame(FormPeer& fp);
    void LayoutForm(FormPeer& fp, const RECT* suggested = nullptr);
    void LayoutView(FormPeer& fp, ViewPeer& v);
    void ApplyZOrder(FormPeer& fp);
    void ApplyFonts(FormPeer& fp);
    void LayoutCaptionBar(FormPeer& fp);
    void SyncMenuElements(FormPeer& fp);
    void RunModal(FormPeer& fp);
    std::vector<HWND> TabStops(FormPeer& fp);
    bool MoveFocus(FormPeer& fp, bool back);
    void Pump(MSG& msg);
    void DirtyBackgrounds(FormPeer& fp, ViewPeer* from);
    ViewPeer* ContainerOf(FormPeer& fp, HWND hwnd);
    void EnsureBackground(ViewPeer& v);
    void RenderBackground(ViewPeer& v, HDC dc, int w, int h);
    void FillParentBackground(HWND child, HDC dc, const RECT& rc);
    void StartTimer(FormPeer& fp, Control& timer);

    // ---- pushing model state to the windows ---------------------------------
    void Push(ViewPeer& v, Prop prop);
    void PushAll(ViewPeer& v);
    void LoadPicture(ViewPeer& v);
    void SyncListItems(ViewPeer& v);
    void SyncRows(ViewPeer& v);
    void LoadImageList(FormPeer& fp, ViewPeer& v);

    // ---- input ------------------------------------------------------------
    void OnCommand(ViewPeer& v, UINT code);
    void OnNotify(ViewPeer& v, NMHDR& nm);
    void OnScroll(ViewPeer& v, UINT code);
    void OnViewClick(ViewPeer& v);
    void SyncListView(ViewPeer& v);
    bool DrawItem(ViewPeer& v, DRAWITEMSTRUCT& di);

    // ---- painting -----------------------------------------------------------
    void PaintForm(FormPeer& fp, HDC dc);
    void PaintView(ViewPeer& v, HDC dc);
    void CaptionMouse(FormPeer& fp, UINT msg, int x, int y);
    void ActCaption(FormPeer& fp, int box);

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
    LRESULT HandleChildMessages(ViewPeer& container, UINT msg, WPARAM wp, LPARAM lp, bool& handled);
};

// ---------------------------------------------------------------------------

void NativeHost::Impl::RegisterClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpfnWndProc = FormProc;
    wc.lpszClassName = kFormClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    form_atom = RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.lpfnWndProc = ViewProc;
    wc.lpszClassName = kViewClass;
    wc.hbrBackground = nullptr;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = SplashProc;
    wc.lpszClassName = kSplashClass;
    wc.style = 0;
    RegisterClassExW(&wc);
}

FormPeer* NativeHost::Impl::CreatePeer(Form& form, Form* owner) {
    auto peer = std::make_unique<FormPeer>();
    FormPeer& fp = *peer;
    fp.form = &form;
    fp.body.host = this;
    fp.body.form = &fp;
    forms[&form] = std::move(peer);

    HWND owner_hwnd = nullptr;
    if (owner) {
        if (FormPeer* op = Peer(*owner)) owner_hwnd = op->hwnd;
    }
    fp.dpi = owner_hwnd ? WindowDpi(owner_hwnd) : SystemDpi();
    const int w = std::max(1, TwipsToPixels(form.Width(), fp.dpi));
    const int h = std::max(1, TwipsToPixels(form.Height(), fp.dpi));
    // Centred on the owner, or on the work area of the primary screen.
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner_hwnd) {
        GetWindowRect(owner_hwnd, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = std::max<int>(0, area.left + (area.right - area.left - w) / 2);
    int y = std::max<int>(0, area.top + (area.bottom - area.top - h) / 2);
    fp.hwnd =
        CreateWindowExW(0, kFormClass, Wide(form.Caption()).c_str(),
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                        x, y, w, h, owner_hwnd, nullptr, instance, &fp);
    if (!fp.hwnd) return &fp;  // the form still loads and works, without a window
    form.SetHandle(reinterpret_cast<std::uintptr_t>(fp.hwnd));
    SetAutomationName(fp.hwnd, form.Name(), "Form", fp.name_atom, nullptr);
    fp.dpi = WindowDpi(fp.hwnd);
    SetPropW(fp.hwnd, kDpiProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(fp.dpi)));

    fp.body.hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kViewClass, L"",
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                   1, 1, fp.hwnd, nullptr, instance, &fp.body);
    if (fp.body.hwnd) views[fp.body.hwnd] = &fp.body;
    ApplyFrame(fp);
    CreateViews(fp);
    return &fp;
}

void NativeHost::Impl::CreateViews(FormPeer& fp) {
    for (Control* c : fp.form->Controls()) CreateView(fp, *c);
    ApplyZOrder(fp);
    for (auto& [c, v] : fp.views) {
        if (v->hwnd) PushAll(*v);
    }
}

void NativeHost::Impl::CreateView(FormPeer& fp, Control& c) {
    if (fp.views.count(&c)) return;
    // A container is created before what it holds, whatever the declaration order.
    if (c.Container() && &c.Container()->Owner() == fp.form) CreateView(fp, *c.Container());
    auto view = std::make_unique<ViewPeer>();
    ViewPeer& v = *view;
    v.host = this;
    v.form = &fp;
    v.control = &c;
    fp.views[&c] = std::move(view);
    if (c.GetKind() == Kind::Timer) {
        StartTimer(fp, c);
        return;
    }
    if (!c.Windowed() || !fp.body.hwnd) return;
    HWND parent = fp.body.hwnd;
    if (c.Container()) {
        ViewPeer* cv = View(*c.Container());
        if (!cv || !cv->hwnd) return;  // its frame has no window: neither has it
        parent = cv->hwnd;
    }
    v.hwnd = CreateNative(fp, v, parent);
    if (!v.hwnd) return;
    views[v.hwnd] = &v;
    c.SetHandle(reinterpret_cast<std::uintptr_t>(v.hwnd));
    SetAutomationName(v.hwnd, c.AutomationName(), KindName(c.GetKind()), v.name_atom, &v.kind_atom);
    v.font = ControlFont(fp, v);
    SendMessageW(v.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(v.font), FALSE);
    if (NeedsSubclass(v)) {
        SetWindowSubclass(v.hwnd, HoverProc, kHoverSubclass, reinterpret_cast<DWORD_PTR>(&v));
    }
    LayoutView(fp, v);
}

HWND NativeHost::Impl::CreateNative(FormPeer&, ViewPeer& v, HWND parent) {
    Control& c = *v.control;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.Visible() ? WS_VISIBLE : 0) |
                  (c.Enabled() ? 0 : WS_DISABLED);
    DWORD ex = 0;
    const wchar_t* cls = kViewClass;
    std::wstring text;
    const bool skinned = v.Skin() != nullptr;
    v.owner_draw = false;
    switch (c.GetKind()) {
        case Kind::CommandButton:
            cls = L"BUTTON";
            text = Wide(c.Caption());
            style |= WS_TABSTOP | (skinned ? BS_OWNERDRAW : BS_PUSHBUTTON | BS_MULTILINE);
            v.owner_draw = skinned;
            break;
        case Kind::CheckBox:
            cls = L"BUTTON";
            text = Wide(c.Caption());
            // Not BS_AUTO3STATE: a click toggles 0 <-> 1 only; the host sets the state.
            style |= WS_TABSTOP | (skinned ? BS_OWNERDRAW : BS_3STATE | BS_MULTILINE);
            v.owner_draw = skinned;
            break;
        case Kind::OptionButton:
            cls = L"BUTTON";
            text = Wide(c.Caption());
            style |= WS_TABSTOP | (skinned ? BS_OWNERDRAW : BS_RADIOBUTTON | BS_MULTILINE);
            v.owner_draw = skinned;
            break;
        case Kind::Frame:
            ex |= WS_EX_CONTROLPARENT;
            style |= WS_CLIPCHILDREN;
            text = Wide(c.Caption());
            break;
        case Kind::Label:
        case Kind::StatusBar:
        case Kind::Histogram:
            text = Wide(c.Caption());
            break;
        case Kind::Picture:
            ex |= WS_EX_CLIENTEDGE;
            break;
        case Kind::Image:
            break;
        case Kind::TextBox:
            cls = L"EDIT";
            ex |= WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            break;
        case Kind::ComboBox:
            cls = L"COMBOBOX";
            style |=
                WS_TABSTOP | WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL |
                (static_cast<ComboBox&>(c).style == ComboBox::Style::DropDownList ? CBS_DROPDOWNLIST
                                                                                  : CBS_DROPDOWN);
            break;
        case Kind::DriveList:
            cls = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWNLIST;
            break;
        case Kind::ListBox:
        case Kind::FolderList:
            cls = L"LISTBOX";
            ex |= WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            break;
        case Kind::ListView:
            cls = WC_LISTVIEWW;
            ex |= WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
            break;
        case Kind::Slider:
            cls = TRACKBAR_CLASSW;
            style |= WS_TABSTOP | TBS_AUTOTICKS | (c.Height() > c.Width() ? TBS_VERT : TBS_HORZ);
            break;
        case Kind::ProgressBar:
            cls = PROGRESS_CLASSW;
            break;
        case Kind::UpDown:
            cls = UPDOWN_CLASSW;
            style |= UDS_ARROWKEYS | (c.Width() > c.Height() ? UDS_HORZ : 0);
            break;
        case Kind::TabStrip:
            cls = WC_TABCONTROLW;
            style |= WS_TABSTOP;
            break;
        case Kind::ImageCombo:
            cls = WC_COMBOBOXEXW;
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case Kind::Timer:
        case Kind::ImageList:
        case Kind::CommonDialog:
            return nullptr;
    }
    HWND hwnd = CreateWindowExW(ex, cls, text.c_str(), style, 0, 0, 1, 1, parent, nullptr, instance,
                                cls == kViewClass ? static_cast<void*>(&v) : nullptr);
    if (hwnd && c.GetKind() == Kind::ListView) {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    }
    return hwnd;
}

void NativeHost::Impl::RecreateView(FormPeer& fp, ViewPeer& v) {
    if (!v.hwnd) return;
    HWND old = v.hwnd;
    HWND parent = GetParent(old);
    views.erase(old);
    ReleaseAutomationName(old, v.name_atom, &v.kind_atom);
    RemoveWindowSubclass(old, HoverProc, kHoverSubclass);
    v.hwnd = CreateNative(fp, v, parent);
    if (v.hwnd) {
        views[v.hwnd] = &v;
        SetWindowPos(v.hwnd, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetAutomationName(v.hwnd, v.control->AutomationName(), KindName(v.control->GetKind()),
                          v.name_atom, &v.kind_atom);
        v.font = ControlFont(fp, v);
        SendMessageW(v.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(v.font), FALSE);
        if (NeedsSubclass(v)) {
            SetWindowSubclass(v.hwnd, HoverProc, kHoverSubclass, reinterpret_cast<DWORD_PTR>(&v));
        }
        LayoutView(fp, v);
        PushAll(v);
    }
    v.control->SetHandle(reinterpret_cast<std::uintptr_t>(v.hwnd));
    DestroyWindow(old);
}

void NativeHost::Impl::DestroyView(ViewPeer& v) {
    if (v.hwnd) {
        ReleaseAutomationName(v.hwnd, v.name_atom, &v.kind_atom);
        RemoveWindowSubclass(v.hwnd, HoverProc, kHoverSubclass);
        views.erase(v.hwnd);
    }
    if (v.bg_brush) DeleteObject(v.bg_brush);
    if (v.bg) DeleteObject(v.bg);
    if (v.picture) DeleteObject(v.picture);
    if (v.icon) DestroyIcon(v.icon);
    if (v.images) ImageList_Destroy(v.images);
    v.bg_brush = nullptr, v.bg = nullptr, v.picture = nullptr, v.icon = nullptr, v.images = nullptr;
    if (v.control) v.control->SetHandle(0);
}

void NativeHost::Impl::DestroyPeer(Form& form) {
    auto it = forms.find(&form);
    if (it == forms.end() || !it->second->alive) return;
    FormPeer& fp = *it->second;
    fp.alive = false;
    for (auto& [id, timer] : fp.timers) {
        if (fp.hwnd) KillTimer(fp.hwnd, id);
    }
    fp.timers.clear();
    // The owner is enabled before the window goes, so that Windows hands the
    // activation back to it and not to some other program.
    for (HWND h : fp.disabled) {
        if (IsWindow(h)) EnableWindow(h, TRUE);
    }
    fp.disabled.clear();
    for (auto& [c, v] : fp.views) DestroyView(*v);
    DestroyView(fp.body);
    if (fp.hwnd) {
        ReleaseAutomationName(fp.hwnd, fp.name_atom, nullptr);
        HWND hwnd = fp.hwnd;
        fp.hwnd = nullptr;
        DestroyWindow(hwnd);
    }
    for (auto& [key, font] : fp.fonts) DeleteObject(font);
    fp.fonts.clear();
    form.SetHandle(0);
    graveyard.push_back(std::move(it->second));
    forms.erase(it);
    if (forms.empty()) PostQuitMessage(0);
}

void NativeHost::Impl::ApplyFrame(FormPeer& fp) {
    const Form& form = *fp.form;
    fp.skin_set = form.Skin();
    fp.skin = fp.skin_set ? fp.skin_set->Find(form.SkinElement()) : nullptr;
    fp.skinned = fp.skin != nullptr;
    if (!fp.hwnd) return;
    LONG_PTR style = GetWindowLongPtrW(fp.hwnd, GWL_STYLE);
    LONG_PTR ex = GetWindowLongPtrW(fp.hwnd, GWL_EXSTYLE);
    const LONG_PTR visible = style & WS_VISIBLE;
    const bool owned = GetWindow(fp.hwnd, GW_OWNER) != nullptr;
    const LONG_PTR minimize = owned ? 0 : WS_MINIMIZEBOX;
    if (fp.skinned) {
        // The skinned window draws its own caption bar and border in its client
        // area: a popup with the system menu and minimise box, so the taskbar,
        // Alt+F4 and Alt+Space still behave as with a standard caption.
        style = WS_POPUP | WS_SYSMENU | minimize | WS_CLIPCHILDREN | visible;
        if (!owned) ex |= WS_EX_APPWINDOW;
    } else {
        style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | minimize | WS_CLIPCHILDREN | visible;
    }
    SyncMenuElements(fp);
    SetWindowLongPtrW(fp.hwnd, GWL_STYLE, style);
    SetWindowLongPtrW(fp.hwnd, GWL_EXSTYLE, ex);
    SetWindowPos(fp.hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    LayoutForm(fp);
    DirtyBackgrounds(fp, nullptr);
}

void NativeHost::Impl::SyncMenuElements(FormPeer& fp) {
    GetSystemMenu(fp.hwnd, TRUE);  // back to the standard menu
    fp.menu_elements.clear();
    if (fp.skinned || fp.form->menu_elements.empty()) return;
    HMENU menu = GetSystemMenu(fp.hwnd, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    // System command ids are below 0xF000 and keep their low four bits clear.
    UINT id = kFirstMenuElement;
    for (const auto& [text, element] : fp.form->menu_elements) {
        AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
        fp.menu_elements.emplace_back(id, element);
        id += 0x10;
    }
}

void NativeHost::Impl::LayoutCaptionBar(FormPeer& fp) {
    fp.boxes.clear();
    fp.spots.clear();
    if (!fp.skinned || !fp.hwnd) {
        fp.caption_h = fp.border = 0;
        return;
    }
    const SkinElement& e = *fp.skin;
    fp.caption_h = Px(fp, e.GetMetric("caption.height", 28));
    fp.border = Px(fp, e.GetMetric("border.width", 1));
    if (e.GetMetric("border.width", 1) > 0) fp.border = std::max(1, fp.border);
    fp.spots = e.HotSpots();
    RECT rc;
    GetWindowRect(fp.hwnd, &rc);
    CaptionMetrics m;
    m.window_width = rc.right - rc.left;
    m.caption_height = fp.caption_h;
    m.border = fp.border;
    m.button_width = Px(fp, e.GetMetric("control.width", 26));
    m.gap = Px(fp, 3);
    m.min_title = Px(fp, 60);
    // Minimising an owned window would hide it and leave its disabled owner
    // with nothing to click; owned windows only close.
    m.minimize = GetWindow(fp.hwnd, GW_OWNER) == nullptr;
    HDC dc = GetDC(fp.hwnd);
    HGDIOBJ old = SelectObject(dc, Font(fp, e.GetFont("spot.font", DefaultFont())));
    for (const auto& s : fp.spots) {
        std::wstring t = Wide(s.text);
        SIZE size{};
        GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
        m.hot_spot_widths.push_back(size.cx + Px(fp, 18));
    }
    SelectObject(dc, old);
    ReleaseDC(fp.hwnd, dc);
    fp.boxes = LayoutCaption(m);
}

void NativeHost::Impl::LayoutForm(FormPeer& fp, const RECT* suggested) {
    if (!fp.hwnd) return;
    const int w = std::max(1, TwipsToPixels(fp.form->Width(), fp.dpi));
    const int h = std::max(1, TwipsToPixels(fp.form->Height(), fp.dpi));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0, y = 0;
    if (suggested) {
        x = suggested->left, y = suggested->top;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(fp.hwnd, nullptr, x, y, w, h, flags);
    LayoutCaptionBar(fp);
    if (fp.skinned) {
        const int r = Px(fp, fp.skin->GetMetric("corner.radius", 0));
        if (r > 0 && !RunningOnWine()) {
            // Rounded at the top only, as a caption bar is.
            HRGN rgn = CreateRoundRectRgn(0, 0, w + 1, h + 1, r * 2, r * 2);
            HRGN low = CreateRectRgn(0, h / 2, w, h);
            CombineRgn(rgn, rgn, low, RGN_OR);
            DeleteObject(low);
            SetWindowRgn(fp.hwnd, rgn, TRUE);  // the window owns the region now
        } else {
            SetWindowRgn(fp.hwnd, nullptr, TRUE);
        }
    } else {
        SetWindowRgn(fp.hwnd, nullptr, TRUE);
    }
    if (fp.body.hwnd) {
        RECT client;
        GetClientRect(fp.hwnd, &client);
        if (fp.skinned) {
            client.left += fp.border;
            client.right -= fp.border;
            client.top += fp.caption_h;
            client.bottom -= fp.border;
        }
        SetWindowPos(fp.body.hwnd, nullptr, client.left, client.top,
                     std::max(0L, client.right - client.left),
                     std::max(0L, client.bottom - client.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(fp.hwnd, nullptr, TRUE);
}

void NativeHost::Impl::LayoutView(FormPeer& fp, ViewPeer& v) {
    if (!v.hwnd) return;
    Control& c = *v.control;
    PixelRect r = TwipsRectToPixels(c.Left(), c.Top(), c.Width(), c.Height(), fp.dpi);
    int height = r.height;
    // A combo's window height includes its drop-down list; the design height
    // is that of the closed box, which Windows sets from the font.
    if (c.GetKind() == Kind::ComboBox || c.GetKind() == Kind::DriveList ||
        c.GetKind() == Kind::ImageCombo) {
        height = std::max(height, Px(fp, 24)) + Px(fp, 200);
    }
    SetWindowPos(v.hwnd, nullptr, r.left, r.top, r.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.GetKind() == Kind::ListView) {
        Push(v, Prop::Items);
    }
}

void NativeHost::Impl::ApplyZOrder(FormPeer& fp) {
    std::vector<ViewPeer*> order;
    for (auto& [c, v] : fp.views) {
        if (v->hwnd) order.push_back(v.get());
    }
    std::sort(order.begin(), order.end(), [](ViewPeer* a, ViewPeer* b) {
        return a->control->ZSerial() < b->control->ZSerial();
    });
    // Each goes to the top in turn: the highest serial ends in front.
    for (ViewPeer* v : order) {
        SetWindowPos(v->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void NativeHost::Impl::ApplyFonts(FormPeer& fp) {
    std::map<std::string, HFONT> old;
    old.swap(fp.fonts);
    for (auto& [c, v] : fp.views) {
        if (!v->hwnd) continue;
        v->font = ControlFont(fp, *v);
        SendMessageW(v->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(v->font), TRUE);
    }
    for (auto& [key, font] : old) DeleteObject(font);
}

void NativeHost::Impl::StartTimer(FormPeer& fp, Control& c) {
    auto& timer = static_cast<Timer&>(c);
    ViewPeer* v = fp.views.count(&c) ? fp.views[&c].get() : nullptr;
    if (!v || !fp.hwnd) return;
    if (v->timer_id) {
        KillTimer(fp.hwnd, v->timer_id);
        fp.timers.erase(v->timer_id);
        v->timer_id = 0;
    }
    // An interval of 0 stops the timer, as a disabled one.
    if (!timer.Enabled() || timer.Interval() <= 0) return;
    v->timer_id = next_timer++;
    if (SetTimer(fp.hwnd, v->timer_id, static_cast<UINT>(timer.Interval()), nullptr)) {
        fp.timers[v->timer_id] = &c;
    } else {
        v->timer_id = 0;
    }
}

void NativeHost::Impl::DirtyBackgrounds(FormPeer& fp, ViewPeer* from) {
    auto inside = [&](Control* c) {
        if (!from) return true;
        for (Control* p = c; p; p = p->Container()) {
            if (p == from->control) return true;
        }
        return false;
    };
    if (!from) fp.body.bg_dirty = true;
    for (auto& [c, v] : fp.views) {
        if (IsContainer(c) && inside(c)) v->bg_dirty = true;
    }
    HWND target = from ? from->hwnd : fp.body.hwnd;
    if (target)
        RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (!from && fp.hwnd) InvalidateRect(fp.hwnd, nullptr, FALSE);
}

ViewPeer* NativeHost::Impl::ContainerOf(FormPeer& fp, HWND hwnd) {
    ViewPeer* v = ViewOf(hwnd);
    if (v && v->form == &fp && (v == &fp.body || IsContainer(v->control))) return v;
    return nullptr;
}

void NativeHost::Impl::RenderBackground(ViewPeer& v, HDC dc, int w, int h) {
    FormPeer& fp = *v.form;
    RECT all{0, 0, w, h};
    if (&v == &fp.body) {
        if (fp.skinned) {
            Fill fill = fp.skin->GetFill("body.fill", *ParseFill("#F0F0F0"));
            PaintFill(dc, all, fill);
        } else {
            FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        }
        return;
    }
    // A frame shows its container's background around and through itself.
    HWND parent = GetParent(v.hwnd);
    ViewPeer* pv = ViewOf(parent);
    if (pv && (pv == &fp.body || IsContainer(pv->control))) {
        EnsureBackground(*pv);
        RECT me;
        GetWindowRect(v.hwnd, &me);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&me), 2);
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, pv->bg);
        BitBlt(dc, 0, 0, w, h, src, me.left, me.top, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
    } else {
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    const Control& c = *v.control;
    std::wstring caption = Wide(c.Caption());
    HGDIOBJ old_font = nullptr;
    const SkinElement* e = v.Skin();
    if (e) {
        const int r = Px(fp, e->GetMetric("corner.radius", 0));
        PaintRoundRect(dc, {0, 0, w - 1, h - 1}, r, e->GetFill("fill"),
                       Ref(e->GetColor("border.color", {0xB8, 0xC9, 0xDD})),
                       e->Value("border.color").has_value());
        if (!caption.empty()) {
            old_font = SelectObject(dc, Font(fp, e->GetFont("caption.font", DefaultFont())));
            COLORREF color = c.Enabled() ? Ref(e->GetColor("caption.color", {0x20, 0x40, 0x70}))
                                         : GetSysColor(COLOR_GRAYTEXT);
            RECT text{Px(fp, 8), Px(fp, 2), w - Px(fp, 8), Px(fp, 20)};
            PaintText(dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS, color);
        }
    } else {
        old_font = SelectObject(dc, v.font ? v.font : Font(fp, DefaultFont()));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        RECT edge{0, caption.empty() ? 0 : tm.tmHeight / 2, w, h};
        PaintEtchedFrame(dc, edge);
        if (!caption.empty()) {
            RECT text{Px(fp, 6), 0, w - Px(fp, 6), tm.tmHeight};
            RECT measure = text;
            DrawTextW(dc, caption.c_str(), -1, &measure, DT_SINGLELINE | DT_CALCRECT);
            measure.left -= Px(fp, 2);
            measure.right = std::min(measure.right + Px(fp, 2), text.right);
            // The caption interrupts the line: paint the container's background under it.
            HBRUSH under = pv ? pv->bg_brush : nullptr;
            if (under) {
                POINT org{};
                RECT me;
                GetWindowRect(v.hwnd, &me);
                MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&me), 2);
                SetBrushOrgEx(dc, -me.left, -me.top, &org);
                FillRect(dc, &measure, under);
                SetBrushOrgEx(dc, org.x, org.y, nullptr);
            } else {
                FillRect(dc, &measure, GetSysColorBrush(COLOR_BTNFACE));
            }
            PaintText(dc, caption, text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS,
                      GetSysColor(c.Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        }
    }
    if (old_font) SelectObject(dc, old_font);
}

void NativeHost::Impl::EnsureBackground(ViewPeer& v) {
    if (!v.hwnd) return;
    RECT rc;
    GetClientRect(v.hwnd, &rc);
    const int w = std::max(1L, rc.right), h = std::max(1L, rc.bottom);
    if (v.bg && !v.bg_dirty && v.bg_w == w && v.bg_h == h) return;
    if (v.bg_brush) DeleteObject(v.bg_brush);
    if (v.bg) DeleteObject(v.bg);
    HDC screen = GetDC(v.hwnd);
    v.bg = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, v.bg);
    RenderBackground(v, dc, w, h);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(v.hwnd, screen);
    // A pattern brush of the whole background: children that ask their parent
    // for a brush (WM_CTLCOLOR*) get it with the origin moved to their own
    // position, so they blend into gradients.
    v.bg_brush = CreatePatternBrush(v.bg);
    v.bg_w = w, v.bg_h = h;
    v.bg_dirty = false;
}

void NativeHost::Impl::FillParentBackground(HWND child, HDC dc, const RECT& rc) {
    HWND parent = GetParent(child);
    ViewPeer* pv = ViewOf(parent);
    if (!pv || !(pv == &pv->form->body || IsContainer(pv->control))) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    EnsureBackground(*pv);
    RECT me;
    GetWindowRect(child, &me);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&me), 2);
    POINT org{};
    SetBrushOrgEx(dc, -me.left, -me.top, &org);
    FillRect(dc, &rc, pv->bg_brush ? pv->bg_brush : GetSysColorBrush(COLOR_BTNFACE));
    SetBrushOrgEx(dc, org.x, org.y, nullptr);
}

// ---------------------------------------------------------------------------
// Model -> window

void NativeHost::Impl::PushAll(ViewPeer& v) {
    for (Prop p :
         {Prop::Caption, Prop::Items, Prop::Value, Prop::Text, Prop::Selection, Prop::Picture}) {
        Push(v, p);
    }
}

void NativeHost::Impl::Push(ViewPeer& v, Prop prop) {
    Control& c = *v.control;
    FormPeer& fp = *v.form;
    if (c.GetKind() == Kind::Timer) {
        if (prop == Prop::Enabled || prop == Prop::Interval) StartTimer(fp, c);
        return;
    }
    HWND h = v.hwnd;
    if (!h) return;
    Updating guard(*this);
    const Kind kind = c.GetKind();
    switch (prop) {
        case Prop::Caption:
            if (c.HasCaption() || kind == Kind::StatusBar || kind == Kind::Histogram) {
                SetWindowTextW(h, Wide(c.Caption()).c_str());
            }
            if (kind == Kind::Frame) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Visible:
            ShowWindow(h, c.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case Prop::Enabled:
            EnableWindow(h, c.Enabled());
            if (kind == Kind::Frame) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Geometry:
            LayoutView(fp, v);
            if (kind == Kind::Frame) DirtyBackgrounds(fp, &v);
            break;
        case Prop::ZOrder:
            SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case Prop::Skin:
            if (kind == Kind::CommandButton || kind == Kind::CheckBox ||
                kind == Kind::OptionButton) {
                if ((v.Skin() != nullptr) != v.owner_draw) {
                    RecreateView(fp, v);
                    return;
                }
            }
            v.font = ControlFont(fp, v);
            SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(v.font), TRUE);
            if (kind == Kind::Frame) DirtyBackgrounds(fp, &v);
            InvalidateRect(h, nullptr, TRUE);
            break;
        case Prop::Value:
            switch (kind) {
                case Kind::CheckBox: {
                    int value = static_cast<CheckBox&>(c).Value();
                    SetPropW(h, kValueProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(value)));
                    if (v.owner_draw) {
                        InvalidateRect(h, nullptr, FALSE);
                    } else {
                        SendMessageW(h, BM_SETCHECK,
                                     value == 1   ? BST_CHECKED
                                     : value == 2 ? BST_INDETERMINATE
                                                  : BST_UNCHECKED,
                                     0);
                    }
                    break;
                }
                case Kind::OptionButton:
                    SetPropW(h, kValueProp,
                             reinterpret_cast<HANDLE>(
                                 static_cast<UINT_PTR>(static_cast<OptionButton&>(c).Value())));
                    if (v.owner_draw) {
                        InvalidateRect(h, nullptr, FALSE);
                    } else {
                        SendMessageW(
                            h, BM_SETCHECK,
                            static_cast<OptionButton&>(c).Value() ? BST_CHECKED : BST_UNCHECKED, 0);
                    }
                    break;
                case Kind::Slider: {
                    auto& r = static_cast<RangeControl&>(c);
                    SendMessageW(h, TBM_SETRANGEMIN, FALSE, r.Min());
                    SendMessageW(h, TBM_SETRANGEMAX, FALSE, r.Max());
                    SendMessageW(h, TBM_SETTICFREQ, std::max(1, (r.Max() - r.Min()) / 10), 0);
                    SendMessageW(h, TBM_SETPOS, TRUE, r.Value());
                    break;
                }
                case Kind::ProgressBar: {
                    auto& r = static_cast<RangeControl&>(c);
                    SendMessageW(h, PBM_SETRANGE32, static_cast<WPARAM>(r.Min()), r.Max());
                    SendMessageW(h, PBM_SETPOS, static_cast<WPARAM>(r.Value()), 0);
                    break;
                }
                case Kind::UpDown: {
                    auto& r = static_cast<RangeControl&>(c);
                    SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(r.Min()), r.Max());
                    SendMessageW(h, UDM_SETPOS32, 0, r.Value());
                    break;
                }
                default:
                    break;
            }
            break;
        case Prop::Text:
            if (kind == Kind::TextBox || kind == Kind::ComboBox) {
                const std::string& want = kind == Kind::TextBox ? static_cast<TextBox&>(c).Text()
                                                                : static_cast<ComboBox&>(c).Text();
                if (kind == Kind::ComboBox &&
                    static_cast<ComboBox&>(c).style == ComboBox::Style::DropDownList)
                    break;
                if (WindowText(h) != want) SetWindowTextW(h, Wide(want).c_str());
            }
            break;
        case Prop::Items:
            switch (kind) {
                case Kind::ComboBox:
                case Kind::DriveList:
                case Kind::ListBox:
                case Kind::FolderList:
                    SyncListItems(v);
                    Push(v, Prop::Selection);
                    if (kind == Kind::ComboBox) Push(v, Prop::Text);
                    break;
                case Kind::ListView:
                    // A handler usually clears and refills the list: the rows
                    // follow once it is done, in one pass.
                    if (!v.rows_pending && v.form->body.hwnd) {
                        v.rows_pending = true;
                        PostMessageW(v.form->body.hwnd, kMsgSyncRows, 0,
                                     reinterpret_cast<LPARAM>(v.hwnd));
                    }
                    break;
                case Kind::TabStrip: {
                    auto& tabs = static_cast<TabStrip&>(c);
                    SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
                    int i = 0;
                    for (const auto& t : tabs.Tabs()) {
                        std::wstring w = Wide(t);
                        TCITEMW ti{};
                        ti.mask = TCIF_TEXT;
                        ti.pszText = w.data();
                        SendMessageW(h, TCM_INSERTITEMW, i++, reinterpret_cast<LPARAM>(&ti));
                    }
                    Push(v, Prop::Selection);
                    break;
                }
                case Kind::ImageCombo: {
                    auto& combo = static_cast<ImageCombo&>(c);
                    LoadImageList(fp, v);
                    SendMessageW(h, CB_RESETCONTENT, 0, 0);
                    int i = 0;
                    for (const auto& item : combo.ComboItems()) {
                        std::wstring w = Wide(item.text);
                        COMBOBOXEXITEMW ci{};
                        ci.mask = CBEIF_TEXT | (v.images ? CBEIF_IMAGE | CBEIF_SELECTEDIMAGE : 0);
                        ci.iItem = i++;
                        ci.pszText = w.data();
                        ci.iImage = item.image - 1;
                        ci.iSelectedImage =
                            (item.selected_image ? item.selected_image : item.image) - 1;
                        SendMessageW(h, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ci));
                    }
                    Push(v, Prop::Selection);
                    break;
                }
                default:
                    break;
            }
            break;
        case Prop::Selection:
            switch (kind) {
                case Kind::ComboBox:
                case Kind::DriveList:
                    SendMessageW(h, CB_SETCURSEL,
                                 static_cast<WPARAM>(static_cast<ListControl&>(c).ListIndex()), 0);
                    break;
                case Kind::ListBox:
                case Kind::FolderList:
                    SendMessageW(h, LB_SETCURSEL,
                                 static_cast<WPARAM>(static_cast<ListControl&>(c).ListIndex()), 0);
                    break;
                case Kind::ImageCombo:
                    SendMessageW(h, CB_SETCURSEL,
                                 static_cast<WPARAM>(static_cast<ImageCombo&>(c).SelectedIndex()),
                                 0);
                    break;
                case Kind::TabStrip:
                    SendMessageW(h, TCM_SETCURSEL,
                                 static_cast<WPARAM>(static_cast<TabStrip&>(c).SelectedTab() - 1),
                                 0);
                    break;
                case Kind::ListView: {
                    if (v.rows_pending) break;  // the row sync selects afterwards
                    int sel = static_cast<ListView&>(c).SelectedIndex();
                    LVITEMW li{};
                    li.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                    li.state = 0;
                    SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(&li));
                    if (sel >= 0) {
                        li.state = LVIS_SELECTED | LVIS_FOCUSED;
                        SendMessageW(h, LVM_SETITEMSTATE, static_cast<WPARAM>(sel),
                                     reinterpret_cast<LPARAM>(&li));
                        SendMessageW(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(sel), FALSE);
                    }
                    break;
                }
                default:
                    break;
            }
            break;
        case Prop::Picture:
            if (kind == Kind::Picture || kind == Kind::Image) {
                LoadPicture(v);
                InvalidateRect(h, nullptr, TRUE);
            }
            break;
        case Prop::Interval:
            break;
    }
}

void NativeHost::Impl::SyncListItems(ViewPeer& v) {
    const auto& items = static_cast<ListControl&>(*v.control).Items();
    const Kind kind = v.control->GetKind();
    const bool combo = kind == Kind::ComboBox || kind == Kind::DriveList;
    HWND h = v.hwnd;
    auto& shown = v.shown_items;
    if (items.empty()) {
        SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
        shown.clear();
        return;
    }
    const std::size_t same = KeptPrefix(shown, items);
    for (std::size_t i = shown.size(); i-- > same;) {
        SendMessageW(h, combo ? CB_DELETESTRING : LB_DELETESTRING, i, 0);
    }
    for (std::size_t i = same; i < items.size(); ++i) {
        std::wstring w = Wide(items[i]);
        SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(w.c_str()));
    }
    shown = items;
}

void NativeHost::Impl::SyncRows(ViewPeer& v) {
    v.rows_pending = false;
    auto& lv = static_cast<ListView&>(*v.control);
    HWND h = v.hwnd;
    const int dpi = v.form->dpi;
    Updating guard(*this);
    const auto& columns = lv.Columns();
    bool same_columns = columns.size() == v.shown_columns.size();
    for (std::size_t i = 0; same_columns && i < columns.size(); ++i) {
        same_columns = columns[i].text == v.shown_columns[i].text;
    }
    if (!same_columns) {
        SendMessageW(h, LVM_DELETEALLITEMS, 0, 0);
        while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
        }
        v.shown_rows.clear();
        int col = 0;
        for (const auto& column : columns) {
            std::wstring w = Wide(column.text);
            LVCOLUMNW lc{};
            lc.mask = LVCF_TEXT | LVCF_WIDTH;
            lc.pszText = w.data();
            lc.cx = TwipsToPixels(column.width, dpi);
            SendMessageW(h, LVM_INSERTCOLUMNW, col++, reinterpret_cast<LPARAM>(&lc));
        }
    } else if (v.shown_columns_dpi != dpi) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            SendMessageW(h, LVM_SETCOLUMNWIDTH, i, TwipsToPixels(columns[i].width, dpi));
        }
    } else {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].width != v.shown_columns[i].width) {
                SendMessageW(h, LVM_SETCOLUMNWIDTH, i, TwipsToPixels(columns[i].width, dpi));
            }
        }
    }
    v.shown_columns = columns;
    v.shown_columns_dpi = dpi;

    Rows rows;
    rows.reserve(lv.ListItems().size());
    for (const auto& item : lv.ListItems()) {
        std::vector<std::string> cells{item.text};
        cells.insert(cells.end(), item.sub_items.begin(), item.sub_items.end());
        rows.push_back(std::move(cells));
    }
    auto& shown = v.shown_rows;
    auto set_text = [&](int row, int column, const std::string& text) {
        std::wstring w = Wide(text);
        LVITEMW li{};
        li.iSubItem = column;
        li.pszText = w.data();
        SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&li));
    };
    const RowPlan plan = PlanRows(shown, rows);
    for (const auto& cell : plan.set_text) {
        const auto& want = rows[static_cast<std::size_t>(cell.row)];
        const auto col = static_cast<std::size_t>(cell.column);
        set_text(cell.row, cell.column, col < want.size() ? want[col] : std::string());
    }
    for (int r = static_cast<int>(shown.size()); r-- > plan.delete_from;) {
        SendMessageW(h, LVM_DELETEITEM, static_cast<WPARAM>(r), 0);
    }
    for (std::size_t r = static_cast<std::size_t>(plan.insert_from); r < rows.size(); ++r) {
        std::wstring w = Wide(rows[r][0]);
        LVITEMW li{};
        li.mask = LVIF_TEXT;
        li.iItem = static_cast<int>(r);
        li.pszText = w.data();
        SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&li));
        for (std::size_t c = 1; c < rows[r].size(); ++c) {
            set_text(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
        }
    }
    shown = rows;
    Push(v, Prop::Selection);
}

void NativeHost::Impl::LoadPicture(ViewPeer& v) {
    if (v.picture) DeleteObject(v.picture);
    if (v.icon) DestroyIcon(v.icon);
    v.picture = nullptr, v.icon = nullptr, v.pic_w = v.pic_h = 0;
    const std::wstring source = Wide(static_cast<Picture&>(*v.control).Source());
    if (source.empty()) return;
    if (EndsWithNoCase(source, L".ico")) {
        v.icon = static_cast<HICON>(LoadImageW(nullptr, source.c_str(), IMAGE_ICON, 0, 0,
                                               LR_LOADFROMFILE | LR_DEFAULTSIZE));
        if (v.icon) v.pic_w = v.pic_h = GetSystemMetrics(SM_CXICON);
        return;
    }
    std::string bytes;
    if (ReadWholeFile(source, bytes)) {
        if (auto image = DecodeBmp(bytes)) {
            v.picture = BitmapFromImage(*image);
            v.pic_w = image->width, v.pic_h = image->height;
            return;
        }
    }
    // Not a readable file: a bitmap resource of the program by that name.
    v.picture = static_cast<HBITMAP>(
        LoadImageW(instance, source.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (v.picture) {
        BITMAP bm{};
        GetObjectW(v.picture, sizeof bm, &bm);
        v.pic_w = bm.bmWidth, v.pic_h = bm.bmHeight;
    }
}

void NativeHost::Impl::LoadImageList(FormPeer& fp, ViewPeer& v) {
    auto& combo = static_cast<ImageCombo&>(*v.control);
    if (v.images) {
        SendMessageW(v.hwnd, CBEM_SETIMAGELIST, 0, 0);
        ImageList_Destroy(v.images);
        v.images = nullptr;
    }
    if (!combo.image_list || combo.image_list->images.empty()) return;
    const int size = Px(fp, 16);
    v.images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (!v.images) return;
    for (const auto& name : combo.image_list->images) {
        std::wstring w = Wide(name);
        HICON icon = static_cast<HICON>(
            LoadImageW(nullptr, w.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
        if (!icon) {
            icon = static_cast<HICON>(LoadImageW(instance, w.c_str(), IMAGE_ICON, size, size, 0));
        }
        // Keep the numbering of the list even when one picture is missing.
        if (icon) {
            ImageList_AddIcon(v.images, icon);
            DestroyIcon(icon);
        } else {
            HBITMAP blank = CreateBitmap(size, size, 1, 32, nullptr);
            ImageList_Add(v.images, blank, nullptr);
            DeleteObject(blank);
        }
    }
    SendMessageW(v.hwnd, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(v.images));
}

// ---------------------------------------------------------------------------
// Window -> model

void NativeHost::Impl::OnCommand(ViewPeer& v, UINT code) {
    if (updating) return;
    Control& c = *v.control;
    const Kind kind = c.GetKind();
    if (!Reachable(v.hwnd)) {
        // Input a user could not have given: put the window back as the model has it.
        PushAll(v);
        return;
    }
    host.Run([&] {
        switch (kind) {
            case Kind::CommandButton:
                // Owner-drawn buttons report a fast second click as a double click.
                if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && c.onClick) {
                    c.Owner().Fire(c.onClick);
                }
                break;
            case Kind::CheckBox:
                if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
                    auto& box = static_cast<CheckBox&>(c);
                    box.SetValue(box.Value() == 1 ? 0 : 1);
                }
                break;
            case Kind::OptionButton:
                if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
                    auto& option = static_cast<OptionButton&>(c);
                    if (option.Value()) {
                        if (option.onClick) option.Owner().Fire(option.onClick);
                    } else {
                        option.SetValue(true);
                    }
                }
                break;
            case Kind::TextBox:
                if (code == EN_CHANGE) static_cast<TextBox&>(c).SetText(WindowText(v.hwnd));
                break;
            case Kind::ComboBox:
            case Kind::DriveList:
                if (code == CBN_SELCHANGE) {
                    auto index = static_cast<int>(SendMessageW(v.hwnd, CB_GETCURSEL, 0, 0));
                    auto& list = static_cast<ListControl&>(c);
                    list.SetListIndex(index);
                } else if (code == CBN_EDITCHANGE && kind == Kind::ComboBox) {
                    static_cast<ComboBox&>(c).SetText(WindowText(v.hwnd));
                }
                break;
            case Kind::ListBox:
            case Kind::FolderList:
                if (code == LBN_SELCHANGE) {
                    auto index = static_cast<int>(SendMessageW(v.hwnd, LB_GETCURSEL, 0, 0));
                    static_cast<ListControl&>(c).SetListIndex(index);
                }
                break;
            case Kind::ImageCombo:
                if (code == CBN_SELCHANGE) {
                    auto index = static_cast<int>(SendMessageW(v.hwnd, CB_GETCURSEL, 0, 0));
                    static_cast<ImageCombo&>(c).Select(index);
                }
                break;
            default:
                break;
        }
    });
}

void NativeHost::Impl::OnNotify(ViewPeer& v, NMHDR& nm) {
    if (updating) return;
    Control& c = *v.control;
    if (c.GetKind() == Kind::TabStrip && nm.code == TCN_SELCHANGE) {
        if (!Reachable(v.hwnd)) {
            Push(v, Prop::Selection);
            return;
        }
        host.Run([&] {
            auto sel = static_cast<int>(SendMessageW(v.hwnd, TCM_GETCURSEL, 0, 0));
            static_cast<TabStrip&>(c).SelectTab(sel + 1);
        });
    } else if (c.GetKind() == Kind::ListView && nm.code == LVN_ITEMCHANGED) {
        // A new selection arrives as "old item deselected" then "new selected":
        // look once both have happened, so one click is one event.
        PostMessageW(v.form->body.hwnd, kMsgSyncListView, 0, reinterpret_cast<LPARAM>(v.hwnd));
    }
}

void NativeHost::Impl::SyncListView(ViewPeer& v) {
    auto& lv = static_cast<ListView&>(*v.control);
    auto index = static_cast<int>(
        SendMessageW(v.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index == lv.SelectedIndex()) return;
    if (!Reachable(v.hwnd)) {
        Push(v, Prop::Selection);
        return;
    }
    host.Run([&] { lv.Select(index); });
}

void NativeHost::Impl::OnScroll(ViewPeer& v, UINT code) {
    if (updating) return;
    Control& c = *v.control;
    auto& range = static_cast<RangeControl&>(c);
    if (c.GetKind() == Kind::Slider) {
        if (code == TB_ENDTRACK) return;  // follows every move; nothing new
        if (!Reachable(v.hwnd)) {
            Push(v, Prop::Value);
            return;
        }
        host.Run([&] {
            range.SetValue(static_cast<int>(SendMessageW(v.hwnd, TBM_GETPOS, 0, 0)));
            if (range.onScroll) c.Owner().Fire(range.onScroll);
        });
    } else if (c.GetKind() == Kind::UpDown) {
        if (code != SB_THUMBPOSITION) return;
        if (!Reachable(v.hwnd)) {
            Push(v, Prop::Value);
            return;
        }
        host.Run(
            [&] { range.SetValue(static_cast<int>(SendMessageW(v.hwnd, UDM_GETPOS32, 0, 0))); });
    }
}

void NativeHost::Impl::OnViewClick(ViewPeer& v) {
    if (!v.control || !Reachable(v.hwnd)) return;
    Control& c = *v.control;
    if (c.onClick) host.Run([&] { c.Owner().Fire(c.onClick); });
}

// ---------------------------------------------------------------------------
// Painting

bool NativeHost::Impl::DrawItem(ViewPeer& v, DRAWITEMSTRUCT& di) {
    const SkinElement* e = v.Skin();
    if (!e) return false;
    FormPeer& fp = *v.form;
    Control& c = *v.control;
    HDC dc = di.hDC;
    RECT rc = di.rcItem;
    const bool disabled = (di.itemState & ODS_DISABLED) != 0;
    const bool pressed = (di.itemState & ODS_SELECTED) != 0;
    const bool focus = (di.itemState & ODS_FOCUS) != 0 && !(di.itemState & ODS_NOFOCUSRECT);
    // Draw off screen: gloss rows and text in one blit, no flicker.
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1, w), std::max(1, h));
    HGDIOBJ old_bmp = SelectObject(mem, bmp);
    RECT box{0, 0, w, h};
    FillParentBackground(v.hwnd, mem, box);
    HGDIOBJ old_font = SelectObject(mem, v.font);
    std::wstring text = Wide(c.Caption());
    const Color default_text{0x1E, 0x2E, 0x44};
    COLORREF text_color = disabled ? Ref(e->GetColor("text.disabled", {0x9A, 0xA6, 0xB5}))
                                   : Ref(e->GetColor("text.color", default_text));
    if (c.GetKind() == Kind::CommandButton) {
        const char* fill_key = disabled  ? "fill.disabled"
                               : pressed ? "fill.pressed"
                               : v.hover ? "fill.hover"
                                         : "fill";
        Fill fill = e->GetFill(fill_key, e->GetFill("fill", *ParseFill("#FFFFFF > #E0E0E0")));
        const char* border_key = disabled  ? "border.disabled"
                                 : v.hover ? "border.hover"
                                           : "border.color";
        Color border = e->GetColor(border_key, e->GetColor("border.color", {0x90, 0x90, 0x90}));
        PaintRoundRect(mem, {0, 0, w - 1, h - 1}, Px(fp, e->GetMetric("corner.radius", 3)), fill,
                       Ref(border), true);
        if (focus) {
            const int inset = Px(fp, 2);
            PaintRoundRect(mem, {inset, inset, w - 1 - inset, h - 1 - inset},
                           std::max(0, Px(fp, e->GetMetric("corner.radius", 3)) - inset), Fill{},
                           Ref(e->GetColor("focus.color", {0x5E, 0x8F, 0xC9})), true);
        }
        RECT t{Px(fp, 4), 0, w - Px(fp, 4), h};
        if (pressed) OffsetRect(&t, 0, 1);
        std::optional<Color> shadow_c;
        if (!disabled && e->Value("text.shadow")) shadow_c = e->GetColor("text.shadow", {});
        COLORREF shadow = shadow_c ? Ref(*shadow_c) : 0;
        PaintTextCentredVertically(mem, text, t, DT_CENTER | DT_WORDBREAK, text_color,
                                   shadow_c ? &shadow : nullptr);
    } else {
        const bool radio = c.GetKind() == Kind::OptionButton;
        int value = radio ? (static_cast<OptionButton&>(c).Value() ? 1 : 0)
                          : static_cast<CheckBox&>(c).Value();
        const int size = Px(fp, 13);
        RECT mark{0, (h - size) / 2, size, (h - size) / 2 + size};
        Fill fill = e->GetFill(v.hover && !disabled ? "box.fill.hover" : "box.fill",
                               e->GetFill("box.fill", *ParseFill("#FFFFFF")));
        if (disabled) fill = *ParseFill("#F2F4F7");
        COLORREF border = Ref(e->GetColor("box.border", {0x7F, 0x9D, 0xC2}));
        COLORREF mark_color = disabled ? GetSysColor(COLOR_GRAYTEXT)
                                       : Ref(e->GetColor("mark.color", {0x2F, 0x6F, 0xB5}));
        if (radio) {
            PaintEllipse(mem, {mark.left, mark.top, mark.right - 1, mark.bottom - 1}, fill, border);
            if (value) {
                const int in = std::max(3, size * 3 / 10);
                Fill dot;
                dot.type = Fill::Type::Gradient;
                dot.top = dot.mid = FromRef(mark_color);
                dot.mid2 = dot.bottom = FromRef(mark_color);
                PaintEllipse(
                    mem, {mark.left + in, mark.top + in, mark.right - 1 - in, mark.bottom - 1 - in},
                    dot, mark_color);
            }
        } else {
            PaintRoundRect(mem, {mark.left, mark.top, mark.right - 1, mark.bottom - 1}, Px(fp, 2),
                           fill, border, true);
            if (value == 1) {
                PaintCheckMark(mem, mark, mark_color, std::max(2, Px(fp, 2)));
            } else if (value == 2) {
                const int in = std::max(3, size / 4);
                RECT grey{mark.left + in, mark.top + in, mark.right - in, mark.bottom - in};
                HBRUSH b = CreateSolidBrush(mark_color);
                FillRect(mem, &grey, b);
                DeleteObject(b);
            }
        }
        RECT t{size + Px(fp, 5), 0, w, h};
        PaintTextCentredVertically(mem, text, t, DT_LEFT | DT_WORDBREAK, text_color);
        if (focus) {
            RECT f = t;
            DrawTextW(mem, text.c_str(), -1, &f, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
            OffsetRect(&f, 0, (h - (f.bottom - f.top)) / 2);
            InflateRect(&f, 1, 0);
            DrawFocusRect(mem, &f);
        }
    }
    BitBlt(dc, rc.left, rc.top, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old_font);
    SelectObject(mem, old_bmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    return true;
}

void NativeHost::Impl::PaintForm(FormPeer& fp, HDC dc) {
    RECT client;
    GetClientRect(fp.hwnd, &client);
    const int w = client.right, h = client.bottom;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1, w), std::max(1, fp.caption_h + 1));
    HGDIOBJ old_bmp = SelectObject(mem, bmp);
    const SkinElement& e = *fp.skin;
    COLORREF border = Ref(e.GetColor("border.color", {0x7F, 0x9D, 0xC2}));
    RECT bar{0, 0, w, fp.caption_h};
    HBRUSH bb = CreateSolidBrush(border);
    FillRect(mem, &bar, bb);
    RECT inner{fp.border, fp.border, w - fp.border, fp.caption_h};
    PaintFill(mem, inner, e.GetFill("caption.fill", *ParseFill("#FFFFFF > #D8E4F2")));
    // Title between the left edge and the first box.
    int title_right = w - fp.border;
    for (const auto& b : fp.boxes) title_right = std::min(title_right, b.left);
    HGDIOBJ old_font = SelectObject(mem, Font(fp, e.GetFont("caption.font", DefaultFont())));
    std::wstring title = Wide(fp.form->Caption());
    RECT t{fp.border + Px(fp, 10), fp.border, title_right - Px(fp, 6), fp.caption_h};
    Align align = e.GetAlign("caption.align", Align::Left);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (align == Align::Center) {
        // Centred on the window, unless the boxes would cover it.
        RECT measure = t;
        DrawTextW(mem, title.c_str(), -1, &measure, flags | DT_CALCRECT);
        const int tw = measure.right - measure.left;
        const int left = (w - tw) / 2;
        if (left >= t.left && left + tw <= t.right) {
            t.left = left;
            t.right = left + tw + 1;
        }
    } else if (align == Align::Right) {
        flags |= DT_RIGHT;
    }
    std::optional<Color> shadow_c;
    if (e.Value("caption.shadow")) shadow_c = e.GetColor("caption.shadow", {});
    COLORREF shadow = shadow_c ? Ref(*shadow_c) : 0;
    PaintText(mem, title, t, flags, Ref(e.GetColor("caption.text", {0x1E, 0x3A, 0x5F})),
              shadow_c ? &shadow : nullptr);
    SelectObject(mem, Font(fp, e.GetFont("spot.font", DefaultFont())));
    for (std::size_t i = 0; i < fp.boxes.size(); ++i) {
        const CaptionBox& b = fp.boxes[i];
        const bool hot = fp.hot == static_cast<int>(i);
        const bool down = hot && fp.pressed == static_cast<int>(i);
        RECT r{b.left, b.top, b.right - 1, b.bottom - 1};
        const int radius = Px(fp, 4);
        const int thick = std::max(1, fp.dpi * 3 / 2 / 96);
        if (b.role == CaptionBox::Role::HotSpot) {
            Fill f = e.GetFill(hot ? "spot.fill.hover" : "spot.fill", e.GetFill("spot.fill"));
            if (down) f = e.GetFill("spot.fill.hover");
            PaintRoundRect(mem, r, radius, f, Ref(e.GetColor("spot.border", {0x9A, 0xB2, 0xCF})),
                           true);
            RECT tr{b.left, b.top, b.right, b.bottom};
            if (down) OffsetRect(&tr, 0, 1);
            PaintText(mem, Wide(fp.spots[static_cast<std::size_t>(b.hot_spot)].text), tr,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                      Ref(e.GetColor("spot.text", {0x1E, 0x3A, 0x5F})));
        } else {
            const bool close = b.role == CaptionBox::Role::Close;
            Fill f = e.GetFill("control.fill", *ParseFill("#FFFFFF > #E6EDF5"));
            if (hot) f = e.GetFill(close ? "close.fill.hover" : "control.fill.hover", f);
            Color glyph = e.GetColor("control.glyph", {0x3A, 0x56, 0x78});
            if (hot && close) glyph = e.GetColor("close.glyph.hover", glyph);
            PaintRoundRect(mem, r, radius, f, Ref(e.GetColor("control.border", {0x9A, 0xB2, 0xCF})),
                           true);
            if (close) {
                PaintCloseGlyph(mem, r, Ref(glyph), thick);
            } else {
                PaintMinimizeGlyph(mem, r, Ref(glyph), thick + 1);
            }
        }
    }
    SelectObject(mem, old_font);
    // A soft line under the bar.
    RECT line{fp.border, fp.caption_h - 1, w - fp.border, fp.caption_h};
    HBRUSH lb = CreateSolidBrush(Ref(e.GetColor("caption.separator", FromRef(border))));
    FillRect(mem, &line, lb);
    DeleteObject(lb);
    BitBlt(dc, 0, 0, w, fp.caption_h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old_bmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    // Border around the body, and the outline of the window's own shape.
    RECT left{0, fp.caption_h, fp.border, h}, right{w - fp.border, fp.caption_h, w, h},
        bottom{0, h - fp.border, w, h};
    FillRect(dc, &left, bb);
    FillRect(dc, &right, bb);
    FillRect(dc, &bottom, bb);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(fp.hwnd, rgn) != ERROR) FrameRgn(dc, rgn, bb, 1, 1);
    DeleteObject(rgn);
    DeleteObject(bb);
}

void NativeHost::Impl::PaintView(ViewPeer& v, HDC dc) {
    RECT rc;
    GetClientRect(v.hwnd, &rc);
    const int w = rc.right, h = rc.bottom;
    if (&v == &v.form->body || IsContainer(v.control)) {
        EnsureBackground(v);
        HDC src = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(src, v.bg);
        BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
        return;
    }
    FormPeer& fp = *v.form;
    Control& c = *v.control;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1, w), std::max(1, h));
    HGDIOBJ old_bmp = SelectObject(mem, bmp);
    HGDIOBJ old_font = SelectObject(mem, v.font ? v.font : Font(fp, DefaultFont()));
    const SkinElement* e = v.Skin();
    std::wstring text = Wide(c.Caption());
    switch (c.GetKind()) {
        case Kind::Label: {
            FillParentBackground(v.hwnd, mem, rc);
            COLORREF color = !IsWindowEnabled(v.hwnd) ? GetSysColor(COLOR_GRAYTEXT)
                             : e                      ? Ref(e->GetColor("text.color", {0, 0, 0}))
                                                      : GetSysColor(COLOR_BTNTEXT);
            PaintText(mem, text, rc, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EXPANDTABS, color);
            break;
        }
        case Kind::StatusBar: {
            if (e) {
                PaintFill(mem, rc, e->GetFill("fill", *ParseFill("#EEF3F9 > #D9E3EF")));
                RECT top{0, 0, w, 1};
                HBRUSH b = CreateSolidBrush(Ref(e->GetColor("border.color", {0xA9, 0xBC, 0xD3})));
                FillRect(mem, &top, b);
                DeleteObject(b);
            } else {
                FillRect(mem, &rc, GetSysColorBrush(COLOR_BTNFACE));
                DrawEdge(mem, &rc, BDR_SUNKENOUTER, BF_RECT);
            }
            RECT t{Px(fp, 6), 0, w - Px(fp, 4), h};
            PaintText(mem, text, t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS,
                      e ? Ref(e->GetColor("text.color", {0, 0, 0})) : GetSysColor(COLOR_BTNTEXT));
            break;
        }
        case Kind::Histogram: {
            // Until the monitor draws its history: an empty chart.
            Fill back = *ParseFill("#0E2233 > #08131D");
            PaintFill(mem, rc, back);
            HPEN grid = CreatePen(PS_SOLID, 1, RGB(0x1F, 0x4A, 0x3A));
            HGDIOBJ old_pen = SelectObject(mem, grid);
            const int step = std::max(4, Px(fp, 12));
            for (int x = step; x < w; x += step) {
                MoveToEx(mem, x, 0, nullptr);
                LineTo(mem, x, h);
            }
            for (int y = step; y < h; y += step) {
                MoveToEx(mem, 0, y, nullptr);
                LineTo(mem, w, y);
            }
            SelectObject(mem, old_pen);
            DeleteObject(grid);
            break;
        }
        case Kind::Picture:
        case Kind::Image: {
            if (c.GetKind() == Kind::Picture) {
                FillRect(mem, &rc, GetSysColorBrush(COLOR_BTNFACE));
            } else {
                FillParentBackground(v.hwnd, mem, rc);
            }
            const bool stretch = static_cast<Picture&>(c).stretch;
            const int pw = stretch ? w : ScalePixels(v.pic_w, fp.dpi);
            const int ph = stretch ? h : ScalePixels(v.pic_h, fp.dpi);
            if (v.picture) {
                HDC src = CreateCompatibleDC(mem);
                HGDIOBJ old = SelectObject(src, v.picture);
                SetStretchBltMode(mem, HALFTONE);
                SetBrushOrgEx(mem, 0, 0, nullptr);
                StretchBlt(mem, 0, 0, pw, ph, src, 0, 0, v.pic_w, v.pic_h, SRCCOPY);
                SelectObject(src, old);
                DeleteDC(src);
            } else if (v.icon) {
                DrawIconEx(mem, 0, 0, v.icon, pw, ph, 0, nullptr, DI_NORMAL);
            }
            break;
        }
        default:
            FillParentBackground(v.hwnd, mem, rc);
            break;
    }
    BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old_font);
    SelectObject(mem, old_bmp);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void NativeHost::Impl::CaptionMouse(FormPeer& fp, UINT msg, int x, int y) {
    int hit = HitCaption(fp.boxes, x, y);
    RECT bar{0, 0, 0, fp.caption_h};
    RECT wr;
    GetClientRect(fp.hwnd, &wr);
    bar.right = wr.right;
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!fp.tracking) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, fp.hwnd, 0};
                fp.tracking = TrackMouseEvent(&tme);
            }
            if (hit != fp.hot) {
                fp.hot = hit;
                InvalidateRect(fp.hwnd, &bar, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            fp.tracking = false;
            if (fp.hot != -1) {
                fp.hot = -1;
                InvalidateRect(fp.hwnd, &bar, FALSE);
            }
            break;
        case WM_LBUTTONDOWN:
            fp.pressed = hit;
            if (hit >= 0) SetCapture(fp.hwnd);
            InvalidateRect(fp.hwnd, &bar, FALSE);
            break;
        case WM_LBUTTONUP: {
            int pressed = fp.pressed;
            fp.pressed = -1;
            if (GetCapture() == fp.hwnd) ReleaseCapture();
            InvalidateRect(fp.hwnd, &bar, FALSE);
            if (pressed >= 0 && pressed == hit) ActCaption(fp, hit);
            break;
        }
        default:
            break;
    }
}

void NativeHost::Impl::ActCaption(FormPeer& fp, int box) {
    const CaptionBox& b = fp.boxes[static_cast<std::size_t>(box)];
    switch (b.role) {
        case CaptionBox::Role::Close:
            // Through the system command, so it is the same close as Alt+F4.
            PostMessageW(fp.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case CaptionBox::Role::Minimize:
            PostMessageW(fp.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case CaptionBox::Role::HotSpot:
            fp.pending_elements.push_back(fp.spots[static_cast<std::size_t>(b.hot_spot)].name);
            PostMessageW(fp.hwnd, kMsgRunSkinElement, 0, 0);
            break;
    }
}

// ---------------------------------------------------------------------------
// Window procedures. Nothing may leave them as an exception: handlers already
// run inside the host's guard; this catches what the host's own code throws.

LRESULT CALLBACK NativeHost::Impl::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* fp = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!fp || !fp->alive || !fp->body.host) return DefWindowProcW(hwnd, msg, wp, lp);
    Impl& impl = *fp->body.host;
    ++impl.depth;
    LRESULT r = 0;
    try {
        r = impl.HandleForm(*fp, hwnd, msg, wp, lp);
    } catch (...) {
        r = DefWindowProcW(hwnd, msg, wp, lp);
    }
    --impl.depth;
    return r;
}

LRESULT NativeHost::Impl::HandleForm(FormPeer& fp, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == skin_click_msg && skin_click_msg != 0) {
        // Automation: wParam is a global atom of the element's name. The answer
        // says whether the element is on the bar and a user could click it;
        // the click itself runs after the reply, so a modal window it opens does
        // not hold the caller.
        wchar_t name[256] = {};
        if (!GlobalGetAtomNameW(static_cast<ATOM>(wp), name, 255)) return 0;
        if (!IsWindowEnabled(hwnd) || !IsWindowVisible(hwnd)) return 0;
        std::string element = Utf8(name);
        for (const auto& [id, menu_element] : fp.menu_elements) {
            if (menu_element == element) {
                fp.pending_elements.push_back(element);
                PostMessageW(hwnd, kMsgRunSkinElement, 0, 0);
                return 1;
            }
        }
        for (const auto& b : fp.boxes) {
            if (b.role == CaptionBox::Role::HotSpot &&
                fp.spots[static_cast<std::size_t>(b.hot_spot)].name == element) {
                fp.pending_elements.push_back(element);
                PostMessageW(hwnd, kMsgRunSkinElement, 0, 0);
                return 1;
            }
        }
        return 0;
    }
    switch (msg) {
        case WM_CLOSE:
            host.Run([&] { host.CloseForm(*fp.form); });
            return 0;
        case WM_SYSCOMMAND:
            for (const auto& [id, element] : fp.menu_elements) {
                if ((wp & 0xFFF0) == id) {
                    fp.pending_elements.push_back(element);
                    PostMessageW(hwnd, kMsgRunSkinElement, 0, 0);
                    return 0;
                }
            }
            return DefWindowProcW(hwnd, msg, wp, lp);
        case WM_TIMER: {
            auto it = fp.timers.find(wp);
            if (it == fp.timers.end()) return 0;
            auto& timer = static_cast<Timer&>(*it->second);
            if (timer.Enabled() && timer.onTimer) timer.Owner().Fire(timer.onTimer);
            return 0;
        }
        case kMsgRunSkinElement: {
            if (fp.pending_elements.empty()) return 0;
            std::string element = fp.pending_elements.front();
            fp.pending_elements.pop_front();
            Form& form = *fp.form;
            if (form.onSkinElementClick) {
                form.Fire([&form, element] { form.onSkinElementClick(element); });
            }
            return 0;
        }
        case WM_DPICHANGED: {
            fp.dpi = std::max(1, static_cast<int>(HIWORD(wp)));
            SetPropW(hwnd, kDpiProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(fp.dpi)));
            ApplyFonts(fp);
            LayoutForm(fp, reinterpret_cast<RECT*>(lp));
            for (auto& [c, v] : fp.views) LayoutView(fp, *v);
            DirtyBackgrounds(fp, nullptr);
            return 0;
        }
        case WM_ACTIVATE:
            // As a dialog does: the focused control is kept over a switch to
            // another window, instead of the window itself taking the focus.
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && focus != hwnd && IsChild(hwnd, focus)) fp.last_focus = focus;
            } else if (!HIWORD(wp)) {
                HWND target = fp.last_focus;
                if (!target || !IsWindow(target) || !IsChild(hwnd, target) || !Reachable(target)) {
                    std::vector<HWND> stops = TabStops(fp);
                    target = stops.empty() ? nullptr : stops.front();
                }
                if (target) {
                    SetFocus(target);
                    return 0;
                }
            }
            break;
        case WM_ERASEBKGND:
            if (fp.skinned) return 1;
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (fp.skinned) PaintForm(fp, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_NCHITTEST:
            if (fp.skinned) {
                POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
                ScreenToClient(hwnd, &pt);
                if (pt.y >= 0 && pt.y < fp.caption_h) {
                    return HitCaption(fp.boxes, pt.x, pt.y) >= 0 ? HTCLIENT : HTCAPTION;
                }
                return HTCLIENT;
            }
            break;
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (fp.skinned) {
                CaptionMouse(fp, msg, static_cast<short>(LOWORD(lp)),
                             static_cast<short>(HIWORD(lp)));
                return 0;
            }
            break;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
            if (fp.skinned) {
                RECT bar{0, 0, 32767, fp.caption_h};
                InvalidateRect(hwnd, &bar, FALSE);
            }
            return r;
        }
        case WM_NCDESTROY:
            // Destroyed behind the host's back (end of session): forget it.
            if (fp.hwnd == hwnd) {
                fp.hwnd = nullptr;
                fp.form->SetHandle(0);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK NativeHost::Impl::ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* v = reinterpret_cast<ViewPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!v || !v->host || !v->form->alive) return DefWindowProcW(hwnd, msg, wp, lp);
    Impl& impl = *v->host;
    ++impl.depth;
    LRESULT r = 0;
    try {
        r = impl.HandleView(*v, hwnd, msg, wp, lp);
    } catch (...) {
        r = DefWindowProcW(hwnd, msg, wp, lp);
    }
    --impl.depth;
    return r;
}

LRESULT NativeHost::Impl::HandleChildMessages(ViewPeer& container, UINT msg, WPARAM wp, LPARAM lp,
                                              bool& handled) {
    handled = false;
    switch (msg) {
        case WM_COMMAND: {
            ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
            if (child && child->control && child->form == container.form) {
                OnCommand(*child, HIWORD(wp));
                handled = true;
            }
            return 0;
        }
        case WM_NOTIFY: {
            auto* nm = reinterpret_cast<NMHDR*>(lp);
            ViewPeer* child = nm ? ViewOf(nm->hwndFrom) : nullptr;
            if (child && child->control && child->form == container.form) {
                OnNotify(*child, *nm);
                handled = true;
            }
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
            if (child && child->control) {
                OnScroll(*child, LOWORD(wp));
                handled = true;
            }
            return 0;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            ViewPeer* child = di ? ViewOf(di->hwndItem) : nullptr;
            if (child && child->control && DrawItem(*child, *di)) {
                handled = true;
                return TRUE;
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HWND child_hwnd = reinterpret_cast<HWND>(lp);
            ViewPeer* child = ViewOf(child_hwnd);
            if (!child || !child->control) return 0;
            Kind k = child->control->GetKind();
            // Edits and combos keep their own white; the rest blend into the
            // container's background.
            if (k == Kind::TextBox || k == Kind::ComboBox || k == Kind::DriveList) return 0;
            EnsureBackground(container);
            if (!container.bg_brush) return 0;
            HDC dc = reinterpret_cast<HDC>(wp);
            RECT me;
            GetWindowRect(child_hwnd, &me);
            MapWindowPoints(HWND_DESKTOP, container.hwnd, reinterpret_cast<POINT*>(&me), 2);
            SetBrushOrgEx(dc, -me.left, -me.top, nullptr);
            SetBkMode(dc, TRANSPARENT);
            handled = true;
            return reinterpret_cast<LRESULT>(container.bg_brush);
        }
        default:
            return 0;
    }
}

LRESULT NativeHost::Impl::HandleView(ViewPeer& v, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    bool handled = false;
    LRESULT r = HandleChildMessages(v, msg, wp, lp, handled);
    if (handled) return r;
    switch (msg) {
        case kMsgSyncRows: {
            ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
            if (child && child->control && child->control->GetKind() == Kind::ListView &&
                child->rows_pending) {
                SyncRows(*child);
            }
            return 0;
        }
        case kMsgSyncListView: {
            ViewPeer* child = ViewOf(reinterpret_cast<HWND>(lp));
            if (child && child->control && child->control->GetKind() == Kind::ListView) {
                SyncListView(*child);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            PaintView(v, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintView(v, reinterpret_cast<HDC>(wp));
            return 0;
        case WM_SETFONT:
            v.font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(v.font);
        case WM_SETTEXT: {
            LRESULT res = DefWindowProcW(hwnd, msg, wp, lp);
            InvalidateRect(hwnd, nullptr, TRUE);
            return res;
        }
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case WM_LBUTTONUP:
        case BM_CLICK:
            // Labels, frames and pictures are clickable too; BM_CLICK lets
            // automation click them as it clicks buttons.
            if (v.control) OnViewClick(v);
            return 0;
        case WM_SIZE:
            if (&v == &v.form->body) DirtyBackgrounds(*v.form, nullptr);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK NativeHost::Impl::HoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR data) {
    auto* v = reinterpret_cast<ViewPeer*>(data);
    if (v->control && v->control->GetKind() == Kind::TabStrip) {
        if (msg == WM_ERASEBKGND && v->form->alive) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            v->host->FillParentBackground(hwnd, reinterpret_cast<HDC>(wp), rc);
            return 1;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!v->hover) {
                v->hover = true;
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&tme);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            v->hover = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_ERASEBKGND:
            return 1;  // WM_DRAWITEM paints everything
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK NativeHost::Impl::SplashProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* impl = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (impl && msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (impl->splash_bmp) {
            HDC src = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(src, impl->splash_bmp);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            StretchBlt(dc, 0, 0, rc.right, rc.bottom, src, 0, 0, impl->splash_w, impl->splash_h,
                       SRCCOPY);
            SelectObject(src, old);
            DeleteDC(src);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

std::vector<HWND> NativeHost::Impl::TabStops(FormPeer& fp) {
    std::vector<HWND> stops;
    for (Control* c : fp.form->Controls()) {
        auto it = fp.views.find(c);
        if (it == fp.views.end() || !it->second->hwnd) continue;
        HWND h = it->second->hwnd;
        if ((GetWindowLongPtrW(h, GWL_STYLE) & WS_TABSTOP) && Reachable(h)) stops.push_back(h);
    }
    return stops;
}

// Tab moves through the controls in the form's control order, as the
// classic tab index does; Windows' own order (the z-order) puts later
// controls in front so that frames cover the tab strip they sit on.
bool NativeHost::Impl::MoveFocus(FormPeer& fp, bool back) {
    std::vector<HWND> stops = TabStops(fp);
    if (stops.empty()) return false;
    HWND focus = GetFocus();
    int at = -1;
    for (int i = 0; i < static_cast<int>(stops.size()); ++i) {
        HWND s = stops[static_cast<std::size_t>(i)];
        if (focus && (focus == s || IsChild(s, focus))) at = i;  // a combo's edit is its child
    }
    const int n = static_cast<int>(stops.size());
    const int next = at < 0 ? (back ? n - 1 : 0) : (at + (back ? n - 1 : 1)) % n;
    HWND target = stops[static_cast<std::size_t>(next)];
    SetFocus(target);
    wchar_t cls[16] = {};
    GetClassNameW(target, cls, 15);
    if (_wcsicmp(cls, L"Edit") == 0) SendMessageW(target, EM_SETSEL, 0, -1);
    return true;
}

void NativeHost::Impl::Pump(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && form_atom && GetClassLongPtrW(root, GCW_ATOM) == form_atom) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
            !(GetKeyState(VK_CONTROL) & 0x8000)) {
            auto* fp = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(root, GWLP_USERDATA));
            if (fp && fp->alive && MoveFocus(*fp, (GetKeyState(VK_SHIFT) & 0x8000) != 0)) return;
        }
        // Arrows, mnemonics, space on buttons: as in a dialog.
        if (IsDialogMessageW(root, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void NativeHost::Impl::RunModal(FormPeer& fp) {
    Form* form = fp.form;
    for (auto& [f, other] : forms) {
        if (other.get() != &fp && other->alive && other->hwnd && IsWindowEnabled(other->hwnd)) {
            EnableWindow(other->hwnd, FALSE);
            fp.disabled.push_back(other->hwnd);
        }
    }
    MSG msg;
    while (Peer(*form) == &fp) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Quit while a modal window is open: leave the nested loop and let
            // the outer one see WM_QUIT too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Pump(msg);
    }
}

// ---------------------------------------------------------------------------

NativeHost::NativeHost(NativeHostOptions options)
    : impl_(std::make_unique<Impl>(*this, std::move(options))) {
    if (impl_->options.per_monitor_dpi) {
        // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; harmless when the
        // manifest set it already.
        if (Dpi().set_context) {
            Dpi().set_context(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)));
        } else if (Dpi().set_aware) {
            Dpi().set_aware();
        }
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES |
                                             ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    impl_->RegisterClasses();
}

NativeHost::~NativeHost() {
    CloseSplash();
    std::vector<Form*> open;
    for (auto& [f, fp] : impl_->forms) open.push_back(f);
    for (Form* f : open) impl_->DestroyPeer(*f);
    impl_->graveyard.clear();
}

int NativeHost::RunMessageLoop() {
    if (impl_->forms.empty()) return 0;
    MSG msg{};
    while (true) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) return -1;
        if (got == 0) return static_cast<int>(msg.wParam);
        impl_->Pump(msg);
        if (impl_->depth == 0) impl_->graveyard.clear();
    }
}

void NativeHost::ShowForm(Form& form, Form* owner, bool modal) {
    FormPeer* fp = impl_->Peer(form);
    if (!form.Loaded() || !fp) {
        fp = impl_->CreatePeer(form, owner);
        MarkLoaded(form, owner, modal);
        Run([&] { form.Form_Load(); });
        // A load handler may unload its own form (a second copy of the program).
        fp = impl_->Peer(form);
        if (!form.Loaded() || !fp) return;
    }
    if (fp->hwnd) {
        ShowWindow(fp->hwnd, SW_SHOW);
        // The first control in the form's order takes the keyboard, as the
        // lowest tab index does.
        HWND focus = GetFocus();
        if (!focus || focus == fp->hwnd || GetAncestor(focus, GA_ROOT) != fp->hwnd) {
            std::vector<HWND> stops = impl_->TabStops(*fp);
            if (!stops.empty()) SetFocus(stops.front());
        }
        UpdateWindow(fp->hwnd);
        CloseSplash();
        if (modal) impl_->RunModal(*fp);
    }
}

void NativeHost::CloseForm(Form& form) {
    if (!RunUnload(form)) return;
    impl_->DestroyPeer(form);
}

void NativeHost::ControlChanged(Control& control, Prop prop) {
    if (ViewPeer* v = impl_->View(control)) impl_->Push(*v, prop);
}

void NativeHost::FormChanged(Form& form, Prop prop) {
    FormPeer* fp = impl_->Peer(form);
    if (!fp || !fp->hwnd) return;
    switch (prop) {
        case Prop::Caption:
            SetWindowTextW(fp->hwnd, Wide(form.Caption()).c_str());
            break;
        case Prop::Geometry:
            impl_->LayoutForm(*fp);
            break;
        case Prop::Skin:
            impl_->ApplyFrame(*fp);
            break;
        default:
            break;
    }
}

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

namespace {

std::wstring FilterList(const std::string& filter) {
    // DialogFilter's NULs survive the conversion: Wide() converts by length.
    return Wide(DialogFilter(filter));
}

}  // namespace

bool NativeHost::ShowOpenDialog(Form& owner, CommonDialog& dialog) {
    FormPeer* fp = impl_->Peer(owner);
    std::wstring filter = FilterList(dialog.filter);
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
    dialog.file_name = Utf8(file.data());
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

void NativeHost::ShowSplash(const std::string& file_bytes) {
    CloseSplash();
    auto image = DecodeBmp(file_bytes);
    if (!image) return;  // not a picture we can show: no splash, no error
    Impl& im = *impl_;
    im.splash_bmp = BitmapFromImage(*image);
    if (!im.splash_bmp) return;
    im.splash_w = image->width;
    im.splash_h = image->height;
    const int dpi = SystemDpi();
    const int w = ScalePixels(image->width, dpi), h = ScalePixels(image->height, dpi);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    im.splash = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, L"", WS_POPUP,
                                area.left + (area.right - area.left - w) / 2,
                                area.top + (area.bottom - area.top - h) / 2, w, h, nullptr, nullptr,
                                im.instance, &im);
    if (!im.splash) {
        DeleteObject(im.splash_bmp);
        im.splash_bmp = nullptr;
        return;
    }
    im.SetAutomationName(im.splash, "Splash", "Splash", im.splash_atom, nullptr);
    if (!RunningOnWine()) {
        const int r = ScalePixels(12, dpi);
        SetWindowRgn(im.splash, CreateRoundRectRgn(0, 0, w + 1, h + 1, r, r), FALSE);
    }
    ShowWindow(im.splash, SW_SHOWNOACTIVATE);
    // The load that shows the splash keeps the thread busy: paint it now.
    UpdateWindow(im.splash);
}

void NativeHost::CloseSplash() {
    Impl& im = *impl_;
    if (im.splash) {
        Impl::ReleaseAutomationName(im.splash, im.splash_atom, nullptr);
        DestroyWindow(im.splash);
        im.splash = nullptr;
    }
    if (im.splash_bmp) DeleteObject(im.splash_bmp);
    im.splash_bmp = nullptr;
}

bool NativeHost::SplashShown() const {
    return impl_->splash != nullptr;
}

void NativeHost::DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        impl_->Pump(msg);
    }
}

void NativeHost::Quit() {
    impl_->quit_requested = true;
    if (impl_->forms.empty()) PostQuitMessage(0);
}

int NativeHost::DpiOf(const Form& form) const {
    FormPeer* fp = impl_->Peer(form);
    return fp && fp->hwnd ? fp->dpi : 96;
}

}  // namespace orv::ui
