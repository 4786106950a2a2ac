#include "platform/RegularFile.h"

#include "platform/posix/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

FileError FromErrno(int error, const std::string& path) {
    switch (error) {
    case ENOENT: {
        // Windows tells a missing file from a missing folder on the way to it.
        std::error_code ignored;
        const bool folderExists =
            std::filesystem::is_directory(std::filesystem::path(path).parent_path(), ignored);
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

std::variant<std::vector<std::uint8_t>, FileError> ReadRegularFile(const std::string& path,
                                                                   std::size_t maxSize) {
    // Opening a FIFO or a device for reading may wait for a writer for ever, so the open
    // must not block; what it opened is then checked before a byte is read.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid())
        return FromErrno(errno, path);
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        return FromErrno(errno, path);
    if (!S_ISREG(status.st_mode))
        return FileError{5};
    if (static_cast<std::uint64_t>(status.st_size) > maxSize)
        return FileError{8};
    std::vector<std::uint8_t> content;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return FromErrno(errno, path);
        if (count == 0)
            return content;
        if (content.size() + static_cast<std::size_t>(count) > maxSize)
            return FileError{8};
        content.insert(content.end(), buffer, buffer + count);
    }
}

} // namespace platform
