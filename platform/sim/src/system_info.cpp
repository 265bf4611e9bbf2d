#include "platform/sim/machine.h"

namespace orv::sim {

using namespace orv::platform;

std::optional<std::string> SimSystemInfo::ComputerName() {
    if (fail) return std::nullopt;
    return computer_name;
}

std::optional<std::string> SimSystemInfo::UserName() {
    if (fail) return std::nullopt;
    return user_name;
}

std::optional<MemoryFigures> SimSystemInfo::Memory() {
    if (fail) return std::nullopt;
    return memory;
}

std::optional<OsVersion> SimSystemInfo::Version() {
    if (fail) return std::nullopt;
    return version;
}

}  // namespace orv::sim
