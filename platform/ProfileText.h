#pragma once

#include <optional>
#include <string>
#include <string_view>

// Edits of a profile (INI) file held as its bytes, with the Windows profile API's rules.
// The file, names and value are code page 936 bytes. Each edit returns the file's new bytes,
// or nothing when it leaves the file as it is; bytes it does not change are kept exactly.
namespace platform::profiletext {

// Removes the first line of `key` found in the sections named `section`, in file order.
std::optional<std::string> DeleteKey(std::string_view file, std::string_view section,
                                     std::string_view key);

// Removes the first section named `section`: its header and every line up to the next header.
std::optional<std::string> EraseSection(std::string_view file, std::string_view section);

// Sets `key` in the first section named `section`, adding the key after the section's last
// non-blank line, or the section at the end of the file, when missing.
std::optional<std::string> WriteString(std::string_view file, std::string_view section,
                                       std::string_view key, std::string_view value);

} // namespace platform::profiletext
