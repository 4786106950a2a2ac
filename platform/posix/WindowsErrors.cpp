#include "platform/posix/WindowsErrors.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {
namespace {

constexpr int errorFileNotFound = 2;
constexpr int errorPathNotFound = 3;
constexpr int errorGeneralFailure = 31;

constexpr std::array<std::pair<int, int>, 6> windowsCodes{{
    {EACCES, 5},         // access denied
    {EPERM, 5},          //
    {ENOTDIR, 267},      // the directory name is invalid
    {ENAMETOOLONG, 206}, // file name too long
    {ELOOP, errorPathNotFound},
    {EIO, 1117}, // I/O device error
}};

} // namespace

int WindowsErrorCode(int error, bool parentExists) {
    if (error == ENOENT)
        return parentExists ? errorFileNotFound : errorPathNotFound;
    for (const auto& [posix, windows] : windowsCodes)
        if (posix == error)
            return windows;
    return errorGeneralFailure;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

} // namespace platform
