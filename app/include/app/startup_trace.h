// Start-up timestamps, for finding where the time goes between the process
// start and the main window painted. Nothing is recorded unless the entry
// point sets a sink (orvelle.exe does when ORVELLE_STARTUP_TRACE names a
// file); each point is a short label, the sink adds the time.
#pragma once

#include <functional>
#include <string_view>

namespace orv::app {

void SetStartupTrace(std::function<void(std::string_view point)> sink);
void TraceStartup(std::string_view point);

}  // namespace orv::app
