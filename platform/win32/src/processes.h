// The real processes, memory and version group (kernel32 and Toolhelp).
#pragma once

#include <memory>

#include "platform/processes.h"

namespace orv::win32 {

std::unique_ptr<platform::Processes> MakeProcesses();

}  // namespace orv::win32
