// uidemo.exe [--plain] [--splash-wait MS]: the demo of the control runtime.
// The skin and the splash are read from the executable's folder.
#include <cstdio>
#include <memory>
#include <string>

#include "demo.h"
#include "ui/native_host.h"

#include <windows.h>

#include <shellapi.h>

namespace {

std::wstring Folder() {
    wchar_t path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::string Utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                            nullptr);
    }
    return s;
}

std::string ReadFile(const std::wstring& path) {
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buf[65536];
        for (std::size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
        fclose(f);
    }
    return bytes;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool plain = false;
    int splash_wait = 0;
    for (int i = 1; argv && i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--plain") plain = true;
        if (a == L"--splash-wait" && i + 1 < argc) splash_wait = _wtoi(argv[++i]);
    }
    if (argv) LocalFree(argv);

    orv::ui::NativeHost host;
    host.SetErrorSink([](const orv::ui::HandlerFailure& f) {
        OutputDebugStringA(("uidemo: " + f.description + "\n").c_str());
    });
    orv::ui::Forms forms;
    const std::wstring folder = Folder();
    orv::demo::DemoContext ctx{
        host, forms, nullptr, ReadFile(folder + L"\\Splash.spl"), splash_wait, Utf8(folder)};
    if (!plain) ctx.skin = orv::ui::ParseSkin(ReadFile(folder + L"\\winaquas.skn"));
    forms.Get<orv::demo::DemoMain>(ctx).Show();
    return host.RunMessageLoop();
}
