#pragma once

#include "platform/Shell.h"

namespace platform::qt {

// Opens documents with the desktop's default handler for their type.
class QtShell : public Shell {
public:
    void OpenDocument(const std::string& document) override;
};

} // namespace platform::qt
