#include "platform/Sockets.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

[[noreturn]] void ThrowErrno(const std::string& call) {
    throw std::system_error(errno, std::generic_category(), call);
}

int Fd(SocketHandle socket) {
    return static_cast<int>(socket);
}

} // namespace

SocketHandle BindSocket(const std::string& address, std::uint16_t port, SocketKind kind,
                        std::uint16_t& boundPort) {
    const int type = kind == SocketKind::Stream ? SOCK_STREAM : SOCK_DGRAM;
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = type;
    addrinfo* found = nullptr;
    if (const int error =
            ::getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found);
        error != 0)
        throw std::system_error(EINVAL, std::generic_category(),
                                "getaddrinfo " + address + ": " + ::gai_strerror(error));
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, ::freeaddrinfo);
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, 0);
    if (fd < 0)
        ThrowErrno("socket");
    const int on = 1;
    if (type == SOCK_STREAM)
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const std::string where = address + " port " + std::to_string(port);
    if (::bind(fd, found->ai_addr, found->ai_addrlen) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        ThrowErrno("bind " + where);
    }
    if (type == SOCK_STREAM && ::listen(fd, 128) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        ThrowErrno("listen " + where);
    }
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    boundPort =
        ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port
                                          : reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    return fd;
}

SocketHandle AcceptConnection(SocketHandle listener) {
    const int fd = ::accept4(Fd(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return fd >= 0 ? fd : noSocket;
}

void CloseSocket(SocketHandle socket) {
    if (socket != noSocket)
        ::close(Fd(socket));
}

void ShutdownSocket(SocketHandle socket) {
    ::shutdown(Fd(socket), SHUT_RDWR);
}

void SetSendTimeout(SocketHandle socket, int seconds) {
    timeval timeout{seconds, 0};
    ::setsockopt(Fd(socket), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

bool SendAll(SocketHandle socket, std::span<const std::uint8_t> bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count =
            ::send(Fd(socket), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

std::ptrdiff_t Receive(SocketHandle socket, std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t count = ::recv(Fd(socket), buffer.data(), buffer.size(), 0);
        if (count < 0 && errno == EINTR)
            continue;
        return count;
    }
}

std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, PeerAddress& from) {
    socklen_t length = sizeof from.bytes;
    const ssize_t count = ::recvfrom(Fd(socket), buffer.data(), buffer.size(), 0,
                                     reinterpret_cast<sockaddr*>(from.bytes.data()), &length);
    from.length = static_cast<int>(length);
    return count;
}

void SendTo(SocketHandle socket, std::span<const std::uint8_t> bytes, const PeerAddress& to) {
    ::sendto(Fd(socket), bytes.data(), bytes.size(), 0,
             reinterpret_cast<const sockaddr*>(to.bytes.data()), static_cast<socklen_t>(to.length));
}

bool WaitReadable(std::span<Watched> watched, int timeoutMs) {
    std::vector<pollfd> fds;
    for (const Watched& one : watched)
        fds.push_back({Fd(one.socket), POLLIN, 0});
    for (;;) {
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        for (std::size_t i = 0; i < watched.size(); ++i)
            watched[i].readable = ready > 0 && (fds[i].revents & POLLIN) != 0;
        return ready > 0;
    }
}

WakeSignal::WakeSignal() {
    // Non-blocking both ways: a raising thread must never wait for the one draining.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        ThrowErrno("pipe2");
    m_read = ends[0];
    m_write = ends[1];
}

WakeSignal::~WakeSignal() {
    CloseSocket(m_read);
    CloseSocket(m_write);
}

void WakeSignal::Raise() {
    const char byte = 1;
    while (::write(Fd(m_write), &byte, 1) < 0 && errno == EINTR) {
    }
}

void WakeSignal::Drain() {
    char bytes[256];
    while (::read(Fd(m_read), bytes, sizeof bytes) > 0) {
    }
}

} // namespace platform
