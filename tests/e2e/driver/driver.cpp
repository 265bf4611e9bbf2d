#include "e2e/driver.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <thread>

#include "platform/text.h"
#include "platform/win32/platform.h"
#include "ui/automation.h"

namespace orv::e2e {
namespace {

using orv::win32::Narrow;
using orv::win32::Wide;
using namespace orv::ui::automation;

HWND H(Window w) {
    return reinterpret_cast<HWND>(w.hwnd);
}
Window W(HWND h) {
    return Window{reinterpret_cast<std::uintptr_t>(h)};
}

std::string AtomProp(HWND h, const wchar_t* prop) {
    if (!h || !IsWindow(h)) return {};
    auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(h, prop)));
    if (!atom) return {};
    wchar_t name[256] = {};
    UINT n = GlobalGetAtomNameW(atom, name, 255);
    return Narrow(std::wstring_view(name, n));
}

bool Send(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr, Millis timeout = 5s) {
    DWORD_PTR r = 0;
    if (!h || !IsWindow(h)) return false;
    if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &r))
        return false;
    if (result) *result = static_cast<LRESULT>(r);
    return true;
}

LRESULT SendValue(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0, LRESULT fallback = -1) {
    LRESULT r = fallback;
    return Send(h, msg, wp, lp, &r) ? r : fallback;
}

bool IsClass(HWND h, const wchar_t* cls) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 63);
    return _wcsicmp(name, cls) == 0;
}

// A buffer in the other process, for messages that carry pointers.
class RemoteBuffer {
  public:
    RemoteBuffer(HWND owner, std::size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) {
            memory_ =
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Ok() const { return memory_ != nullptr; }
    char* Address() const { return static_cast<char*>(memory_); }
    bool Write(std::size_t at, const void* data, std::size_t n) {
        SIZE_T done = 0;
        return at + n <= size_ && WriteProcessMemory(process_, Address() + at, data, n, &done) &&
               done == n;
    }
    bool Read(std::size_t at, void* data, std::size_t n) {
        SIZE_T done = 0;
        return at + n <= size_ && ReadProcessMemory(process_, Address() + at, data, n, &done) &&
               done == n;
    }

  private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    std::size_t size_;
};

struct FindFormData {
    std::string name;
    DWORD pid;
    HWND found = nullptr;
};

}  // namespace

std::string NameOf(Window w) {
    return AtomProp(H(w), kNameProp);
}
std::string KindOf(Window w) {
    return AtomProp(H(w), kKindProp);
}

Window FindForm(std::string_view name, Millis timeout, std::uint32_t pid) {
    FindFormData data{std::string(name), pid};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    auto* d = reinterpret_cast<FindFormData*>(p);
                    if (d->pid) {
                        DWORD owner = 0;
                        GetWindowThreadProcessId(h, &owner);
                        if (owner != d->pid) return TRUE;
                    }
                    if (orv::text::EqualsNoCase(AtomProp(h, kNameProp), d->name)) {
                        d->found = h;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&data));
            return data.found != nullptr;
        },
        timeout);
    return W(data.found);
}

Window FindControl(Window form, std::string_view name) {
    FindFormData data{std::string(name), 0};
    if (!Exists(form)) return {};
    EnumChildWindows(
        H(form),
        [](HWND h, LPARAM p) -> BOOL {
            auto* d = reinterpret_cast<FindFormData*>(p);
            if (orv::text::EqualsNoCase(AtomProp(h, kNameProp), d->name)) {
                d->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&data));
    return W(data.found);
}

std::vector<std::string> ControlNames(Window form) {
    std::vector<std::string> names;
    if (!Exists(form)) return names;
    EnumChildWindows(
        H(form),
        [](HWND h, LPARAM p) -> BOOL {
            std::string n = AtomProp(h, kNameProp);
            if (!n.empty()) reinterpret_cast<std::vector<std::string>*>(p)->push_back(n);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&names));
    return names;
}

Window FindDialog(std::uint32_t pid, Millis timeout) {
    FindFormData data{"", pid};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    auto* d = reinterpret_cast<FindFormData*>(p);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(h, &owner);
                    if (owner == d->pid && IsWindowVisible(h) && IsClass(h, L"#32770")) {
                        d->found = h;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&data));
            return data.found != nullptr;
        },
        timeout);
    return W(data.found);
}

