#include "tests/support/EngineProcess.h"

#include "tests/support/RunCommand.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testing_support {
namespace {

constexpr auto startTimeout = std::chrono::seconds(10);

// A UDP port nobody holds right now on the address; the engine binds it moments later.
std::uint16_t FreeUdpPort(const std::string& address) {
    const bool v6 = address.find(':') != std::string::npos;
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("socket failed");
    sockaddr_storage storage{};
    socklen_t length;
    if (v6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        ::inet_pton(AF_INET6, address.c_str(), &in6->sin6_addr);
        length = sizeof(sockaddr_in6);
    } else {
        auto* in4 = reinterpret_cast<sockaddr_in*>(&storage);
        in4->sin_family = AF_INET;
        ::inet_pton(AF_INET, address.c_str(), &in4->sin_addr);
        length = sizeof(sockaddr_in);
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&storage), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&storage), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot find a free UDP port on " + address);
    }
    ::close(fd);
    return ntohs(v6 ? reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port
                    : reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
}

} // namespace

std::filesystem::path EngineProcess::BinaryPath() {
    return TDSENGINE_PATH;
}

EngineProcess::EngineProcess(EngineProcessOptions options) : m_options(std::move(options)) {
    if (m_options.dataDirectory.empty())
        m_options.dataDirectory = m_work / "data";
    if (m_options.browserPort == 0)
        m_options.browserPort = FreeUdpPort(m_options.listenAddress);
    if (m_options.encryption) {
        const auto made = RunCommand(
            "openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj /CN=localhost -keyout " +
            ShellQuoted(m_work / "key.pem") + " -out " + ShellQuoted(m_work / "certificate.pem") +
            " 2>&1");
        if (made.exitCode != 0)
            throw std::runtime_error("cannot make the engine's certificate: " + made.output);
    }
    Start();
}

EngineProcess::~EngineProcess() {
    if (Running())
        Stop();
}

void EngineProcess::Start() {
    if (Running())
        throw std::logic_error("the engine is already running");
    const auto portFile = m_work / "port";
    std::filesystem::remove(portFile);
    std::vector<std::string> arguments = {
        BinaryPath().string(),
        "--instance",
        m_options.instance,
        "--login",
        m_options.login,
        "--password",
        m_options.password,
        "--data",
        m_options.dataDirectory.string(),
        "--listen",
        m_options.listenAddress,
        "--port",
        "0",
        "--browser-port",
        std::to_string(m_options.browserPort),
        "--port-file",
        portFile.string(),
        "--login-timeout",
        std::to_string(m_options.loginTimeoutSeconds),
    };
    if (m_options.encryption)
        arguments.insert(arguments.end(), {"--certificate", (m_work / "certificate.pem").string(),
                                           "--key", (m_work / "key.pem").string()});
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string output = (m_work / "output").string();
    // Built before fork: the child of a threaded test may only make async-signal-safe calls.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        if (m_options.driveC.empty() || !std::string(*entry).starts_with("LAUNCHER_DRIVE_C="))
            environment.emplace_back(*entry);
    if (!m_options.driveC.empty())
        environment.push_back("LAUNCHER_DRIVE_C=" + m_options.driveC.string());
    std::vector<char*> envp;
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        const int log = ::open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }

    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            throw std::runtime_error("the engine exited at start: " + Output());
        }
        const std::string port = TempDir::Read(portFile);
        if (!port.empty()) {
            m_port = static_cast<std::uint16_t>(std::stoi(port));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    throw std::runtime_error("the engine did not start within 10 seconds: " + Output());
}

int EngineProcess::Stop() {
    if (!Running())
        throw std::logic_error("the engine is not running");
    ::kill(m_pid, SIGTERM);
    int status = 0;
    // An engine that does not stop in time is killed, so a hung engine fails its test
    // instead of hanging the run.
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            ::kill(m_pid, SIGKILL);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    return status;
}

std::string EngineProcess::Output() const {
    return TempDir::Read(m_work / "output");
}

} // namespace testing_support
