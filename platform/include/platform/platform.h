// The bundle of platform groups handed to every window when it is created.
// No globals: a test builds a fresh simulated world and passes it in.
#pragma once

#include "platform/display.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/pictures.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/shortcuts.h"
#include "platform/sysparams.h"
#include "platform/system_info.h"

namespace orv::platform {

struct Platform {
    Registry& registry;
    Environment& environment;
    SettingsStore& settings;
    ProfileFiles& profiles;
    Files& files;
    Shell& shell;
    SystemParameters& sysparams;
    Display& display;
    Drives& drives;
    Pictures& pictures;
    SystemInfo& system_info;
    Shortcuts& shortcuts;
    Processes& processes;
    Fonts& fonts;
};

}  // namespace orv::platform
