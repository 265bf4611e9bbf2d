// The bundle of platform groups handed to every window when it is created.
// No globals: a test builds a fresh simulated world and passes it in.
#pragma once

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/sysparams.h"

namespace orv::platform {

struct Platform {
    Registry& registry;
    Environment& environment;
    SettingsStore& settings;
    ProfileFiles& profiles;
    Files& files;
    Shell& shell;
    SystemParameters& sysparams;
    Processes& processes;
};

}  // namespace orv::platform
