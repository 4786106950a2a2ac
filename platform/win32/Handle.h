#pragma once

#include <windows.h>

namespace platform::win32 {

// Owns an open file handle and closes it at the end of its scope.
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closes now, so that a failure to close can be told apart.
    bool Close() {
        const bool closed = !Valid() || ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

} // namespace platform::win32
