#pragma once

#include <string>

// The run-time library's path and string helpers, on Windows paths.
namespace platform {

// The directory part without its trailing separator, except at a drive root:
// D:\setup\a.exe gives D:\setup, E:\a.exe gives E:\.
std::string ExtractFileDir(const std::string& fileName);

// The directory part with its trailing separator: D:\setup\a.exe gives D:\setup\.
std::string ExtractFilePath(const std::string& fileName);

// Encloses text in single quotes, doubling every single quote inside it.
std::string QuotedStr(const std::string& text);

} // namespace platform
