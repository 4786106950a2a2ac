#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name Windows gives a computer whose host name this is: the first label in upper
// case (ASCII letters only), at most 15 bytes and never half a UTF-8 character. Nothing
// when the first label is empty (an empty host name, or one that starts with a dot): such
// a computer has no usable name.
std::optional<std::string> WindowsComputerName(std::string_view hostName);

} // namespace platform
