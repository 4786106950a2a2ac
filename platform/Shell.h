#pragma once

#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    // Hands a document, relative to the current directory, to the desktop's default
    // handler for opening it. Whatever happens is not reported.
    virtual void OpenDocument(const std::string& document) = 0;
};

} // namespace platform
