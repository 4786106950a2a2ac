#pragma once

#include "platform/ProfileStore.h"

#include <string>

namespace platform {

// The INI object: remembers a file name and sends each operation straight to the
// profile store. Raises "Unable to write to <file>" where the run-time library does.
class TIniFile {
public:
    TIniFile(ProfileStore& store, std::string fileName);

    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);
    void UpdateFile();
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    [[noreturn]] void RaiseUnableToWrite() const;

    ProfileStore& m_store;
    std::string m_fileName;
};

} // namespace platform
