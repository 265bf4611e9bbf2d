#include <windows.h>

#include "module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        ardshred::SetModuleInstance(instance);
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
