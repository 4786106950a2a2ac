#include "platform/ProfileFileStore.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

namespace platform {

// What goes into the file, as its bytes in the file's encoding. Never a '?' in place of a
// character, and never a line break, which would cut the entry in two and smuggle in lines
// of its own.
std::string ProfileFileStore::FileText(const std::string& text, messages::ProfilePart part,
                                       const std::string& file,
                                       profiletext::Encoding encoding) const {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw Exception(messages::LineBreakInProfileText(part, file));
    if (encoding == profiletext::Encoding::CodePage936) {
        std::optional<std::string> bytes = m_toCodePage936(text);
        if (!bytes)
            throw Exception(messages::NotInCodePage936(part, text, file));
        return *std::move(bytes);
    }
    std::optional<std::string> bytes = profiletext::Utf16BytesOfUtf8(text, encoding);
    if (!bytes)
        throw Exception(messages::NotInUtf16(part, text, file));
    return *std::move(bytes);
}

bool ProfileFileStore::DeleteKey(const std::string& file, const std::string& section,
                                 const std::string& key) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::DeleteKey(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding),
            FileText(key, messages::ProfilePart::Key, file, encoding));
    });
}

bool ProfileFileStore::EraseSection(const std::string& file, const std::string& section) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::EraseSection(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding));
    });
}

bool ProfileFileStore::WriteString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::WriteString(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding),
            FileText(key, messages::ProfilePart::Key, file, encoding),
            FileText(value, messages::ProfilePart::Value, file, encoding));
    });
}

} // namespace platform
