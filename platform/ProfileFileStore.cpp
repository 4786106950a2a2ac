#include "platform/ProfileFileStore.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

namespace platform {

// What goes into the file, as its bytes. Never a '?' in place of a character, and never a
// line break, which would cut the entry in two and smuggle in lines of its own.
std::string ProfileFileStore::FileText(const std::string& text, messages::ProfilePart part,
                                       const std::string& file) const {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw Exception(messages::LineBreakInProfileText(part, file));
    std::optional<std::string> bytes = m_toCodePage936(text);
    if (!bytes)
        throw Exception(messages::NotInCodePage936(part, text, file));
    return *std::move(bytes);
}

bool ProfileFileStore::DeleteKey(const std::string& file, const std::string& section,
                                 const std::string& key) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    const std::string keyBytes = FileText(key, messages::ProfilePart::Key, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::DeleteKey(bytes, sectionBytes, keyBytes);
    });
}

bool ProfileFileStore::EraseSection(const std::string& file, const std::string& section) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::EraseSection(bytes, sectionBytes);
    });
}

bool ProfileFileStore::WriteString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    const std::string keyBytes = FileText(key, messages::ProfilePart::Key, file);
    const std::string valueBytes = FileText(value, messages::ProfilePart::Value, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::WriteString(bytes, sectionBytes, keyBytes, valueBytes);
    });
}

} // namespace platform
