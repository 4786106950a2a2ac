#include "platform/posix/PosixFileSystem.h"

#include "platform/Exception.h"
#include "platform/RunTime.h"
#include "platform/posix/FileDescriptor.h"
#include "platform/posix/WindowsErrors.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int errorPathNotFound = 3;

bool IsDriveRoot(const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':')
        return false;
    return windowsPath.find_first_not_of("\\/", 2) == std::string::npos;
}

bool ParentExists(const std::string& hostPath) {
    std::error_code ignored;
    return std::filesystem::is_directory(std::filesystem::path(hostPath).parent_path(), ignored);
}

// Copies every byte; false with errno set on a failed read or write.
bool CopyBytes(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got))))
            return false;
    }
}

CopyResult Failed(const std::string& where, int error) {
    return {CopyOutcome::Failed, where + ": " + ErrorText(error)};
}

} // namespace

PosixFileSystem::PosixFileSystem(DriveMap drives) : m_drives(std::move(drives)) {}

std::optional<std::string> PosixFileSystem::HostPathOf(const std::string& windowsPath) const {
    if (windowsPath.size() >= 2 && windowsPath[1] == ':')
        return m_drives.HostPath(windowsPath);
    std::string relative = windowsPath;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    return relative;
}

void PosixFileSystem::ChDir(const std::string& directory) {
    const auto host = HostPathOf(directory);
    if (!host)
        throw EInOutError(errorPathNotFound); // an unmapped drive, as a missing drive
    if (::chdir(host->c_str()) != 0) {
        const int error = errno;
        // A drive root that is not there is a missing drive, not a missing folder.
        throw EInOutError(WindowsErrorCode(error, !IsDriveRoot(directory) && ParentExists(*host)));
    }
}

CopyResult PosixFileSystem::CopyFileFailIfExists(const std::string& source,
                                                 const std::string& destination) {
    const auto from = HostPathOf(source);
    const auto to = HostPathOf(destination);
    if (!from)
        return Failed(source, ENOENT);
    if (!to)
        return Failed(destination, ENOENT);
    struct stat existing {};
    if (::lstat(to->c_str(), &existing) == 0)
        return {CopyOutcome::DestinationExists, {}};

    FileDescriptor in(::open(from->c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceStatus {};
    if (in.Get() < 0 || ::fstat(in.Get(), &sourceStatus) != 0)
        return Failed(source, errno);

    // Staged beside the destination and moved into place only where nothing is yet, so
    // that no half-copied file is ever seen and an existing file is never replaced.
    const std::string folder = std::filesystem::path(*to).parent_path().string();
    std::string staged = folder + "/.copy-XXXXXX";
    FileDescriptor out(::mkostemp(staged.data(), O_CLOEXEC));
    if (out.Get() < 0)
        return Failed(ExtractFileDir(destination), errno);
    const bool copied = CopyBytes(in.Get(), out.Get()) &&
                        ::fchmod(out.Get(), sourceStatus.st_mode & 07777) == 0 &&
                        ::fsync(out.Get()) == 0 && out.Close();
    if (!copied) {
        const int error = errno;
        ::unlink(staged.c_str());
        return Failed(destination, error);
    }
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE) != 0) {
        const int error = errno;
        ::unlink(staged.c_str());
        if (error == EEXIST)
            return {CopyOutcome::DestinationExists, {}};
        return Failed(destination, error);
    }
    return {CopyOutcome::Copied, {}};
}

} // namespace platform
