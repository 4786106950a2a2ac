#include "distribution/engine/Engine.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <unistd.h>

namespace engine {
namespace {

constexpr const char* versionNumber = "15.0.2000.5";
// Enough for any batch a client of this engine sends; more is taken as hostile.
constexpr std::size_t maxMessageSize = std::size_t{1} << 20;
constexpr std::size_t maxConnections = 512;
// A client that has not logged in by then, or stops reading our replies, is dropped.
constexpr int loginTimeoutSeconds = 60;
constexpr int sendTimeoutSeconds = 60;

[[noreturn]] void ThrowErrno(const std::string& call) {
    throw std::system_error(errno, std::generic_category(), call);
}

// A socket of the given type bound to address:port; the port actually bound is returned.
int BoundSocket(const std::string& address, std::uint16_t port, int type,
                std::uint16_t& boundPort) {
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
        ::close(fd);
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

void SetTimeout(int fd, int option, int seconds) {
    timeval timeout{seconds, 0};
    ::setsockopt(fd, SOL_SOCKET, option, &timeout, sizeof timeout);
}

bool SendAll(int fd, const Bytes& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<std::size_t>(count);
    }
    return true;
}

// Waits until fd is readable; false when the engine is stopping instead.
bool WaitReadable(int fd, int wake) {
    pollfd watched[2] = {{fd, POLLIN, 0}, {wake, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        return (watched[1].revents & POLLIN) == 0;
    }
}

} // namespace

Engine::Engine(EngineConfig config, platform::DriveMap drives)
    : m_config(std::move(config)), m_data(m_config.dataDirectory),
      m_commands(m_data, std::move(drives),
                 std::string("Stand-in database engine ") + versionNumber + " (TDS 7.4) on Linux"),
      m_settings{m_config.login, m_config.password,
                 m_config.computerName + "\\" + m_config.instance} {
    if (::pipe2(m_wake, O_CLOEXEC) != 0)
        ThrowErrno("pipe2");
    try {
        m_listener = BoundSocket(m_config.listenAddress, m_config.port, SOCK_STREAM, m_port);
        m_browserSocket =
            BoundSocket(m_config.listenAddress, m_config.browserPort, SOCK_DGRAM, m_browserPort);
    } catch (...) {
        for (int fd : {m_listener, m_browserSocket, m_wake[0], m_wake[1]})
            if (fd >= 0)
                ::close(fd);
        throw;
    }
    m_browser = {m_config.computerName, m_config.instance, versionNumber, m_port};
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    m_browserThread = std::thread([this] { BrowserLoop(); });
}

Engine::~Engine() {
    Stop();
    for (int fd : {m_listener, m_browserSocket, m_wake[0], m_wake[1]})
        ::close(fd);
}

void Engine::Stop() {
    if (m_stopped)
        return;
    m_stopped = true;
    const char wake = 1;
    while (::write(m_wake[1], &wake, 1) < 0 && errno == EINTR) {
    }
    m_acceptThread.join();
    m_browserThread.join();
    const std::lock_guard lock(m_connectionsMutex);
    for (auto& connection : m_connections)
        ::shutdown(connection->fd, SHUT_RDWR);
    for (auto& connection : m_connections) {
        connection->thread.join();
        ::close(connection->fd);
    }
    m_connections.clear();
}

void Engine::ReapFinished() {
    const std::lock_guard lock(m_connectionsMutex);
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            ::close((*it)->fd);
            it = m_connections.erase(it);
        } else {
            ++it;
        }
    }
}

void Engine::AcceptLoop() {
    while (WaitReadable(m_listener, m_wake[0])) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue; // the client left before we took it, or descriptors ran out for now
        ReapFinished();
        const std::lock_guard lock(m_connectionsMutex);
        if (m_connections.size() >= maxConnections) {
            ::close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        Connection& added = *connection;
        m_connections.push_back(std::move(connection));
        try {
            added.thread = std::thread([this, &added] { Serve(added); });
        } catch (const std::system_error&) {
            ::close(fd);
            m_connections.pop_back();
        }
    }
}

void Engine::Serve(Connection& connection) {
    const int fd = connection.fd;
    try {
        SetTimeout(fd, SO_RCVTIMEO, loginTimeoutSeconds);
        SetTimeout(fd, SO_SNDTIMEO, sendTimeoutSeconds);
        Session session(m_settings, m_commands);
        MessageAssembler assembler(maxMessageSize);
        std::vector<std::uint8_t> buffer(65536);
        bool open = true;
        while (open) {
            const ssize_t count = ::recv(fd, buffer.data(), buffer.size(), 0);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            assembler.Feed(std::span(buffer.data(), static_cast<std::size_t>(count)));
            Message message;
            MessageAssembler::Status status = MessageAssembler::Status::NeedMore;
            while (open &&
                   (status = assembler.Next(message)) == MessageAssembler::Status::Complete) {
                const bool wasLoggedIn = session.LoggedIn();
                const Session::Reply reply = session.Handle(message);
                open = SendAll(fd, reply.bytes) && !reply.hangUp;
                if (!wasLoggedIn && session.LoggedIn())
                    SetTimeout(fd, SO_RCVTIMEO, 0); // logged-in clients may idle
            }
            if (status == MessageAssembler::Status::Malformed)
                open = false;
        }
    } catch (const std::exception&) {
        // Whatever went wrong belongs to this connection alone: it ends, the engine goes on.
    }
    ::shutdown(fd, SHUT_RDWR);
    connection.finished = true;
}

void Engine::BrowserLoop() {
    std::uint8_t request[2048];
    while (WaitReadable(m_browserSocket, m_wake[0])) {
        sockaddr_storage from{};
        socklen_t length = sizeof from;
        const ssize_t count = ::recvfrom(m_browserSocket, request, sizeof request, 0,
                                         reinterpret_cast<sockaddr*>(&from), &length);
        if (count <= 0)
            continue;
        const auto answer =
            BrowserAnswer(std::span(request, static_cast<std::size_t>(count)), m_browser);
        if (answer)
            ::sendto(m_browserSocket, answer->data(), answer->size(), 0,
                     reinterpret_cast<sockaddr*>(&from), length);
    }
}

} // namespace engine
