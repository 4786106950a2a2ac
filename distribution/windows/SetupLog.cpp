#include "distribution/windows/SetupLog.h"

#include "platform/win32/Handle.h"

#include <cstdio>

namespace standin {

void SetupLog::Write(std::string_view line) const {
    // Appended by the system, so that lines of programs writing at once do not overwrite.
    platform::win32::Handle file(::CreateFileW(m_file.c_str(), FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char stamp[32] = {};
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string text = stamp + std::string(line) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace standin
