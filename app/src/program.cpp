#include "app/program.h"

#include "app/mainform.h"
#include "health/pchealth.h"

namespace orv::app {

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
    main.OpenHealthWindow = [this, &main] {
        forms_.Get<health::pchealth>(ctx_, main).Show(&main, true);
    };
    main.Show();
    return main.Loaded();
}

}  // namespace orv::app