Window DialogItem(Window dialog, int id) {
    return Exists(dialog) ? W(GetDlgItem(H(dialog), id)) : Window{};
}

bool PressDialogButton(Window dialog, int id) {
    return Exists(dialog) && PostMessageW(H(dialog), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::uint32_t ProcessOf(Window w) {
    DWORD pid = 0;
    if (Exists(w)) GetWindowThreadProcessId(H(w), &pid);
    return pid;
}

std::string Text(Window w) {
    LRESULT n = SendValue(H(w), WM_GETTEXTLENGTH, 0, 0, 0);
    if (n <= 0) return {};
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    LRESULT got = SendValue(H(w), WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), 0);
    buf.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(buf);
}

bool Visible(Window w) {
    return Exists(w) && IsWindowVisible(H(w));
}
bool Enabled(Window w) {
    return Exists(w) && IsWindowEnabled(H(w));
}
bool Exists(Window w) {
    return w && IsWindow(H(w));
}

Rect WindowRect(Window w) {
    RECT r{};
    if (Exists(w)) GetWindowRect(H(w), &r);
    return {r.left, r.top, r.right, r.bottom};
}

int Dpi(Window w) {
    // The program's own figure first: what it lays the window out with.
    if (Exists(w)) {
        HWND root = GetAncestor(H(w), GA_ROOT);
        if (auto dpi = reinterpret_cast<UINT_PTR>(GetPropW(root, kDpiProp))) {
            return static_cast<int>(dpi);
        }
    }
    using Fn = UINT(WINAPI*)(HWND);
    static Fn for_window = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (for_window && Exists(w)) {
        if (UINT d = for_window(H(w))) return static_cast<int>(d);
    }
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

int CheckState(Window w) {
    if (!Exists(w)) return -1;
    // Skinned check boxes are owner-drawn and keep no check state of their
    // own; the program publishes the value beside the name.
    const std::string kind = KindOf(w);
    if (kind == "CheckBox" || kind == "OptionButton") {
        return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(H(w), kValueProp)));
    }
    return static_cast<int>(SendValue(H(w), BM_GETCHECK));
}

int SelectedTab(Window tabs) {
    return static_cast<int>(SendValue(H(tabs), TCM_GETCURSEL)) + 1;
}

int SelectedItem(Window list) {
    return static_cast<int>(
        SendValue(H(list), IsClass(H(list), L"ListBox") ? LB_GETCURSEL : CB_GETCURSEL));
}

int ItemCount(Window list) {
    return static_cast<int>(
        SendValue(H(list), IsClass(H(list), L"ListBox") ? LB_GETCOUNT : CB_GETCOUNT));
}

std::string ItemText(Window list, int index) {
    // LB_GETTEXT and CB_GETLBTEXT are marshalled across processes by the system.
    const bool box = IsClass(H(list), L"ListBox");
    LRESULT n =
        SendValue(H(list), box ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n < 0) return {};
    std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
    LRESULT got = SendValue(H(list), box ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(buf);
}

int Position(Window w) {
    HWND h = H(w);
    if (IsClass(h, TRACKBAR_CLASSW)) return static_cast<int>(SendValue(h, TBM_GETPOS));
    if (IsClass(h, PROGRESS_CLASSW)) return static_cast<int>(SendValue(h, PBM_GETPOS));
    if (IsClass(h, UPDOWN_CLASSW)) return static_cast<int>(SendValue(h, UDM_GETPOS32));
    return -1;
}

int ListViewCount(Window lv) {
    return static_cast<int>(SendValue(H(lv), LVM_GETITEMCOUNT));
}

std::string ListViewText(Window lv, int item, int sub_item) {
    constexpr std::size_t kChars = 1024;
    RemoteBuffer remote(H(lv), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote.Ok()) return {};
    LVITEMW li{};
    li.iSubItem = sub_item;
    li.cchTextMax = kChars;
    li.pszText = reinterpret_cast<wchar_t*>(remote.Address() + sizeof(LVITEMW));
    if (!remote.Write(0, &li, sizeof li)) return {};
    LRESULT n = SendValue(H(lv), LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                          reinterpret_cast<LPARAM>(remote.Address()), 0);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    if (!remote.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t))) return {};
    return Narrow(text);
}

