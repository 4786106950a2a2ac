#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Every error the launcher raises; its message is what the error box shows.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The run-time's I/O error: carries the operating system's (Windows-numbered) code.
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    int ErrorCode() const { return m_code; }

private:
    int m_code;
};

// The run-time's text for an I/O error code: 2, 3 and 5 have their own, others "I/O error %d".
std::string IoErrorText(int code);

// What the default error box shows for a message: a full stop is appended when the
// message's last character sorts after the full stop.
std::string ErrorReportText(const std::string& message);

} // namespace platform
