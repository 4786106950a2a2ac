#include "platform/Exception.h"

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<int, const char*>, 3> ioErrorTexts{{
    {2, "File not found"},
    {3, "Invalid filename"},
    {5, "File access denied"},
}};

} // namespace

EInOutError::EInOutError(int code) : Exception(IoErrorText(code)), m_code(code) {}

std::string IoErrorText(int code) {
    for (const auto& [known, text] : ioErrorTexts)
        if (known == code)
            return text;
    return "I/O error " + std::to_string(code);
}

std::string ErrorReportText(const std::string& message) {
    // Compared as bytes, as the run-time compares characters: a message ending in a
    // letter, digit or a byte of a multi-byte character gets a full stop.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace platform