Window Focused(Window w) {
    if (!Exists(w)) return {};
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(H(w), nullptr), &info)) return {};
    return W(info.hwndFocus);
}

bool PressKey(Window w, unsigned virtual_key) {
    return Exists(w) && PostMessageW(H(w), WM_KEYDOWN, virtual_key, 1) &&
           PostMessageW(H(w), WM_KEYUP, virtual_key, 0xC0000001);
}

bool Click(Window w, Millis timeout) {
    return Send(H(w), BM_CLICK, 0, 0, nullptr, timeout);
}

bool PostClick(Window w) {
    return Exists(w) && PostMessageW(H(w), BM_CLICK, 0, 0);
}

bool ChooseTab(Window tabs, int tab) {
    // TCM_SETCURFOCUS moves the selection and notifies the parent
    // (TCN_SELCHANGE), as a click does; TCM_SETCURSEL would not notify.
    return Send(H(tabs), TCM_SETCURFOCUS, static_cast<WPARAM>(tab - 1), 0);
}

bool ChooseItem(Window list, int index) {
    HWND h = H(list);
    const bool box = IsClass(h, L"ListBox");
    if (!Send(h, box ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0)) return false;
    // Setting the selection by message notifies nobody: tell the parent as the
    // control would after a user's choice.
    const int id = GetDlgCtrlID(h);
    return Send(GetParent(h), WM_COMMAND, MAKEWPARAM(id, box ? LBN_SELCHANGE : CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(h));
}

bool SetPosition(Window w, int value) {
    HWND h = H(w);
    if (IsClass(h, TRACKBAR_CLASSW)) {
        if (!Send(h, TBM_SETPOS, TRUE, value)) return false;
        const bool vertical = (GetWindowLongPtrW(h, GWL_STYLE) & TBS_VERT) != 0;
        return Send(GetParent(h), vertical ? WM_VSCROLL : WM_HSCROLL,
                    MAKEWPARAM(TB_THUMBPOSITION, value), reinterpret_cast<LPARAM>(h));
    }
    if (IsClass(h, UPDOWN_CLASSW)) {
        if (!Send(h, UDM_SETPOS32, 0, value)) return false;
        const bool horizontal = (GetWindowLongPtrW(h, GWL_STYLE) & UDS_HORZ) != 0;
        return Send(GetParent(h), horizontal ? WM_HSCROLL : WM_VSCROLL,
                    MAKEWPARAM(SB_THUMBPOSITION, value), reinterpret_cast<LPARAM>(h));
    }
    return false;
}

bool SetText(Window edit, std::string_view text) {
    std::wstring w = Wide(text);
    LRESULT ok = 0;
    return Send(H(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), &ok) && ok;
}

bool SelectListViewItem(Window lv, int item) {
    RemoteBuffer remote(H(lv), sizeof(LVITEMW));
    if (!remote.Ok()) return false;
    LVITEMW li{};
    li.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    li.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!remote.Write(0, &li, sizeof li)) return false;
    LRESULT ok = 0;
    return Send(H(lv), LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                reinterpret_cast<LPARAM>(remote.Address()), &ok) &&
           ok;
}

bool ClickSkinElement(Window form, std::string_view element, Millis timeout) {
    static const UINT msg = RegisterWindowMessageW(kSkinElementClickMessage);
    ATOM atom = GlobalAddAtomW(Wide(element).c_str());
    if (!atom) return false;
    LRESULT taken = 0;
    bool sent = Send(H(form), msg, atom, 0, &taken, timeout);
    GlobalDeleteAtom(atom);
    return sent && taken == 1;
}

bool Close(Window form) {
    return Exists(form) && PostMessageW(H(form), WM_CLOSE, 0, 0);
}

bool WaitUntil(const std::function<bool()>& condition, Millis timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(10ms);
    }
}

