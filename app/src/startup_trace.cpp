#include "app/startup_trace.h"

#include <utility>

namespace orv::app {

namespace {
std::function<void(std::string_view)>& Sink() {
    static std::function<void(std::string_view)> sink;
    return sink;
}
}  // namespace

void SetStartupTrace(std::function<void(std::string_view point)> sink) {
    Sink() = std::move(sink);
}

void TraceStartup(std::string_view point) {
    if (Sink()) Sink()(point);
}

}  // namespace orv::app
