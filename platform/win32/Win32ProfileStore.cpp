#include "platform/win32/Win32ProfileStore.h"

#include "platform/win32/AtomicFile.h"
#include "platform/win32/CodePage936.h"
#include "platform/win32/WideText.h"

namespace platform::win32 {

Win32ProfileStore::Win32ProfileStore() : ProfileFileStore(&ToCodePage936) {}

bool Win32ProfileStore::Apply(const std::string& file, const Edit& edit) const {
    const std::wstring path = Widen(file);
    const FileContent current = ReadWholeFile(path);
    if (current.state == FileState::Unreadable)
        return false;
    if (current.state == FileState::Present && IsReadOnly(path))
        return false;
    const std::string_view bytes = current.bytes;
    const std::optional<profiletext::Splice> splice = edit(bytes);
    return !splice || ReplaceFileContent(path, {bytes.substr(0, splice->from), splice->text,
                                                bytes.substr(splice->to)});
}

} // namespace platform::win32
