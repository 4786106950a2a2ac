#pragma once

#include "platform/Shell.h"

namespace platform::win32 {

// Opens a document with the shell's "open" verb, owned by the active window.
class Win32Shell : public Shell {
public:
    void OpenDocument(const std::string& document) override;
};

} // namespace platform::win32
