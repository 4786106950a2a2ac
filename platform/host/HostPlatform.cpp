#include "platform/host/HostPlatform.h"

#include "platform/HostDrives.h"
#include "platform/freetds/FreeTdsDatabaseCommand.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixComputerName.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixLocalAddress.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/PosixProfileStore.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtShell.h"

#include <filesystem>

namespace platform {
namespace {

// The running program's own path, as the launcher sees it on its drives.
std::string ExecutableWindowsPath(const DriveMap& drives) {
    return drives.WindowsPath(std::filesystem::read_symlink("/proc/self/exe").string());
}

} // namespace

struct HostPlatform::Parts {
    Parts(int& argc, char** argv)
        : drives(HostDriveMap()), application(argc, argv, ExecutableWindowsPath(drives)),
          files(drives), profiles(drives),
          boxes(application), components{application,  clock, computerName, database, files,
                                         localAddress, boxes, processes,    profiles, shell} {}

    DriveMap drives;
    qt::QtApplication application;
    PosixClock clock;
    PosixComputerName computerName;
    FreeTdsDatabaseCommand database;
    PosixFileSystem files;
    PosixLocalAddress localAddress;
    PosixProfileStore profiles;
    PosixProcesses processes;
    qt::QtMessageBoxes boxes;
    qt::QtShell shell;
    Platform components;
};

HostPlatform::HostPlatform(int& argc, char** argv) : m_parts(std::make_unique<Parts>(argc, argv)) {}

HostPlatform::~HostPlatform() = default;

Platform& HostPlatform::Components() {
    return m_parts->components;
}

} // namespace platform
