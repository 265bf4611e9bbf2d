// Any value data, of any type, converts without reading past it.
#include <vector>

#include "fuzz.h"
#include "platform/sim/world.h"
#include "registry/regpath.h"
#include "registry/routines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    if (size < 1) return 0;
    static sim::SimEnvironment env;
    sim::SimRegistry reg;
    platform::RegValue value{static_cast<std::uint32_t>(data[0] % 13),
                             std::vector<std::uint8_t>(data + 1, data + size)};
    registry::RegistryRoutines routines(reg, env);
    routines.Convert(value);
    platform::HKey k = 0;
    reg.CreateKey(platform::kCurrentUser, "k", platform::kKeyAllAccess, k);
    reg.SetValue(k, "v", value);
    reg.CloseKey(k);
    registry::RegistryPaths paths(reg, env);
    paths.RegReadValue("HKCU\\k\\v");
    routines.EnumRegistryValues(platform::kCurrentUser, "k");
    return 0;
}
