#include "distribution/engine/BackupDevice.h"

#include "platform/RegularFile.h"

namespace engine {
namespace {

struct ErrorText {
    int code;
    const char* text;
};

constexpr ErrorText errorTexts[] = {
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {8, "Not enough memory resources are available to process this command."},
    {206, "The filename or extension is too long."},
    {1117, "The request could not be performed because of an I/O device error."},
    {1921, "The name of the file cannot be resolved by the system."},
};

} // namespace

std::string WindowsErrorText(WindowsError error) {
    for (const ErrorText& entry : errorTexts)
        if (entry.code == error.code)
            return std::to_string(error.code) + "(" + entry.text + ")";
    return std::to_string(error.code) + "(failed to retrieve text for this error.)";
}

std::variant<Bytes, WindowsError> ReadBackupDevice(const std::string& hostPath) {
    auto read = platform::ReadRegularFile(hostPath, maxBackupSize);
    if (const auto* error = std::get_if<platform::FileError>(&read))
        return WindowsError{error->windowsCode};
    return std::get<Bytes>(std::move(read));
}

} // namespace engine
