#include "app/program.h"

#include "app/mainform.h"

namespace orv::app {

Program::Program(ui::Host& host, platform::Platform& platform)
    : log_(platform.files), ctx_{host, platform, forms_, log_} {
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
    main.PrepareLook();
    main.Show();
    return main.Loaded();
}

}  // namespace orv::app
