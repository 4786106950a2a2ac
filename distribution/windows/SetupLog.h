#pragma once

#include <string>
#include <string_view>

namespace standin {

// A log file the stand-ins append dated lines to, in UTF-8 with CRLF, as they run hidden
// with nobody to show an error to. Writing it never fails the caller: the exit code still
// tells that something went wrong.
class SetupLog {
public:
    explicit SetupLog(std::wstring file) : m_file(std::move(file)) {}

    void Write(std::string_view line) const;

private:
    std::wstring m_file;
};

} // namespace standin
