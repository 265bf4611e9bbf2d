// DllRegisterServer / DllUnregisterServer. Besides the class, ProgID and type library, the
// server registers what makes Explorer load it: a context-menu handler for all files ("*")
// and for folders ("Directory"), and an entry in the approved shell extensions. Parent keys
// that registration had to create (a fresh system may lack "Directory\shellex") are recorded
// under the class key, so unregistration removes exactly what registration added.
#include <windows.h>

#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "identity.h"
#include "module.h"

namespace ardshred {
namespace {

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kClsidText;
constexpr wchar_t kHandlerName[] = L"ArdenoShredder";
const std::wstring kHandlerParents[] = {L"*\\shellex\\ContextMenuHandlers",
                                        L"Directory\\shellex\\ContextMenuHandlers"};
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr wchar_t kCreatedValue[] = L"CreatedKeys";

struct Root {
    HKEY key;
    const wchar_t* name;
};
const Root kClassesRoot{HKEY_CLASSES_ROOT, L"HKCR"};
const Root kMachineRoot{HKEY_LOCAL_MACHINE, L"HKLM"};

class Key {
  public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { Reset(); }
    HKEY* Out() {
        Reset();
        return &key_;
    }
    HKEY Get() const { return key_; }
    void Adopt(Key& other) {
        Reset();
        key_ = other.key_;
        other.key_ = nullptr;
    }
    void Reset() {
        if (key_ != nullptr) ::RegCloseKey(key_);
        key_ = nullptr;
    }

  private:
    HKEY key_ = nullptr;
};

// Creates root\path one component at a time, noting in created every key that did not exist.
LSTATUS CreatePath(const Root& root, const std::wstring& path, Key& out,
                   std::vector<std::wstring>* created) {
    HKEY parent = root.key;
    Key current;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        const std::wstring component = path.substr(start, end - start);
        Key next;
        DWORD disposition = 0;
        const LSTATUS status =
            ::RegCreateKeyExW(parent, component.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                              nullptr, next.Out(), &disposition);
        if (status != ERROR_SUCCESS) return status;
        if (disposition == REG_CREATED_NEW_KEY && created != nullptr)
            created->push_back(std::wstring(root.name) + L"\\" + path.substr(0, end));
        current.Adopt(next);
        parent = current.Get();
        start = end + 1;
    }
    out.Adopt(current);
    return ERROR_SUCCESS;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LSTATUS WriteKey(const Root& root, const std::wstring& path,
                 std::initializer_list<std::pair<const wchar_t*, std::wstring>> values,
                 std::vector<std::wstring>* created = nullptr) {
    Key key;
    LSTATUS status = CreatePath(root, path, key, created);
    for (const auto& [name, value] : values) {
        if (status == ERROR_SUCCESS) status = SetString(key.Get(), name, value);
    }
    return status;
}

std::vector<std::wstring> ReadCreatedKeys() {
    std::vector<std::wstring> keys;
    DWORD type = 0, size = 0;
    if (::RegGetValueW(HKEY_CLASSES_ROOT, kClassKey.c_str(), kCreatedValue, RRF_RT_REG_MULTI_SZ,
                       &type, nullptr, &size) != ERROR_SUCCESS)
        return keys;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_CLASSES_ROOT, kClassKey.c_str(), kCreatedValue, RRF_RT_REG_MULTI_SZ,
                       &type, buffer.data(), &size) != ERROR_SUCCESS)
        return keys;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
        const std::size_t end = buffer.find(L'\0', at);
        keys.push_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    return keys;
}

