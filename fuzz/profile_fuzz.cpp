// A language file with odd lines, odd bytes or odd encodings gives texts,
// never a crash.
#include <unistd.h>
#include <filesystem>
#include <string>

#include "fuzz.h"
#include "platform/sim/world.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv;
    static const auto root = std::filesystem::temp_directory_path() /
                             ("orvelle-profile-fuzz-" + std::to_string(::getpid()));
    static sim::World world(root);
    const std::string path = "C:\\lang.ini";
    world.files.WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    for (const char* key : {"1000", " 7003", "", "x"}) {
        world.profiles.GetString("Kadrim", key, "", 255, path);
        world.profiles.GetString("", key, "d", 1, path);
    }
    world.profiles.WriteString("Kadrim", "1000", "System >>", path);
    return 0;
}
