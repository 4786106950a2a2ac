#include "platform/posix/PosixProfileStore.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/ProfileEncoding.h"
#include "platform/ProfileText.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/CodePage936.h"

namespace platform {
namespace {

// What goes into the file, as its bytes in the file's encoding. Never a '?' in place of a
// character, and never a line break, which would cut the entry in two and smuggle in lines of
// its own.
std::string FileText(const std::string& text, messages::ProfilePart part, const std::string& file,
                     profiletext::Encoding encoding) {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw Exception(messages::LineBreakInProfileText(part, file));
    if (encoding == profiletext::Encoding::CodePage936) {
        std::optional<std::string> bytes = ToCodePage936(text);
        if (!bytes)
            throw Exception(messages::NotInCodePage936(part, text, file));
        return *std::move(bytes);
    }
    std::optional<std::string> bytes = profiletext::Utf16BytesOfUtf8(text, encoding);
    if (!bytes)
        throw Exception(messages::NotInUtf16(part, text, file));
    return *std::move(bytes);
}

} // namespace

PosixProfileStore::PosixProfileStore(DriveMap drives) : m_drives(std::move(drives)) {}

bool PosixProfileStore::DeleteKey(const std::string& file, const std::string& section,
                                  const std::string& key) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::DeleteKey(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding),
            FileText(key, messages::ProfilePart::Key, file, encoding));
    });
}

bool PosixProfileStore::EraseSection(const std::string& file, const std::string& section) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::EraseSection(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding));
    });
}

bool PosixProfileStore::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    return Apply(file, [&](std::string_view bytes) {
        const profiletext::Encoding encoding = profiletext::EncodingOf(bytes);
        return profiletext::WriteString(
            bytes, FileText(section, messages::ProfilePart::Section, file, encoding),
            FileText(key, messages::ProfilePart::Key, file, encoding),
            FileText(value, messages::ProfilePart::Value, file, encoding));
    });
}

bool PosixProfileStore::Apply(const std::string& file, const Edit& edit) const {
    const std::optional<std::string> path = m_drives.HostPath(file);
    if (!path)
        return false;
    const FileBytes current(*path);
    if (current.State() == FileState::Unreadable)
        return false;
    // Windows refuses to write a read-only file, even for an administrator; renaming over it
    // would not.
    const bool present = current.State() == FileState::Present;
    if (present && !MayReplace(*path))
        return false;
    const std::string_view bytes = current.Bytes();
    const std::optional<profiletext::Splice> splice = edit(bytes);
    if (!splice)
        return true;
    return (present || MayReplace(*path)) &&
           ReplaceFile(*path,
                       {bytes.substr(0, splice->from), splice->text, bytes.substr(splice->to)});
}

} // namespace platform
