#include "module.h"

#include <atomic>

namespace ardshred {
namespace {
HINSTANCE g_instance = nullptr;
std::atomic<long> g_locks{0};
}  // namespace

void SetModuleInstance(HINSTANCE instance) {
    g_instance = instance;
}
HINSTANCE ModuleInstance() {
    return g_instance;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        // A full buffer means the name was cut: grow and ask again.
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void LockModule() {
    ++g_locks;
}
void UnlockModule() {
    --g_locks;
}
bool ModuleInUse() {
    return g_locks.load() != 0;
}

}  // namespace ardshred
