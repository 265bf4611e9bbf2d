// cMenu: the context-menu handler. Explorer hands it the selection (IShellExtInit), asks it
// for its one menu item and the item's texts (IContextMenu), and invokes it to shred.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "progress.h"

namespace ardshred {

class CMenu final : public IShellExtInit, public IContextMenu, public IDispatch {
  public:
    // Shows a message to the user; replaceable so tests can see what would be said.
    using Notifier = std::function<void(HWND owner, const std::wstring& text, UINT type)>;

    CMenu();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IShellExtInit
    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data,
                                         HKEY progIdKey) override;

    // IContextMenu
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT idCmdFirst,
                                               UINT idCmdLast, UINT flags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR idCmd, UINT type, UINT* reserved,
                                               CHAR* name, UINT cchMax) override;

    // IDispatch, for the _cMenu interface of the type library (it has no members).
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                                     UINT* argError) override;

    // Index 0 is always the empty entry; the selected paths follow in the shell's order.
    const std::vector<std::wstring>& Selection() const { return selection_; }
    void SetNotifier(Notifier notifier) { notify_ = std::move(notifier); }
    // Where the progress dialog comes from, and after how long it appears; for tests.
    void SetProgressDialog(ProgressDialogFactory factory, ULONGLONG delayMs) {
        progressFactory_ = std::move(factory);
        progressDelay_ = delayMs;
    }

  private:
    ~CMenu();
    HRESULT ShredSelection(const CMINVOKECOMMANDINFO& info);

    std::atomic<ULONG> refs_{1};
    std::vector<std::wstring> selection_{std::wstring()};
    Notifier notify_;
    ProgressDialogFactory progressFactory_ = CreateShellProgressDialog;
    ULONGLONG progressDelay_ = 1000;
    bool shredding_ = false;  // a shred pumps messages, through which a second one may arrive
};

// Creates a cMenu with one reference held by the caller.
CMenu* CreateCMenu();

}  // namespace ardshred