LSTATUS WriteCreatedKeys(const std::vector<std::wstring>& keys) {
    std::wstring data;
    for (const auto& key : keys) data += key + L'\0';
    data += L'\0';
    Key key;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, kClassKey.c_str(), 0, KEY_WRITE, key.Out());
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExW(key.Get(), kCreatedValue, 0, REG_MULTI_SZ,
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

bool Gone(LSTATUS status) {
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// Deletes a key recorded as created by registration, but only while it is empty: anything
// that another program has put there since is not ours to remove.
void DeleteIfEmpty(const std::wstring& recorded) {
    const bool classes = recorded.starts_with(L"HKCR\\");
    if (!classes && !recorded.starts_with(L"HKLM\\")) return;
    const HKEY root = classes ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
    const std::wstring path = recorded.substr(5);
    Key key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Out()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0, values = 0;
    if (::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    key.Reset();
    if (subkeys == 0 && values == 0) ::RegDeleteKeyW(root, path.c_str());
}

HRESULT Unregister() {
    const std::vector<std::wstring> created = ReadCreatedKeys();
    bool ok = true;
    const HRESULT typelib =
        ::UnRegisterTypeLib(kLibid, kLibMajor, kLibMinor, LOCALE_NEUTRAL, SYS_WIN64);
    ok &= SUCCEEDED(typelib) || typelib == TYPE_E_REGISTRYACCESS ||
          typelib == TYPE_E_LIBNOTREGISTERED;
    ok &= Gone(::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str()));
    ok &= Gone(::RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId));
    for (const auto& parent : kHandlerParents) {
        const std::wstring handler = parent + L"\\" + kHandlerName;
        ok &= Gone(::RegDeleteTreeW(HKEY_CLASSES_ROOT, handler.c_str()));
    }
    ok &= Gone(::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText));
    // Recorded parents come outermost first; remove the innermost first.
    for (auto it = created.rbegin(); it != created.rend(); ++it) DeleteIfEmpty(*it);
    return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT Register() {
    const std::wstring path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(::GetLastError());
    std::vector<std::wstring> created = ReadCreatedKeys();  // keep the record of an earlier run
    const std::wstring clsid = kClsidText;
    LSTATUS status = WriteKey(kClassesRoot, kClassKey, {{nullptr, kProgId}});
    if (status == ERROR_SUCCESS)
        status = WriteKey(kClassesRoot, kClassKey + L"\\InprocServer32",
                          {{nullptr, path}, {L"ThreadingModel", L"Apartment"}});
    if (status == ERROR_SUCCESS)
        status = WriteKey(kClassesRoot, kClassKey + L"\\ProgID", {{nullptr, kProgId}});
    if (status == ERROR_SUCCESS)
        status = WriteKey(kClassesRoot, kClassKey + L"\\TypeLib", {{nullptr, kLibidText}});
    if (status == ERROR_SUCCESS)
        status = WriteKey(kClassesRoot, kClassKey + L"\\VERSION", {{nullptr, L"1.0"}});
    if (status == ERROR_SUCCESS) status = WriteKey(kClassesRoot, kProgId, {{nullptr, kProgId}});
    if (status == ERROR_SUCCESS)
        status = WriteKey(kClassesRoot, std::wstring(kProgId) + L"\\CLSID", {{nullptr, clsid}});
    for (const auto& parent : kHandlerParents) {
        if (status != ERROR_SUCCESS) break;
        Key key;
        status = CreatePath(kClassesRoot, parent, key, &created);
        if (status == ERROR_SUCCESS)
            status = WriteKey(kClassesRoot, parent + L"\\" + kHandlerName, {{nullptr, clsid}});
    }
    if (status == ERROR_SUCCESS)
        status = WriteKey(kMachineRoot, kApprovedKey, {{kClsidText, kLibraryName}}, &created);
    if (status == ERROR_SUCCESS) status = WriteCreatedKeys(created);
    HRESULT hr = HRESULT_FROM_WIN32(status);
    if (SUCCEEDED(hr)) {
        ITypeLib* library = nullptr;
        hr = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
        if (SUCCEEDED(hr)) {
            // RegisterTypeLib takes a non-const path but does not write to it.
            std::wstring pathCopy = path;
            hr = ::RegisterTypeLib(library, pathCopy.data(), nullptr);
            library->Release();
        }
    }
    // A half-done registration is taken back whole.
    if (FAILED(hr)) Unregister();
    return hr;
}

}  // namespace
}  // namespace ardshred

extern "C" {
STDAPI DllRegisterServer() {
    return ardshred::Register();
}
STDAPI DllUnregisterServer() {
    return ardshred::Unregister();
}
}
