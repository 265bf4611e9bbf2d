// The in-process server's entry points: the class factory of cMenu, DllGetClassObject and
// DllCanUnloadNow. Explorer calls DllCanUnloadNow on idle extensions and unloads the DLL when
// it answers S_OK, so every live object, factory reference and server lock must count.
#include <windows.h>

#include <unknwn.h>

#include "cmenu.h"
#include "identity.h"
#include "module.h"

namespace ardshred {
namespace {

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    // The factory is a static object: its references only keep the module loaded.
    ULONG STDMETHODCALLTYPE AddRef() override {
        LockModule();
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        UnlockModule();
        return 1;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        CMenu* menu = CreateCMenu();
        if (menu == nullptr) return E_OUTOFMEMORY;
        const HRESULT hr = menu->QueryInterface(iid, out);
        menu->Release();  // the caller's reference from QueryInterface keeps it alive
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? LockModule() : UnlockModule();
        return S_OK;
    }
};

ClassFactory g_factory;

}  // namespace
}  // namespace ardshred

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, ardshred::kClsidCMenu)) return CLASS_E_CLASSNOTAVAILABLE;
    return ardshred::g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
    return ardshred::ModuleInUse() ? S_FALSE : S_OK;
}

}  // extern "C"
