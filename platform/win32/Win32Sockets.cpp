#include "platform/Sockets.h"

#include "platform/win32/WideText.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>
#include <system_error>
#include <vector>

namespace platform {
namespace {

// The system's words for Winsock's codes; the C++ library's own category knows none of them.
class WinsockCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "winsock"; }
    std::string message(int code) const override {
        return win32::ErrorText(static_cast<unsigned long>(code));
    }
};

const std::error_category& Winsock() {
    static const WinsockCategory category;
    return category;
}

[[noreturn]] void ThrowSocketError(const std::string& call) {
    throw std::system_error(::WSAGetLastError(), Winsock(), call);
}

// Winsock works only after WSAStartup; every socket is made through here.
void StartWinsock() {
    static const int started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0)
        throw std::system_error(started, Winsock(), "WSAStartup");
}

SOCKET Native(SocketHandle socket) {
    return static_cast<SOCKET>(socket);
}

SocketHandle Ours(SOCKET socket) {
    return socket == INVALID_SOCKET ? noSocket : static_cast<SocketHandle>(socket);
}

int ChunkSize(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, 1u << 30));
}

} // namespace

SocketHandle BindSocket(const std::string& address, std::uint16_t port, SocketKind kind,
                        std::uint16_t& boundPort) {
    StartWinsock();
    const int type = kind == SocketKind::Stream ? SOCK_STREAM : SOCK_DGRAM;
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = type;
    addrinfo* found = nullptr;
    if (const int error =
            ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
        error != 0)
        throw std::system_error(error, Winsock(), "getaddrinfo " + address);
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, ::freeaddrinfo);
    // Not inherited: the programs the engine's host starts must not keep its ports open.
    const SOCKET socket = ::WSASocketW(found->ai_family, found->ai_socktype, 0, nullptr, 0,
                                       WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET)
        ThrowSocketError("socket");
    // Unlike SO_REUSEADDR on POSIX, Windows' would let a second engine take the same port;
    // exclusive use is what keeps the ports the engine's own.
    const BOOL on = TRUE;
    ::setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
                 sizeof on);
    const std::string where = address + " port " + std::to_string(port);
    const auto fail = [&](const std::string& call) {
        const int error = ::WSAGetLastError();
        ::closesocket(socket);
        ::WSASetLastError(error);
        ThrowSocketError(call + " " + where);
    };
    if (::bind(socket, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0)
        fail("bind");
    if (type == SOCK_STREAM && ::listen(socket, 128) != 0)
        fail("listen");
    sockaddr_storage bound{};
    int length = sizeof bound;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length);
    boundPort =
        ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                          : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return Ours(socket);
}

SocketHandle AcceptConnection(SocketHandle listener) {
    return Ours(::accept(Native(listener), nullptr, nullptr));
}

void CloseSocket(SocketHandle socket) {
    if (socket != noSocket)
        ::closesocket(Native(socket));
}

void ShutdownSocket(SocketHandle socket) {
    ::shutdown(Native(socket), SD_BOTH);
}

void SetSendTimeout(SocketHandle socket, int seconds) {
    const DWORD milliseconds = static_cast<DWORD>(seconds) * 1000;
    ::setsockopt(Native(socket), SOL_SOCKET, SO_SNDTIMEO,
                 reinterpret_cast<const char*>(&milliseconds), sizeof milliseconds);
}

bool SendAll(SocketHandle socket, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const int count = ::send(Native(socket), reinterpret_cast<const char*>(bytes.data()),
                                 ChunkSize(bytes.size()), 0);
        if (count <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(count));
    }
    return true;
}

std::ptrdiff_t Receive(SocketHandle socket, std::span<std::uint8_t> buffer) {
    return ::recv(Native(socket), reinterpret_cast<char*>(buffer.data()), ChunkSize(buffer.size()),
                  0);
}

std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, PeerAddress& from) {
    int length = sizeof from.bytes;
    const int count =
        ::recvfrom(Native(socket), reinterpret_cast<char*>(buffer.data()), ChunkSize(buffer.size()),
                   0, reinterpret_cast<sockaddr*>(from.bytes.data()), &length);
    from.length = length;
    return count;
}

void SendTo(SocketHandle socket, std::span<const std::uint8_t> bytes, const PeerAddress& to) {
    ::sendto(Native(socket), reinterpret_cast<const char*>(bytes.data()), ChunkSize(bytes.size()),
             0, reinterpret_cast<const sockaddr*>(to.bytes.data()), to.length);
}

bool WaitReadable(std::span<Watched> watched, int timeoutMs) {
    std::vector<WSAPOLLFD> sockets;
    for (const Watched& one : watched)
        sockets.push_back({Native(one.socket), POLLRDNORM, 0});
    const int ready = ::WSAPoll(sockets.data(), static_cast<ULONG>(sockets.size()), timeoutMs);
    // A closed or failed connection is readable too: the read then tells what happened.
    for (std::size_t i = 0; i < watched.size(); ++i)
        watched[i].readable =
            ready > 0 && (sockets[i].revents & (POLLRDNORM | POLLHUP | POLLERR)) != 0;
    return ready > 0;
}

// Winsock waits on sockets only, so the signal is a loopback datagram socket connected to
// itself: what it sends, it receives.
WakeSignal::WakeSignal() {
    std::uint16_t port = 0;
    m_read = BindSocket("127.0.0.1", 0, SocketKind::Datagram, port);
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_port = htons(port);
    self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    u_long nonBlocking = 1;
    if (::connect(Native(m_read), reinterpret_cast<sockaddr*>(&self), sizeof self) != 0 ||
        ::ioctlsocket(Native(m_read), FIONBIO, &nonBlocking) != 0) {
        const int error = ::WSAGetLastError();
        CloseSocket(m_read);
        ::WSASetLastError(error);
        ThrowSocketError("connect the wake signal");
    }
    m_write = m_read;
}

WakeSignal::~WakeSignal() {
    CloseSocket(m_read);
}

void WakeSignal::Raise() {
    const char byte = 1;
    ::send(Native(m_write), &byte, 1, 0);
}

void WakeSignal::Drain() {
    char bytes[256];
    while (::recv(Native(m_read), bytes, sizeof bytes, 0) > 0) {
    }
}

} // namespace platform
