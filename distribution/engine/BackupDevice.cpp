#include "distribution/engine/BackupDevice.h"

#include "platform/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {
namespace {

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText errorTexts[] = {
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {8, "Not enough memory resources are available to process this command."},
    {206, "The filename or extension is too long."},
    {1117, "The request could not be performed because of an I/O device error."},
    {1921, "The name of the file cannot be resolved by the system."},
};

WindowsError FromErrno(int error, const std::string& hostPath) {
    switch (error) {
    case ENOENT: {
        // Windows tells a missing file from a missing folder on the way to it.
        std::error_code ignored;
        const bool folderExists =
            std::filesystem::is_directory(std::filesystem::path(hostPath).parent_path(), ignored);
        return {folderExists ? 2 : 3};
    }
    case ENOTDIR:
        return {3};
    case EACCES:
    case EPERM:
    case EISDIR:
        return {5};
    case ENAMETOOLONG:
        return {206};
    case ELOOP:
        return {1921};
    default:
        return {1117};
    }
}

} // namespace

std::string WindowsErrorText(WindowsError error) {
    for (const ErrorText& entry : errorTexts)
        if (entry.code == error.code)
            return std::to_string(error.code) + "(" + entry.text + ")";
    return std::to_string(error.code) + "(failed to retrieve text for this error.)";
}

std::variant<Bytes, WindowsError> ReadBackupDevice(const std::string& hostPath) {
    // Opening a FIFO or a device for reading may wait for a writer for ever, so the open
    // must not block; what it opened is then checked before a byte is read.
    const platform::FileDescriptor file(
        ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid())
        return FromErrno(errno, hostPath);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        return FromErrno(errno, hostPath);
    if (!S_ISREG(status.st_mode))
        return WindowsError{5};
    if (static_cast<std::uint64_t>(status.st_size) > maxBackupSize)
        return WindowsError{8};
    Bytes content;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return FromErrno(errno, hostPath);
        if (count == 0)
            return content;
        if (content.size() + static_cast<std::size_t>(count) > maxBackupSize)
            return WindowsError{8};
        content.insert(content.end(), buffer, buffer + count);
    }
}

} // namespace engine
