#include "platform/IniFile.h"

#include "platform/Exception.h"

namespace platform {

TIniFile::TIniFile(ProfileStore& store, std::string fileName)
    : m_store(store), m_fileName(std::move(fileName)) {}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    m_store.DeleteKey(m_fileName, section, key); // not reported, as the run-time does
}

void TIniFile::EraseSection(const std::string& section) {
    if (!m_store.EraseSection(m_fileName, section))
        RaiseUnableToWrite();
}

void TIniFile::UpdateFile() {
    // Every store operation already replaced the file whole; nothing is pending.
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (!m_store.WriteString(m_fileName, section, key, value))
        RaiseUnableToWrite();
}

void TIniFile::RaiseUnableToWrite() const {
    throw Exception("Unable to write to " + m_fileName);
}

} // namespace platform
