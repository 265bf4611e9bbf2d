// The shell's progress dialog over a running shred, shown only once the work has lasted
// long enough to be noticed, with Cancel. The dialog is a convenience: when the shell cannot
// make one (Wine may have none), the shred goes on without it.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <functional>

#include "../src/shredder.h"

namespace ardshred {

// Makes the dialog object; the default asks COM for CLSID_ProgressDialog.
using ProgressDialogFactory = std::function<HRESULT(IProgressDialog** out)>;
HRESULT CreateShellProgressDialog(IProgressDialog** out);

class ShellProgress final : public shred::Progress {
  public:
    // owner: the invoking window; no dialog at all when showDialog is false (no-UI invoke).
    ShellProgress(HWND owner, bool showDialog, ProgressDialogFactory factory,
                  ULONGLONG delayMs = 1000);
    ~ShellProgress() override;
    ShellProgress(const ShellProgress&) = delete;
    ShellProgress& operator=(const ShellProgress&) = delete;

    bool Continue(const shred::Path& file, std::uint64_t done, std::uint64_t total) override;

  private:
    void Open();

    HWND owner_;
    bool wanted_;
    ProgressDialogFactory factory_;
    ULONGLONG start_;
    ULONGLONG delay_;
    ULONGLONG lastUpdate_ = 0;
    IProgressDialog* dialog_ = nullptr;
};

}  // namespace ardshred
