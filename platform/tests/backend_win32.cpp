#include <windows.h>

#include <atomic>
#include <vector>

#include "backend.h"
#include "platform/win32/platform.h"

namespace orv::testing {
namespace {

using win32::Wide;

class Win32Backend : public TestBackend {
  public:
    Win32Backend() : real_(win32::MakePlatform()) {
        platform_ = &real_->platform;
        static std::atomic<int> counter{0};
        std::string unique =
            std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++);
        sandbox_key_ = "Software\\OrvelleTests\\" + unique;
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(sandbox_key_).c_str());
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(sandbox_key_).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &k, nullptr);
        if (k) RegCloseKey(k);
        wchar_t tmp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, tmp);
        temp_folder_ = win32::Narrow(tmp) + "orvelle-test-" + unique;
        CreateDirectoryW(Wide(temp_folder_).c_str(), nullptr);
    }
    ~Win32Backend() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(sandbox_key_).c_str());
        std::wstring users_key = L".DEFAULT\\" + Wide(sandbox_key_);
        RegDeleteTreeW(HKEY_USERS, users_key.c_str());
        RemoveTree(Wide(temp_folder_));
        for (HANDLE child : children_) {
            TerminateProcess(child, 1);
            CloseHandle(child);
        }
    }
    void WriteFile(std::string_view path, std::string_view bytes) override {
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    bool IsWine() const override {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }
    bool IsSim() const override { return false; }
    bool Deny(std::string_view, std::uint32_t) override { return false; }
    // orv_test_child.exe beside the test executable.
    std::uint32_t StartChild() override {
        wchar_t self[MAX_PATH + 1] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring path = self;
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"orv_test_child.exe";
        std::wstring command = L"\"" + path + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &pi))
            return 0;
        CloseHandle(pi.hThread);
        children_.push_back(pi.hProcess);
        return pi.dwProcessId;
    }

  private:
    std::vector<HANDLE> children_;
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring n = fd.cFileName;
                if (n == L"." || n == L"..") continue;
                std::wstring p = dir + L"\\" + n;
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(p);
                else
                    DeleteFileW(p.c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    std::unique_ptr<win32::RealPlatform> real_;
};

}  // namespace

std::unique_ptr<TestBackend> MakeTestBackend() {
    return std::make_unique<Win32Backend>();
}

}  // namespace orv::testing
