#include "progress.h"

#include "identity.h"

namespace ardshred {
namespace {

// {F8383852-FCD3-11D1-A6B9-006097DF5BD4}
constexpr GUID kClsidProgressDialog = {
    0xF8383852, 0xFCD3, 0x11D1, {0xA6, 0xB9, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4}};
// {EBBC7C04-315E-11D2-B62F-006097DF5BD4}
constexpr GUID kIidProgressDialog = {
    0xEBBC7C04, 0x315E, 0x11D2, {0xB6, 0x2F, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4}};

// The dialog runs on its own thread; telling it more often than this only costs time.
constexpr ULONGLONG kUpdateEveryMs = 100;

}  // namespace

HRESULT CreateShellProgressDialog(IProgressDialog** out) {
    return ::CoCreateInstance(kClsidProgressDialog, nullptr, CLSCTX_INPROC_SERVER,
                              kIidProgressDialog, reinterpret_cast<void**>(out));
}

ShellProgress::ShellProgress(HWND owner, bool showDialog, ProgressDialogFactory factory,
                             ULONGLONG delayMs)
    // A window handle that is not (or no longer) a window would leave the dialog's own
    // thread unable to create it, and the shell's dialog waiting for it.
    : owner_(::IsWindow(owner) ? owner : nullptr),
      wanted_(showDialog && factory),
      factory_(std::move(factory)),
      start_(::GetTickCount64()),
      delay_(delayMs) {}

ShellProgress::~ShellProgress() {
    if (dialog_ == nullptr) return;
    dialog_->StopProgressDialog();
    dialog_->Release();
}

void ShellProgress::Open() {
    wanted_ = false;  // one attempt: a shell without the dialog is not asked again per block
    IProgressDialog* dialog = nullptr;
    if (FAILED(factory_(&dialog)) || dialog == nullptr) return;
    dialog->SetTitle(kMessageTitle);
    dialog->SetLine(1, kShreddingText, FALSE, nullptr);
    if (FAILED(dialog->StartProgressDialog(
            owner_, nullptr, PROGDLG_NORMAL | PROGDLG_AUTOTIME | PROGDLG_NOMINIMIZE, nullptr))) {
        dialog->Release();
        return;
    }
    dialog_ = dialog;
}

bool ShellProgress::Continue(const shred::Path& file, std::uint64_t done, std::uint64_t total) {
    // At most every 100 ms, also across many small files: a walk over thousands of them
    // must not spend its time talking to the dialog.
    const ULONGLONG now = ::GetTickCount64();
    if (lastUpdate_ != 0 && now - lastUpdate_ < kUpdateEveryMs) return true;
    lastUpdate_ = now;
    if (wanted_ && now - start_ >= delay_) Open();
    if (dialog_ == nullptr) return true;
    dialog_->SetLine(2, file.c_str(), TRUE, nullptr);
    dialog_->SetProgress64(done, total);
    return !dialog_->HasUserCancelled();
}

}  // namespace ardshred
