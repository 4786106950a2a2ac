#pragma once

#include "platform/ReplaceFile.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

enum class FileState { Present, Missing, Unreadable };

// The whole content of a regular file, read into memory of its own. Anything else (a FIFO,
// a device, a directory) is Unreadable, without waiting for it.
class FileBytes {
public:
    explicit FileBytes(const std::string& path);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    FileState State() const { return m_state; }
    std::string_view Bytes() const { return {m_data, m_size}; }

private:
    bool Read(int fd, std::size_t expectedSize);

    FileState m_state = FileState::Missing;
    char* m_data = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_size = 0;
};

// Whether ReplaceFile may replace or create the file (a symbolic link's target): this process
// may write it, and it and its folder have their owner's write bit, which Windows' read-only
// attribute stands for, also for root, whom the permission check lets through.
bool MayReplace(const std::string& path);

} // namespace platform
