#include "platform/freetds/BrowserLookup.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/freetds/BrowserResponse.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform::browser {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long to wait for an answer before sending the request again. A running browser
// answers within milliseconds; the later windows cover a lost datagram or a browser that
// is still starting, without spending the whole connect budget on a host that has none.
constexpr std::array<Clock::duration, 3> answerWindows{1s, 1s, 2s};

class Socket {
public:
    explicit Socket(int descriptor) : m_descriptor(descriptor) {}
    Socket(Socket&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}
    Socket& operator=(Socket&&) = delete;
    ~Socket() {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    int Descriptor() const { return m_descriptor; }

private:
    int m_descriptor;
};

struct Target {
    Socket socket;
    std::string address;
};

// One connected socket per address of the host: a connected UDP socket takes answers
// from that address only and learns of a refused port.
std::vector<Target> OpenTargets(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(browserPort);
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0)
        throw Exception(messages::CannotResolve(host, ::gai_strerror(error)));

    std::vector<Target> targets;
    int lastError = 0;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        Socket socket(
            ::socket(entry->ai_family, entry->ai_socktype | SOCK_CLOEXEC, entry->ai_protocol));
        if (socket.Descriptor() < 0 ||
            ::connect(socket.Descriptor(), entry->ai_addr, entry->ai_addrlen) != 0) {
            lastError = errno;
            continue;
        }
        std::array<char, NI_MAXHOST> address{};
        ::getnameinfo(entry->ai_addr, entry->ai_addrlen, address.data(), address.size(), nullptr, 0,
                      NI_NUMERICHOST);
        targets.push_back({std::move(socket), address.data()});
    }
    ::freeaddrinfo(found);
    if (targets.empty())
        throw Exception(messages::CannotSendTo(host, std::strerror(lastError)));
    return targets;
}

} // namespace

InstanceEndpoint LookupInstance(const std::string& host, const std::string& instance,
                                Clock::time_point deadline) {
    std::vector<Target> targets = OpenTargets(host);
    const std::string request = InstanceRequest(instance);
    std::array<char, 65536> datagram;

    for (const auto window : answerWindows) {
        const auto start = Clock::now();
        if (start >= deadline)
            break;
        const auto windowEnd = std::min(start + window, deadline);

        // A socket whose send or receive fails (a refused port) sits out this window;
        // poll ignores negative descriptors, so with none left it simply waits.
        std::vector<pollfd> polled;
        for (const auto& target : targets) {
            const int fd = target.socket.Descriptor();
            const bool sent = ::send(fd, request.data(), request.size(), 0) >= 0;
            polled.push_back({sent ? fd : -1, POLLIN, 0});
        }
        for (auto now = Clock::now(); now < windowEnd; now = Clock::now()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(windowEnd - now);
            if (::poll(polled.data(), polled.size(), static_cast<int>(left.count())) <= 0)
                continue;
            for (std::size_t i = 0; i < polled.size(); ++i) {
                if (polled[i].fd < 0 || polled[i].revents == 0)
                    continue;
                const ssize_t size = ::recv(polled[i].fd, datagram.data(), datagram.size(), 0);
                if (size < 0) {
                    polled[i].fd = -1;
                    continue;
                }
                const auto instances =
                    ParseResponse(std::string_view(datagram.data(), static_cast<size_t>(size)));
                if (!instances)
                    continue;
                const ServerInstance* answer = FindInstance(*instances, instance);
                if (answer == nullptr)
                    throw Exception(messages::NoSuchInstance(host, instance));
                if (!answer->tcpPort)
                    throw Exception(messages::InstanceWithoutTcp(host, instance));
                return {targets[i].address, *answer->tcpPort};
            }
        }
    }
    throw Exception(messages::NoBrowserAnswered(host, instance));
}

} // namespace platform::browser
