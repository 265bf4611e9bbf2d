// The Windows entry point: the real platform and the native host under the
// program. Everything else happens in the main window's load and handlers.
#include <exception>
#include <memory>
#include <string>

#include "app/program.h"
#include "platform/win32/platform.h"
#include "ui/native_host.h"

// Last: <windows.h> defines MessageBox as a macro, which must not rename the
// host's member of that name in the declarations above.
#include <windows.h>

#include "ole_apartment.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        // Before the first window and balanced after the last one is gone.
        orv::app::OleApartment apartment;
        std::unique_ptr<orv::win32::RealPlatform> real = orv::win32::MakePlatform();
        orv::ui::NativeHost host;
        orv::app::Program program(host, real->platform);
        // A second copy ends here without having shown anything.
        if (!program.Start()) return 0;
        return host.RunMessageLoop();
    } catch (const std::exception& e) {
        // Only the set-up itself can get here (handlers run inside the host's
        // guard): without a platform or a host there is no window to keep.
        std::wstring text = L"Orvelle could not start:\n" + orv::win32::Wide(e.what());
        MessageBoxW(nullptr, text.c_str(), L"Orvelle", MB_OK | MB_ICONERROR);
        return 1;
    }
}
