#include "shell/build_info.h"

// The build passes the product name and the four parts of the project version.
#ifndef ORVELLE_PRODUCT_NAME
#error "ORVELLE_PRODUCT_NAME and ORVELLE_VERSION_* come from the build"
#endif

namespace orv::shell {

BuildInfo ThisBuild() {
    return BuildInfo{ORVELLE_PRODUCT_NAME, ORVELLE_VERSION_MAJOR, ORVELLE_VERSION_MINOR,
                     ORVELLE_VERSION_PATCH, ORVELLE_VERSION_REVISION};
}

std::string VersionText(const BuildInfo& build) {
    return "Version " + std::to_string(build.major) + "." + std::to_string(build.minor) + ".0." +
           std::to_string(build.revision);
}

}  // namespace orv::shell
