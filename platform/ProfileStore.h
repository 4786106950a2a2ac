#pragma once

#include <string>

namespace platform {

// The profile (INI) file operations, each one whole change of the named file (a Windows
// path). Names and values are UTF-8 here; in the file they are code page 936, or UTF-16 in a
// file that begins with a UTF-16 byte-order mark. Each returns false when the file cannot be
// written, leaving it exactly as it was.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual bool DeleteKey(const std::string& file, const std::string& section,
                           const std::string& key) = 0;
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

} // namespace platform
