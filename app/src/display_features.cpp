#include "app/display_features.h"

#include "app/mainform.h"
#include "monitor/sysinfo_panel.h"
#include "tools/fontsfrm.h"
#include "tools/icons.h"
#include "tools/syscolors.h"
#include "tweaks/display_panel.h"
#include "tweaks/drives_panel.h"

namespace orv::app {
namespace {

// A feature's panel owned by the main window, created on one of its frames.
template <class T>
struct Attached : mainform::Panel {
    Attached(mainform& main, ui::Frame& frame) : panel(main, frame, main.Context().platform) {}
    T panel;
};

// A hook already filled is left alone: whoever set it before the start (a
// test recording the start-up order) keeps it.
void FillHook(std::function<void()>& hook, std::function<void()> fill) {
    if (!hook) hook = std::move(fill);
}

}  // namespace

DisplayFeatures AttachDisplayFeatures(mainform& main) {
    auto& display = main.Attach<Attached<tweaks::DisplayPanel>>(main.VoptionsFrame0).panel;
    auto& drives = main.Attach<Attached<tweaks::DrivesPanel>>(main.drivesframe).panel;
    auto& info = main.Attach<Attached<monitor::SystemInfoPanel>>(main.SIFrame).panel;
    FillHook(main.FillDisplayColour, [&display] { display.FillColour(); });
    FillHook(main.FillWallpaperPreview, [&display] { display.FillWallpaper(); });
    FillHook(main.FillDrives, [&drives] { drives.Fill(); });
    FillHook(main.RefreshDriveFigures, [&drives] { drives.Refresh(); });
    FillHook(main.FillSystemInformation, [&info] { info.Fill(); });
    main.OpenSystemColors = [&main] {
        shell::AppContext& ctx = main.Context();
        ctx.forms.Get<tools::syscolors>(ctx, main).Show(&main, true);
    };
    main.OpenFonts = [&main] {
        shell::AppContext& ctx = main.Context();
        ctx.forms.Get<tools::Fontsfrm>(ctx, main).Show(&main, true);
    };
    display.fontcmd.onClick = [&main] {
        if (main.OpenFonts) main.OpenFonts();
    };
    drives.OpenIcons = [&main] {
        shell::AppContext& ctx = main.Context();
        ctx.forms.Get<tools::iconsfrm>(ctx, main).Show(&main, true);
    };
    return {display, drives, info};
}

}  // namespace orv::app
