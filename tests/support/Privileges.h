#pragma once

namespace testing_support {

// While alive, the process is held to file permissions as an ordinary user is, even when
// it runs as root (CI does): the capabilities that override permission bits are dropped
// from the effective set and given back at the end of the scope.
class FilePermissionsEnforced {
public:
    FilePermissionsEnforced();
    ~FilePermissionsEnforced();
    FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
    FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;

private:
    bool m_dropped = false;
};

} // namespace testing_support
