// Registry text from outside (a backup, a fixture) never crashes the reader,
// and whatever it loaded exports and loads back to the same text.
#include <cstdlib>
#include <string>

#include "fuzz.h"
#include "platform/sim/registry.h"
#include "registry/regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    std::string text =
        registry::DecodeRegFile(std::string(reinterpret_cast<const char*>(data), size));
    sim::SimRegistry reg;
    registry::ImportRegText(reg, text);
    for (platform::HKey root : {platform::kCurrentUser, platform::kLocalMachine}) {
        std::string once = registry::ExportRegText(reg, root, "");
        sim::SimRegistry copy;
        registry::ImportRegText(copy, once);
        if (registry::ExportRegText(copy, root, "") != once) std::abort();
    }
    return 0;
}
