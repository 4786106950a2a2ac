#pragma once

#include "platform/Platform.h"

// Sets the application title, creates the window (which records the launcher's path,
// its directory and the computer name) and runs it until it closes; the exit code.
int RunLauncher(platform::Platform& platform);

inline constexpr const char* applicationTitle = "筠栎软件安装程序";
