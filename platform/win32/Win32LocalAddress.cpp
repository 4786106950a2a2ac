#include "platform/win32/Win32LocalAddress.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/win32/WideText.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>

namespace platform::win32 {
namespace {

// Winsock is started for the query only and cleaned up on every way out.
class WinsockSession {
public:
    explicit WinsockSession(const std::string& name) {
        WSADATA data{};
        if (const int error = ::WSAStartup(MAKEWORD(2, 2), &data); error != 0)
            throw Exception(messages::CannotResolveComputerName(
                name, "WSAStartup: " + ErrorText(static_cast<unsigned long>(error))));
    }
    ~WinsockSession() { ::WSACleanup(); }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

} // namespace

std::string Win32LocalAddress::LocalIP() {
    // The host's own name, as gethostname gives it.
    wchar_t host[256] = {};
    DWORD size = 256;
    if (!::GetComputerNameExW(ComputerNameDnsHostname, host, &size) || size == 0)
        throw Exception(messages::NoComputerName());
    const std::string name = Narrow(std::wstring_view(host, size));
    const WinsockSession winsock(name);
    ADDRINFOW hints{};
    // Every family, so that a name with only IPv6 addresses is told apart from one that
    // does not resolve; one socket type, so that each address comes once.
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    if (const int error = ::GetAddrInfoW(host, nullptr, &hints, &found); error != 0)
        throw Exception(messages::CannotResolveComputerName(
            name, ErrorText(static_cast<unsigned long>(error))));
    const std::unique_ptr<ADDRINFOW, decltype(&::FreeAddrInfoW)> addresses(found, &::FreeAddrInfoW);
    for (const ADDRINFOW* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        ::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
        return text;
    }
    throw Exception(messages::ComputerNameWithoutIPv4(name));
}

} // namespace platform::win32