bool WaitGone(Window w, Millis timeout) {
    return WaitUntil([&] { return !Exists(w); }, timeout);
}

bool DocsScreenshot(Window w, std::string_view what) {
    const std::string dir = Environment("ORVELLE_E2E_SHOT_DIR");
    if (dir.empty()) return true;
    SetWindowPos(H(w), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(1500);  // the move and the last repaint land
    return Screenshot(w, WindowsPath(dir) + "\\" + std::string(what) + "-" +
                             Environment("ORVELLE_E2E_PERCENT") + ".bmp");
}

bool Screenshot(Window w, const std::string& path) {
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (w && !GetWindowRect(H(w), &r)) return false;
    // Paint what is pending first, so the picture shows the latest state.
    if (w) RedrawWindow(H(w), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine hands painted window surfaces to the X server a little later;
    // nothing is checked on the picture, so a short pause is all it needs.
    std::this_thread::sleep_for(200ms);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        ok = BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        SelectObject(mem, old);
    }
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD image = stride * static_cast<DWORD>(height);
    if (ok) {
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
        fh.bfSize = fh.bfOffBits + image;
        FILE* f = _wfopen(Wide(path).c_str(), L"wb");
        ok = f && fwrite(&fh, sizeof fh, 1, f) == 1 &&
             fwrite(&bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f) == 1 &&
             fwrite(bits, 1, image, f) == image;
        if (f) ok = (fclose(f) == 0) && ok;
    }
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

Process::~Process() {
    Kill();
}

Process::Process(Process&& other) noexcept : process_(other.process_), pid_(other.pid_) {
    other.process_ = nullptr;
    other.pid_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        process_ = other.process_;
        pid_ = other.pid_;
        other.process_ = nullptr;
        other.pid_ = 0;
    }
    return *this;
}

bool Process::Start(const std::string& exe, const std::vector<std::string>& args) {
    Kill();
    std::wstring command = L"\"" + Wide(exe) + L"\"";
    for (const auto& a : args) {
        std::wstring w = Wide(a);
        command += L" ";
        if (w.empty() || w.find_first_of(L" \t\"") != std::wstring::npos) {
            std::wstring quoted = L"\"";
            for (wchar_t c : w) {
                if (c == L'"') quoted += L'\\';
                quoted += c;
            }
            command += quoted + L"\"";
        } else {
            command += w;
        }
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    // Returns once the program waits for input, so its first window is near.
    WaitForInputIdle(pi.hProcess, 10000);
    return true;
}

bool Process::Running() const {
    return process_ && WaitForSingleObject(static_cast<HANDLE>(process_), 0) == WAIT_TIMEOUT;
}

std::optional<std::uint32_t> Process::Wait(Millis timeout) {
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(static_cast<HANDLE>(process_), static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(static_cast<HANDLE>(process_), &code);
    return code;
}

void Process::Kill() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(static_cast<HANDLE>(process_), 1);
        WaitForSingleObject(static_cast<HANDLE>(process_), 5000);
    }
    CloseHandle(static_cast<HANDLE>(process_));
    process_ = nullptr;
    pid_ = 0;
}

std::string ExecutableFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p(path, n);
    auto slash = p.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? L"." : p.substr(0, slash));
}

std::string Environment(const char* name) {
    wchar_t buf[4096] = {};
    DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buf, static_cast<DWORD>(std::size(buf)));
    if (n == 0 || n >= std::size(buf)) return {};
    return Narrow(std::wstring_view(buf, n));
}

std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

Window StartOrvelle(Process& program, std::string& why) {
    if (Environment("DISPLAY").empty()) {
        why = "the GUI tests need an X server (Xvfb)";
        return {};
    }
    const std::string exe = WindowsPath(Environment("ORVELLE_EXE"));
    if (!program.Start(exe)) {
        why = "cannot start " + exe;
        return {};
    }
    Window main = FindForm("mainform", 30s, program.Id());
    if (!main) {
        why = "no window named mainform";
        return {};
    }
    if (!WaitUntil([&] { return Visible(main); }, 10s)) {
        why = "mainform does not show";
        return {};
    }
    return main;
}

}  // namespace orv::e2e
