#pragma once

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/ComputerName.h"
#include "platform/DatabaseCommand.h"
#include "platform/FileSystem.h"
#include "platform/LocalAddress.h"
#include "platform/MessageBoxes.h"
#include "platform/Processes.h"
#include "platform/ProfileStore.h"
#include "platform/Shell.h"

namespace platform {

// Every component the launcher's logic reaches the outside world through.
struct Platform {
    Application& application;
    Clock& clock;
    ComputerName& computerName;
    DatabaseCommand& database;
    FileSystem& files;
    LocalAddress& localAddress;
    MessageBoxes& boxes;
    Processes& processes;
    ProfileStore& profiles;
    Shell& shell;
};

} // namespace platform
