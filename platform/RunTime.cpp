#include "platform/RunTime.h"

namespace platform {
namespace {

bool IsDelimiter(char c) {
    return c == '\\' || c == ':';
}

// Index just past the last path delimiter ('\' or the drive colon); 0 when there is none.
std::size_t NameStart(const std::string& fileName) {
    for (std::size_t i = fileName.size(); i > 0; --i)
        if (IsDelimiter(fileName[i - 1]))
            return i;
    return 0;
}

} // namespace

std::string ExtractFilePath(const std::string& fileName) {
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
    std::size_t end = NameStart(fileName);
    // Drop the separator unless it follows the drive colon (or is the first character).
    if (end > 1 && fileName[end - 1] == '\\' && fileName[end - 2] != ':' &&
        fileName[end - 2] != '\\')
        --end;
    return fileName.substr(0, end);
}

std::string QuotedStr(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

} // namespace platform
