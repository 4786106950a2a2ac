#include "platform/posix/PosixProfileStore.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/ProfileText.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/CodePage936.h"

namespace platform {
namespace {

// What goes into the file, as its bytes. Never a '?' in place of a character, and never a
// line break, which would cut the entry in two and smuggle in lines of its own.
std::string FileText(const std::string& text, messages::ProfilePart part, const std::string& file) {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw Exception(messages::LineBreakInProfileText(part, file));
    std::optional<std::string> bytes = ToCodePage936(text);
    if (!bytes)
        throw Exception(messages::NotInCodePage936(part, text, file));
    return *std::move(bytes);
}

} // namespace

PosixProfileStore::PosixProfileStore(DriveMap drives) : m_drives(std::move(drives)) {}

bool PosixProfileStore::DeleteKey(const std::string& file, const std::string& section,
                                  const std::string& key) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    const std::string keyBytes = FileText(key, messages::ProfilePart::Key, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::DeleteKey(bytes, sectionBytes, keyBytes);
    });
}

bool PosixProfileStore::EraseSection(const std::string& file, const std::string& section) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::EraseSection(bytes, sectionBytes);
    });
}

bool PosixProfileStore::WriteString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& value) {
    const std::string sectionBytes = FileText(section, messages::ProfilePart::Section, file);
    const std::string keyBytes = FileText(key, messages::ProfilePart::Key, file);
    const std::string valueBytes = FileText(value, messages::ProfilePart::Value, file);
    return Apply(file, [&](std::string_view bytes) {
        return profiletext::WriteString(bytes, sectionBytes, keyBytes, valueBytes);
    });
}

bool PosixProfileStore::Apply(const std::string& file, const Edit& edit) const {
    const std::optional<std::string> path = m_drives.HostPath(file);
    if (!path)
        return false;
    const FileBytes current(*path);
    if (current.State() == FileState::Unreadable)
        return false;
    // Windows refuses to write a read-only file; renaming over it would not.
    if (current.State() == FileState::Present && !MayWrite(*path))
        return false;
    const std::string_view bytes = current.Bytes();
    const std::optional<profiletext::Splice> splice = edit(bytes);
    return !splice || ReplaceFile(*path, {bytes.substr(0, splice->from), splice->text,
                                          bytes.substr(splice->to)});
}

} // namespace platform
