#pragma once

#include "distribution/engine/Browser.h"
#include "distribution/engine/Commands.h"
#include "distribution/engine/DataFolder.h"
#include "distribution/engine/Session.h"
#include "distribution/engine/TlsChannel.h"
#include "platform/DriveMap.h"
#include "platform/Sockets.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace engine {

struct EngineConfig {
    std::string instance = "home";
    std::string login;
    std::string password;
    std::string listenAddress = "127.0.0.1"; // numeric IPv4 or IPv6
    std::uint16_t port = 0;                  // 0: any free port
    std::uint16_t browserPort = 1434;        // 0: any free port
    std::filesystem::path dataDirectory;
    std::string computerName;
    // A client must have logged in this long after connecting, however it trickles bytes.
    std::chrono::seconds loginTimeout{60};
    // PEM files; with both, the engine offers TLS as a server does.
    std::string certificateFile;
    std::string keyFile;
};

// The engine at work: a TCP listener with a thread per client connection, and the browser
// service on UDP. Errors stay with the connection they occur on; only Stop ends the rest.
// Connections still logging in have a room of their own, so that clients that never finish
// cannot keep the others out: when it is full, the oldest of them makes way.
class Engine {
public:
    // Opens the data folder and binds both sockets; throws std::system_error naming the
    // failed call when any of that fails. Serving starts at once.
    Engine(EngineConfig config, platform::DriveMap drives);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    std::uint16_t Port() const { return m_port; }
    std::uint16_t BrowserPort() const { return m_browserPort; }

    // Closes the listeners and every connection, and waits for their threads.
    void Stop();

private:
    // The flags are guarded by m_connectionsMutex.
    struct Connection {
        platform::SocketHandle socket;
        std::uint16_t processId;
        std::thread thread;
        bool loggedIn = false;
        bool evicted = false;
        bool finished = false;
    };

    void AcceptLoop();
    void Admit(platform::SocketHandle socket);
    void BrowserLoop();
    void Serve(Connection& connection);
    // Counts the connection as logged in, unless it was evicted meanwhile.
    bool MarkLoggedIn(Connection& connection);
    void ReapFinished();

    EngineConfig m_config;
    DataFolder m_data;
    CommandRunner m_commands;
    std::unique_ptr<TlsCredentials> m_credentials;
    SessionSettings m_settings;
    BrowserInstance m_browser;
    platform::WakeSignal m_wake;
    platform::WakeSignal m_ended; // raised by each connection thread as it ends
    platform::SocketHandle m_listener = platform::noSocket;
    platform::SocketHandle m_browserSocket = platform::noSocket;
    std::uint16_t m_port = 0;
    std::uint16_t m_browserPort = 0;
    std::mutex m_connectionsMutex;
    std::list<std::unique_ptr<Connection>> m_connections;
    std::uint16_t m_nextProcessId = 51;
    std::thread m_acceptThread;
    std::thread m_browserThread;
    bool m_stopped = false;
};

} // namespace engine
