#include "app/program.h"

#include <functional>
#include <utility>

#include "app/display_features.h"
#include "app/mainform.h"
#include "health/pchealth.h"
#include "monitor/enumfrm.h"
#include "monitor/memory_monitor.h"
#include "tweaks/explorer.h"
#include "tweaks/input.h"
#include "tweaks/start_menu.h"

namespace orv::app {

namespace {

// A feature's part of the main window, owned by the window like its own controls.
template <class T>
struct Attached : mainform::Panel {
    template <class... Args>
    explicit Attached(mainform& main, Args&&... args) : part(main, std::forward<Args>(args)...) {}
    T part;
};

// Adds `fill` to a start-up hook; what the hook already held runs first.
void AddToHook(std::function<void()>& hook, std::function<void()> fill) {
    if (!hook) {
        hook = std::move(fill);
        return;
    }
    hook = [before = std::move(hook), fill = std::move(fill)] {
        before();
        fill();
    };
}

void AttachTweaks(mainform& main, platform::Platform& platform) {
    auto& input = main.Attach<Attached<tweaks::InputPanel>>(platform, main.Inputframe).part;
    AddToHook(main.FillKeyboardMouse, [&input] { input.Load(); });
    auto& start = main.Attach<Attached<tweaks::StartMenuPages>>(platform, main.VoptionsFrame1,
                                                                main.VoptionsFrame2, main.applymenu,
                                                                [&main] { main.SkinForm(main); })
                      .part;
    AddToHook(main.FillStartMenuDesktop, [&start] { start.Load(); });
    auto& explorer = main.Attach<Attached<tweaks::ExplorerPages>>(platform, main.OptionsFrame0,
                                                                  main.OptionsFrame1, main.cd1)
                         .part;
    AddToHook(main.FillExplorer, [&explorer] { explorer.Load(); });
}

// The processor and memory monitor on the "System Monitoring" frame; "Tasks"
// opens the process manager.
void AttachMonitor(mainform& main, shell::AppContext& ctx) {
    auto& monitor = main.Attach<Attached<monitor::MonitorPanel>>(main.SMframe, ctx).part;
    AddToHook(main.FillMemoryDisplay, [&monitor] { monitor.FillMemoryDisplay(); });
    AddToHook(main.ReadAutoOptimize, [&monitor] { monitor.ReadAutoOptimize(); });
    main.OpenProcessManager = [&main, &ctx] {
        ctx.forms.Get<monitor::enumfrm>(ctx, main).Show(&main, true);
    };
}

}  // namespace

Program::Program(ui::Host& host, platform::Platform& platform)
    : log_(platform.files, &platform.environment), ctx_{host, platform, forms_, log_} {
    // What escapes a handler ends up in the log instead of ending the program.
    host.SetErrorSink([this](const ui::HandlerFailure& f) { LogOnce(f); });
}

void Program::LogOnce(const ui::HandlerFailure& f) {
    std::string_view module = f.where.empty() ? kGuardModule : std::string_view(f.where);
    std::string_view procedure = f.source.empty() ? kGuardProcedure : std::string_view(f.source);
    // A failure is known by where, source and number; one with neither number
    // nor source has only its text to tell it from another.
    std::string key =
        std::string(module) + '\\' + std::string(procedure) + '\n' + std::to_string(f.number);
    if (f.number == 0 && f.source.empty()) key += '\n' + f.description;
    if (!logged_.insert(std::move(key)).second) return;
    log_.LogError(f.number, f.description, module, procedure);
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
    AttachTweaks(main, ctx_.platform);
    AttachDisplayFeatures(main);
    main.OpenHealthWindow = [this, &main] {
        forms_.Get<health::pchealth>(ctx_, main).Show(&main, true);
    };
    AttachMonitor(main, ctx_);
    main.PrepareLook();
    main.Show();
    return main.Loaded();
}

}  // namespace orv::app
