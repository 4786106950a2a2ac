#include "platform/host/HostPlatform.h"

#include "platform/win32/OdbcDatabaseCommand.h"
#include "platform/win32/Win32Application.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ComputerName.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LocalAddress.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32ProfileStore.h"
#include "platform/win32/Win32Shell.h"

namespace platform {

struct HostPlatform::Parts {
    Parts()
        : boxes(application), components{application,  clock, computerName, database, files,
                                         localAddress, boxes, processes,    profiles, shell} {}

    win32::Win32Application application;
    win32::Win32Clock clock;
    win32::Win32ComputerName computerName;
    win32::OdbcDatabaseCommand database;
    win32::Win32FileSystem files;
    win32::Win32LocalAddress localAddress;
    win32::Win32ProfileStore profiles;
    win32::Win32Processes processes;
    win32::Win32MessageBoxes boxes;
    win32::Win32Shell shell;
    Platform components;
};

// Windows gives the program nothing through its arguments that the launcher reads.
HostPlatform::HostPlatform(int&, char**) : m_parts(std::make_unique<Parts>()) {}

HostPlatform::~HostPlatform() = default;

Platform& HostPlatform::Components() {
    return m_parts->components;
}

} // namespace platform
