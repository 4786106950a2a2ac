#pragma once

#include "platform/Messages.h"
#include "platform/ProfileEncoding.h"
#include "platform/ProfileStore.h"
#include "platform/ProfileText.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The profile operations as edits of the file's bytes: names and value converted to the
// file's encoding (UTF-16 in the byte order of its mark, otherwise code page 936 by the
// host's converter), the edit made by the shared profile-text rules, and the file replaced
// whole by the host. Raises Exception for a name or value that the file's encoding cannot
// hold or that spans lines.
class ProfileFileStore : public ProfileStore {
public:
    // UTF-8 to code page 936; nothing for text it cannot hold.
    using Converter = std::optional<std::string> (*)(std::string_view utf8);

    explicit ProfileFileStore(Converter toCodePage936) : m_toCodePage936(toCodePage936) {}

    bool DeleteKey(const std::string& file, const std::string& section,
                   const std::string& key) final;
    bool EraseSection(const std::string& file, const std::string& section) final;
    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) final;

protected:
    using Edit = std::function<std::optional<profiletext::Splice>(std::string_view bytes)>;

    // Reads the named file (missing: empty), edits its bytes and replaces it whole when they
    // change; false, with the file as it was, when it cannot be read or written.
    virtual bool Apply(const std::string& file, const Edit& edit) const = 0;

private:
    std::string FileText(const std::string& text, messages::ProfilePart part,
                         const std::string& file, profiletext::Encoding encoding) const;

    Converter m_toCodePage936;
};

} // namespace platform
