// The program's name and version as its build records them (the CMake
// project version), for the About window and the version resource.
#pragma once

#include <string>

namespace orv::shell {

struct BuildInfo {
    std::string product;
    int major = 0;
    int minor = 0;
    int patch = 0;
    int revision = 0;
};

BuildInfo ThisBuild();

// "Version " major "." minor ".0." revision: the third place is always 0,
// as the program has always shown it.
std::string VersionText(const BuildInfo& build);

}  // namespace orv::shell
