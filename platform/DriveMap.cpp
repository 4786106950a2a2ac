#include "platform/DriveMap.h"

#include <cctype>

namespace platform {
namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The part of a Windows path after "X:", with '/' separators and no empty components.
std::string HostTail(const std::string& windowsPath) {
    std::string tail;
    for (std::size_t i = 2; i < windowsPath.size(); ++i) {
        if (!IsSeparator(windowsPath[i])) {
            tail += windowsPath[i];
        } else if (!tail.empty() && tail.back() != '/') {
            tail += '/';
        }
    }
    if (!tail.empty() && tail.back() == '/')
        tail.pop_back();
    return tail;
}

std::string Backslashed(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

} // namespace

DriveMap::DriveMap(std::string driveCDirectory) : m_driveC(std::move(driveCDirectory)) {
    while (m_driveC.size() > 1 && m_driveC.back() == '/')
        m_driveC.pop_back();
}

DriveMap DriveMap::Native() {
    DriveMap native("C:");
    native.m_native = true;
    return native;
}

std::optional<std::string> DriveMap::HostPath(const std::string& windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return std::nullopt;
    if (m_native)
        return windowsPath;
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    const std::string tail = HostTail(windowsPath);
    if (drive == 'C')
        return tail.empty() ? m_driveC : m_driveC + "/" + tail;
    if (drive == 'Z')
        return "/" + tail;
    return std::nullopt;
}

std::string DriveMap::WindowsPath(const std::string& hostPath) const {
    if (m_native)
        return hostPath;
    if (hostPath == m_driveC)
        return "C:\\";
    if (hostPath.size() > m_driveC.size() && hostPath.compare(0, m_driveC.size(), m_driveC) == 0 &&
        hostPath[m_driveC.size()] == '/')
        return "C:" + Backslashed(hostPath.substr(m_driveC.size()));
    return "Z:" + Backslashed(hostPath);
}

} // namespace platform
