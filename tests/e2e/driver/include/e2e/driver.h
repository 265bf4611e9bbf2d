// End-to-end driver: finds the program's windows by their automation names
// and drives them from another process the way a user would, through
// messages every Win32 control understands (see docs/automation.md).
// Windows only; names are UTF-8.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// A window of another process (an HWND). Empty when nothing was found.
struct Window {
    std::uintptr_t hwnd = 0;
    explicit operator bool() const { return hwnd != 0; }
    bool operator==(const Window&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// ---- finding --------------------------------------------------------------

// The automation name ("applymenu", "VoptionsFrame(2)", a form's name) and the
// control kind ("CommandButton", "Form", ...) a window carries; "" for none.
std::string NameOf(Window w);
std::string KindOf(Window w);
// The top-level window of the form `name`, waiting up to `timeout`. With a
// process id, only that process's windows count.
Window FindForm(std::string_view name, Millis timeout = 10s, std::uint32_t pid = 0);
// The control `name` anywhere inside `form` (frames included), or empty.
Window FindControl(Window form, std::string_view name);
// The automation names of every named window inside `form`.
std::vector<std::string> ControlNames(Window form);
std::uint32_t ProcessOf(Window w);
// A standard dialog box (class #32770: message boxes, common dialogs) of the
// process, waiting up to `timeout`.
Window FindDialog(std::uint32_t pid, Millis timeout = 10s);
// The control with the dialog item id `id` inside `dialog`.
Window DialogItem(Window dialog, int id);
// WM_COMMAND(id) to a dialog: IDOK (1), IDCANCEL (2), IDYES (6), IDNO (7).
bool PressDialogButton(Window dialog, int id);

// ---- reading --------------------------------------------------------------

std::string Text(Window w);  // WM_GETTEXT
bool Visible(Window w);      // IsWindowVisible: hidden when any container is
bool Enabled(Window w);      // IsWindowEnabled of the window itself
bool Exists(Window w);
Rect WindowRect(Window w);  // screen pixels
// The DPI the program lays the window out with (its "OrvelleDpi" property),
// else GetDpiForWindow where the system has it, else the screen's.
int Dpi(Window w);
// Check box 0/1/2 and option button 0/1, read the same for skinned
// (owner-drawn) and standard ones.
int CheckState(Window w);
int SelectedTab(Window tabs);   // 1-based, 0 for none
int SelectedItem(Window list);  // combo or list box, -1 for none
int ItemCount(Window list);
std::string ItemText(Window list, int index);
int Position(Window w);  // slider, progress bar or up-down
int ListViewCount(Window lv);
std::string ListViewText(Window lv, int item, int sub_item = 0);
// The window that has the keyboard focus in the thread of `w`'s window.
Window Focused(Window w);

// ---- acting ---------------------------------------------------------------
// Each action returns false when the window is gone or the program did not
// answer within `timeout`. What a user could not do (a control of a window
// that a modal one disabled) is refused by the program, not by the driver.

// BM_CLICK, waiting until the handler has run. A click that opens a modal
// window does not return until that window closes: use PostClick for it.
bool Click(Window w, Millis timeout = 5s);
bool PostClick(Window w);
bool ChooseTab(Window tabs, int tab);                  // 1-based
bool ChooseItem(Window list, int index);               // combo, image combo or list box
bool SetPosition(Window slider_or_updown, int value);  // slider or up-down
bool SetText(Window edit, std::string_view text);
bool SelectListViewItem(Window lv, int item);
// Posts a key press (WM_KEYDOWN + WM_KEYUP with the virtual-key code) to `w`.
// Posted keys do not change the keyboard state: no Shift, no Ctrl.
bool PressKey(Window w, unsigned virtual_key);
// A named element of a skinned caption bar ("About", "help"): true when the
// window has it and took the click (which runs after this returns).
bool ClickSkinElement(Window form, std::string_view element, Millis timeout = 5s);
// The close box: WM_CLOSE, which goes through the form's QueryUnload.
bool Close(Window form);

// ---- waiting --------------------------------------------------------------

// Polls `condition` every few milliseconds until it holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition, Millis timeout = 5s);
bool WaitGone(Window w, Millis timeout = 5s);

// ---- pictures -------------------------------------------------------------

// A 24-bit BMP of the window's screen area (the whole screen for an empty
// window) at `path`.
bool Screenshot(Window w, const std::string& path);
// A picture for docs/: the window moved to the top left of the screen (a
// grown window may reach past the bottom), given time to repaint, then
// "<ORVELLE_E2E_SHOT_DIR>\\<what>-<ORVELLE_E2E_PERCENT>.bmp". True, and
// nothing taken, when the suite asks for no pictures (no folder set).
bool DocsScreenshot(Window w, std::string_view what);

// ---- processes ------------------------------------------------------------

class Process {
  public:
    Process() = default;
    ~Process();  // ends the process if it is still running
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `exe` with `args` (quoted as needed); false when it cannot start.
    bool Start(const std::string& exe, const std::vector<std::string>& args = {});
    std::uint32_t Id() const { return pid_; }
    bool Running() const;
    // The exit code once it ended within `timeout`.
    std::optional<std::uint32_t> Wait(Millis timeout);
    void Kill();

  private:
    void* process_ = nullptr;
    std::uint32_t pid_ = 0;
};

// The folder of the running test executable (where the demo sits beside it).
std::string ExecutableFolder();
std::string Environment(const char* name);
// Wine hands the Unix environment through: "/a/b" is "Z:\a\b" inside.
std::string WindowsPath(std::string path);

// Starts the orvelle.exe that ORVELLE_EXE names into `program` and waits for
// its main window to show. Empty, with `why` saying what was missing (the X
// display, the program, the window), when it does not.
Window StartOrvelle(Process& program, std::string& why);

}  // namespace orv::e2e
