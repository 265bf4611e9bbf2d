#include "app/program.h"

#include "app/mainform.h"
#include "monitor/enumfrm.h"
#include "monitor/memory_monitor.h"

namespace orv::app {

namespace {

// The processor and memory monitor on the "System Monitoring" frame.
struct MonitorPanel : mainform::Panel {
    MonitorPanel(mainform& main, shell::AppContext& ctx) : panel(main, main.SMframe, ctx) {}
    monitor::MonitorPanel panel;
};

// A hook that is already filled (a test watching the start-up) is left as it is.
void AttachMonitor(mainform& main, shell::AppContext& ctx) {
    auto& m = main.Attach<MonitorPanel>(ctx).panel;
    if (!main.FillMemoryDisplay) main.FillMemoryDisplay = [&m] { m.FillMemoryDisplay(); };
    if (!main.ReadAutoOptimize) main.ReadAutoOptimize = [&m] { m.ReadAutoOptimize(); };
    main.OpenProcessManager = [&main, &ctx] {
        ctx.forms.Get<monitor::enumfrm>(ctx, main).Show(&main, true);
    };
}

}  // namespace

Program::Program(ui::Host& host, platform::Platform& platform)
    : log_(platform.files), ctx_{host, platform, forms_, log_} {
    // What escapes a handler ends up in the log instead of ending the program.
    host.SetErrorSink([this](const ui::HandlerFailure& f) {
        log_.LogError(f.number, f.description, kGuardModule,
                      f.source.empty() ? std::string_view(kGuardProcedure) : f.source);
    });
}

// The host may outlive the program; its guard must not report into a log that is gone.
Program::~Program() {
    ctx_.host.SetErrorSink(nullptr);
}

mainform& Program::Main() {
    return forms_.Get<mainform>(ctx_);
}

bool Program::Start() {
    mainform& main = Main();
    // Features attach to the main window here, before it loads, so that the
    // language and skin walks of the start-up see their controls.
    AttachMonitor(main, ctx_);
    main.Show();
    return main.Loaded();
}

}  // namespace orv::app
