#include "distribution/engine/Engine.h"

#include "distribution/engine/ClientStream.h"

#include "platform/HostProcess.h"

#include <span>
#include <system_error>

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

void Close(std::initializer_list<platform::SocketHandle> sockets) {
    for (const platform::SocketHandle socket : sockets)
        platform::CloseSocket(socket);
}

} // namespace

Engine::Engine(EngineConfig config, platform::DriveMap drives)
    : m_config(std::move(config)), m_data(m_config.dataDirectory),
      m_commands(m_data, std::move(drives),
                 std::string("Stand-in database engine ") + versionNumber + " (TDS 7.4) on " +
                     platform::HostSystemName()),
      m_credentials(
          m_config.certificateFile.empty()
              ? nullptr
              : std::make_unique<TlsCredentials>(m_config.certificateFile, m_config.keyFile)),
      m_settings{m_config.login, m_config.password,
                 m_config.computerName + "\\" + m_config.instance, m_credentials != nullptr} {
    try {
        m_listener = platform::BindSocket(m_config.listenAddress, m_config.port,
                                          platform::SocketKind::Stream, m_port);
        m_browserSocket = platform::BindSocket(m_config.listenAddress, m_config.browserPort,
                                               platform::SocketKind::Datagram, m_browserPort);
    } catch (...) {
        Close({m_listener, m_browserSocket});
        throw;
    }
    m_browser = {m_config.computerName, m_config.instance, versionNumber, m_port};
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    m_browserThread = std::thread([this] { BrowserLoop(); });
}

Engine::~Engine() {
    Stop();
    Close({m_listener, m_browserSocket});
}

void Engine::Stop() {
    if (m_stopped)
        return;
    m_stopped = true;
    m_wake.Raise();
    m_acceptThread.join();
    m_browserThread.join();
    // Joined outside the lock, which each thread takes as it ends.
    std::list<std::unique_ptr<Connection>> connections;
    {
        const std::lock_guard lock(m_connectionsMutex);
        for (auto& connection : m_connections)
            platform::ShutdownSocket(connection->socket);
        connections.swap(m_connections);
    }
    for (auto& connection : connections) {
        connection->thread.join();
        platform::CloseSocket(connection->socket);
    }
}

void Engine::ReapFinished() {
    const std::lock_guard lock(m_connectionsMutex);
    for (auto it = m_connections.begin(); it != m_connections.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            platform::CloseSocket((*it)->socket);
            it = m_connections.erase(it);
        } else {
            ++it;
        }
    }
}

void Engine::AcceptLoop() {
    for (;;) {
        platform::Watched watched[3] = {{m_listener}, {m_wake.Handle()}, {m_ended.Handle()}};
        if (!platform::WaitReadable(watched, -1) || watched[1].readable)
            return;
        if (watched[2].readable) {
            m_ended.Drain();
            ReapFinished();
        }
        if (!watched[0].readable)
            continue;
        const platform::SocketHandle socket = platform::AcceptConnection(m_listener);
        if (socket != platform::noSocket)
            Admit(socket);
        // Otherwise the client left before we took it, or descriptors ran out for now.
    }
}

void Engine::Admit(platform::SocketHandle socket) {
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
        platform::CloseSocket(socket);
        return;
    }
    if (loggingIn >= maxLoggingIn) {
        // Its thread sees the end of the stream and finishes as any other.
        oldestLoggingIn->evicted = true;
        platform::ShutdownSocket(oldestLoggingIn->socket);
    }
    auto connection = std::make_unique<Connection>();
    connection->socket = socket;
    // User connections of a server count from 51, the lower ids being its own.
    connection->processId = m_nextProcessId;
    m_nextProcessId = m_nextProcessId == 32767 ? 51 : m_nextProcessId + 1;
    Connection& added = *connection;
    m_connections.push_back(std::move(connection));
    try {
        added.thread = std::thread([this, &added] { Serve(added); });
    } catch (const std::system_error&) {
        platform::CloseSocket(socket);
        m_connections.pop_back();
    }
}

bool Engine::MarkLoggedIn(Connection& connection) {
    const std::lock_guard lock(m_connectionsMutex);
    connection.loggedIn = !connection.evicted;
    return connection.loggedIn;
}

void Engine::Serve(Connection& connection) {
    const platform::SocketHandle socket = connection.socket;
    const auto loginDeadline = std::chrono::steady_clock::now() + m_config.loginTimeout;
    try {
        platform::SetSendTimeout(socket, sendTimeoutSeconds);
        MessageAssembler assembler(maxMessageSize);
        ClientPause pause(socket, assembler);
        Session session(m_settings, m_commands, pause, connection.processId);
        auto stream = std::make_unique<ClientStream>(socket, assembler);
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
    platform::ShutdownSocket(socket);
    {
        const std::lock_guard lock(m_connectionsMutex);
        connection.finished = true;
    }
    // The accept loop joins this thread and closes the descriptor now, not at the next client.
    m_ended.Raise();
}

void Engine::BrowserLoop() {
    std::uint8_t request[2048];
    for (;;) {
        platform::Watched watched[2] = {{m_browserSocket}, {m_wake.Handle()}};
        if (!platform::WaitReadable(watched, -1) || watched[1].readable)
            return;
        platform::PeerAddress from;
        const std::ptrdiff_t count = platform::ReceiveFrom(m_browserSocket, request, from);
        if (count <= 0)
            continue;
        const auto answer =
            BrowserAnswer(std::span(request, static_cast<std::size_t>(count)), m_browser);
        if (answer)
            platform::SendTo(m_browserSocket, *answer, from);
    }
}

} // namespace engine
