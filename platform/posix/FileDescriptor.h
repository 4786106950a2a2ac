#pragma once

#include <string_view>

namespace platform {

// Owns an open file descriptor and closes it at the end of its scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now, because close can report a write that failed late (NFS, quotas).
    bool Close();

private:
    int m_fd;
};

// Writes every byte, going on after interrupted and short writes; false with errno set.
bool WriteAll(int fd, std::string_view bytes);

} // namespace platform
