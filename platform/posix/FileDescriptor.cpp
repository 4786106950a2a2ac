#include "platform/posix/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

namespace platform {

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileDescriptor::Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace platform
