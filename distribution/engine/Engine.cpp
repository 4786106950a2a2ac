#include "distribution/engine/Engine.h"

#include "distribution/engine/ClientStream.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <span>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <unistd.h>

namespace engine {
namespace {

constexpr const char* versionNumber = "15.0.2000.5";
// Enough for any batch a client of this engine sends; more is taken as hostile.
constexpr std::size_t maxMessageSize = std::size_t{1} << 20;
constexpr std::size_t maxLoggedIn = 512;
// Connections not logged in yet; a client logs in within milliseconds, so this is plenty
// for honest ones arriving together.
constexpr std::size_t maxLoggingIn = 64;
// A client that stops reading our replies is dropped.
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

void Drain(int fd) {
    char bytes[256];
    while (::read(fd, bytes, sizeof bytes) > 0) {
    }
}

void Close(std::initializer_list<int> fds) {
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

} // namespace

Engine::Engine(EngineConfig config, platform::DriveMap drives)
    : m_config(std::move(config)), m_data(m_config.dataDirectory),
      m_commands(m_data, std::move(drives),
                 std::string("Stand-in database engine ") + versionNumber + " (TDS 7.4) on Linux"),
      m_credentials(
          m_config.certificateFile.empty()
              ? nullptr
              : std::make_unique<TlsCredentials>(m_config.certificateFile, m_config.keyFile)),
      m_settings{m_config.login, m_config.password,
                 m_config.computerName + "\\" + m_config.instance, m_credentials != nullptr} {
    if (::pipe2(m_wake, O_CLOEXEC) != 0)
        ThrowErrno("pipe2");
    // Non-blocking both ways: an ending thread must never wait for the reaper, and the
    // reaper empties the pipe without waiting.
    if (::pipe2(m_ended, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int error = errno;
        Close({m_wake[0], m_wake[1]});
        errno = error;
        ThrowErrno("pipe2");
    }
    try {
        m_listener = BoundSocket(m_config.listenAddress, m_config.port, SOCK_STREAM, m_port);
        m_browserSocket =
            BoundSocket(m_config.listenAddress, m_config.browserPort, SOCK_DGRAM, m_browserPort);
    } catch (...) {
        Close({m_listener, m_browserSocket, m_wake[0], m_wake[1], m_ended[0], m_ended[1]});
        throw;
    }
    m_browser = {m_config.computerName, m_config.instance, versionNumber, m_port};
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    m_browserThread = std::thread([this] { BrowserLoop(); });
}

Engine::~Engine() {
    Stop();
    Close({m_listener, m_browserSocket, m_wake[0], m_wake[1], m_ended[0], m_ended[1]});
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
    // Joined outside the lock, which each thread takes as it ends.
    std::list<std::unique_ptr<Connection>> connections;
    {
        const std::lock_guard lock(m_connectionsMutex);
        for (auto& connection : m_connections)
            ::shutdown(connection->fd, SHUT_RDWR);
        connections.swap(m_connections);
    }
    for (auto& connection : connections) {
        connection->thread.join();
        ::close(connection->fd);
    }
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
    for (;;) {
        pollfd watched[3] = {
            {m_listener, POLLIN, 0}, {m_wake[0], POLLIN, 0}, {m_ended[0], POLLIN, 0}};
        if (!WaitReadable(watched, -1) || (watched[1].revents & POLLIN) != 0)
            return;
        if ((watched[2].revents & POLLIN) != 0) {
            Drain(m_ended[0]);
            ReapFinished();
        }
        if ((watched[0].revents & POLLIN) == 0)
            continue;
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0)
            Admit(fd);
        // Otherwise the client left before we took it, or descriptors ran out for now.
    }
}

void Engine::Admit(int fd) {
    const std::lock_guard lock(m_connectionsMutex);
    std::size_t loggedIn = 0;
    std::size_t loggingIn = 0;
    Connection* oldestLoggingIn = nullptr;
    for (const auto& connection : m_connections) {
        if (connection->finished || connection->evicted)
            continue;
        if (connection->loggedIn) {
            ++loggedIn;
        } else if (++loggingIn == 1) {
            oldestLoggingIn = connection.get();
        }
    }
    if (loggedIn >= maxLoggedIn) {
        ::close(fd);
        return;
    }
    if (loggingIn >= maxLoggingIn) {
        // Its thread sees the end of the stream and finishes as any other.
        oldestLoggingIn->evicted = true;
        ::shutdown(oldestLoggingIn->fd, SHUT_RDWR);
    }
    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    // User connections of a server count from 51, the lower ids being its own.
    connection->processId = m_nextProcessId;
    m_nextProcessId = m_nextProcessId == 32767 ? 51 : m_nextProcessId + 1;
    Connection& added = *connection;
    m_connections.push_back(std::move(connection));
    try {
        added.thread = std::thread([this, &added] { Serve(added); });
    } catch (const std::system_error&) {
        ::close(fd);
        m_connections.pop_back();
    }
}

bool Engine::MarkLoggedIn(Connection& connection) {
    const std::lock_guard lock(m_connectionsMutex);
    connection.loggedIn = !connection.evicted;
    return connection.loggedIn;
}

void Engine::Serve(Connection& connection) {
    const int fd = connection.fd;
    const auto loginDeadline = std::chrono::steady_clock::now() + m_config.loginTimeout;
    try {
        SetTimeout(fd, SO_SNDTIMEO, sendTimeoutSeconds);
        MessageAssembler assembler(maxMessageSize);
        ClientPause pause(fd, assembler);
        Session session(m_settings, m_commands, pause, connection.processId);
        auto stream = std::make_unique<ClientStream>(fd, assembler);
        bool loginOnlyTls = false;
        bool open = true;
        while (open) {
            // Logged-in clients may idle; until then, the clock runs however the bytes
            // trickle in.
            if (!stream->Read(session.LoggedIn() ? Deadline() : Deadline(loginDeadline)))
                break;
            Message message;
            MessageAssembler::Status status = MessageAssembler::Status::NeedMore;
            while (open &&
                   (status = assembler.Next(message)) == MessageAssembler::Status::Complete) {
                const bool wasLoggedIn = session.LoggedIn();
                const Session::Reply reply = session.Handle(message);
                const bool evicted =
                    !wasLoggedIn && session.LoggedIn() && !MarkLoggedIn(connection);
                if (loginOnlyTls && message.type == static_cast<std::uint8_t>(PacketType::Login7))
                    stream->StopTls();
                open = !evicted && stream->Send(reply.bytes) && !reply.hangUp;
                if (open && reply.startTls != Encryption::NotSupported) {
                    open = m_credentials && stream->StartTls(*m_credentials, loginDeadline);
                    loginOnlyTls = reply.startTls == Encryption::Off;
                }
            }
            if (status == MessageAssembler::Status::Malformed)
                open = false;
        }
    } catch (const std::exception&) {
        // Whatever went wrong belongs to this connection alone: it ends, the engine goes on.
    }
    ::shutdown(fd, SHUT_RDWR);
    {
        const std::lock_guard lock(m_connectionsMutex);
        connection.finished = true;
    }
    // The accept loop joins this thread and closes the descriptor now, not at the next client.
    const char ended = 1;
    while (::write(m_ended[1], &ended, 1) < 0 && errno == EINTR) {
    }
}

void Engine::BrowserLoop() {
    std::uint8_t request[2048];
    for (;;) {
        pollfd watched[2] = {{m_browserSocket, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (!WaitReadable(watched, -1) || (watched[1].revents & POLLIN) != 0)
            return;
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
