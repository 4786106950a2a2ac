#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>

namespace testing_support {

struct EngineProcessOptions {
    std::string instance = "home";
    std::string login = "sa";
    std::string password = "tulip";
    std::string listenAddress = "127.0.0.1";
    // 0: a free UDP port picked once for this object, kept across restarts. Tests that let
    // FreeTDS look the instance up need 1434 (and the ctest RESOURCE_LOCK udp1434).
    std::uint16_t browserPort = 0;
    // Empty: a temporary folder owned by the object, kept across restarts.
    std::filesystem::path dataDirectory;
    // How long a client may take to log in.
    int loginTimeoutSeconds = 60;
    // Whether the engine offers TLS, with a certificate made for the object as an install
    // makes one.
    bool encryption = true;
    // Drive C for the engine's path mapping; empty: inherited LAUNCHER_DRIVE_C (or default).
    std::filesystem::path driveC;
};

// A real tdsengine process for tests: started by the constructor and ready to serve
// (its port file written) when the constructor returns; stopped with SIGTERM and waited for
// on destruction. Throws std::runtime_error, with the engine's output, when it fails to start.
class EngineProcess {
public:
    explicit EngineProcess(EngineProcessOptions options = {});
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Start again after Stop, with the same options, data folder and browser port.
    void Start();
    // SIGTERM and wait (SIGKILL after 10 seconds); returns the status waitpid reports.
    int Stop();
    bool Running() const { return m_pid > 0; }

    std::uint16_t Port() const { return m_port; }
    std::uint16_t BrowserPort() const { return m_options.browserPort; }
    pid_t Pid() const { return m_pid; }
    const std::filesystem::path& DataDirectory() const { return m_options.dataDirectory; }
    // What the engine wrote to its standard streams so far.
    std::string Output() const;

    static std::filesystem::path BinaryPath();

private:
    EngineProcessOptions m_options;
    TempDir m_work;
    pid_t m_pid = -1;
    std::uint16_t m_port = 0;
};

} // namespace testing_support
