// Module-wide state of the in-process server: its instance handle and the count of
// everything that keeps it loaded (live objects, factory references, LockServer locks).
#pragma once

#include <windows.h>

#include <string>

namespace ardshred {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// Full path of this DLL, however long.
std::wstring ModulePath();

void LockModule();
void UnlockModule();
bool ModuleInUse();

}  // namespace ardshred
