#pragma once

#include <optional>
#include <string>
#include <string_view>

// Edits of a profile (INI) file held as its bytes, with the Windows profile API's rules.
// The names and value are bytes in the file's encoding (EncodingOf): code page 936, or UTF-16
// in the file's byte order without a mark. Each edit is one splice of the file, or nothing
// when it leaves the file as it is: every byte outside the splice is kept exactly.
namespace platform::profiletext {

// The bytes from `from` up to `to` give way to `text`.
struct Splice {
    std::size_t from = 0;
    std::size_t to = 0;
    std::string text;

    bool operator==(const Splice&) const = default;
};

// The file's bytes once spliced.
std::string Applied(std::string_view file, const Splice& splice);

// Removes the first line of `key` found in the sections named `section`, in file order.
std::optional<Splice> DeleteKey(std::string_view file, std::string_view section,
                                std::string_view key);

// Removes the first section named `section`: its header and every line up to the next header.
std::optional<Splice> EraseSection(std::string_view file, std::string_view section);

// Sets `key` in the first section named `section`, adding the key after the section's last
// non-blank line, or the section at the end of the file, when missing.
std::optional<Splice> WriteString(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view value);

} // namespace platform::profiletext
