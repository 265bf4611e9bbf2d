// The window thread's COM apartment: the shell's calls and the folder chooser
// need COM initialised apartment-threaded, and OleInitialize gives that plus
// the OLE services (clipboard, drag and drop) on the same thread.
#pragma once

#include <windows.h>

#include <ole2.h>

namespace orv::app {

class OleApartment {
  public:
    // S_FALSE (already initialised here) counts too and is balanced the same.
    // RPC_E_CHANGED_MODE (the thread is in the multithreaded apartment) is
    // not ours to undo.
    OleApartment() : result_(OleInitialize(nullptr)) {}
    ~OleApartment() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

    bool Joined() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

  private:
    HRESULT result_;
};

}  // namespace orv::app
