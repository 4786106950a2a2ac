#include "platform/freetds/BrowserLookup.h"

#include "platform/Exception.h"
#include "platform/freetds/BrowserResponse.h"
#include "tests/support/HostsFile.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using platform::browser::LookupInstance;

std::string Response(const std::string& data) {
    return std::string{'\x05', static_cast<char>(data.size()), '\0'} + data;
}

// A browser on 127.0.0.1:1434 that answers the n-th request it receives with the n-th
// list of datagrams (an empty list: no answer).
class ScriptedBrowser {
public:
    explicit ScriptedBrowser(std::vector<std::vector<std::string>> answers)
        : m_socket(::socket(AF_INET, SOCK_DGRAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(platform::browser::browserPort);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            throw std::runtime_error("cannot bind 127.0.0.1:1434");
        timeval timeout{5, 0};
        ::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        m_thread = std::thread([this, answers = std::move(answers)] {
            for (const auto& datagrams : answers) {
                char request[512];
                sockaddr_in client{};
                socklen_t size = sizeof client;
                const ssize_t got = ::recvfrom(m_socket, request, sizeof request, 0,
                                               reinterpret_cast<sockaddr*>(&client), &size);
                if (got <= 0) // after shutdown, reads give 0
                    return;
                m_requests.emplace_back(request, static_cast<std::size_t>(got));
                for (const auto& datagram : datagrams)
                    ::sendto(m_socket, datagram.data(), datagram.size(), 0,
                             reinterpret_cast<sockaddr*>(&client), size);
            }
        });
    }
    ~ScriptedBrowser() {
        Stop();
        ::close(m_socket);
    }
    // Stops answering; the requests received until then.
    const std::vector<std::string>& Requests() {
        Stop();
        return m_requests;
    }

private:
    void Stop() {
        if (!m_thread.joinable())
            return;
        ::shutdown(m_socket, SHUT_RDWR); // wakes the thread's receive
        m_thread.join();
    }

    int m_socket;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

std::string LookupError(std::vector<std::vector<std::string>> answers) {
    ScriptedBrowser browser(std::move(answers));
    try {
        LookupInstance("127.0.0.1", "home", std::chrono::steady_clock::now() + 15s);
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "no error";
}

TEST(BrowserLookup, TakesThePortOfTheNamedInstance) {
    if (!testing_support::HostsFileMapsToLoopback("localhost"))
        GTEST_SKIP() << "localhost is not in /etc/hosts: resolving it could ask a DNS server";
    ScriptedBrowser browser({{Response("InstanceName;OTHER;tcp;1;;InstanceName;HOME;tcp;4321;;")}});
    const auto endpoint =
        LookupInstance("localhost", "home", std::chrono::steady_clock::now() + 15s);
    EXPECT_EQ(endpoint.address, "127.0.0.1");
    EXPECT_EQ(endpoint.port, 4321);
    EXPECT_EQ(browser.Requests().front(), std::string("\x04home\0", 6));
}

TEST(BrowserLookup, SkipsNoiseAndAsksAgainWhenNoAnswerCame) {
    ScriptedBrowser browser({{}, {"noise", Response("InstanceName;home;tcp;4321;;")}});
    const auto endpoint =
        LookupInstance("127.0.0.1", "home", std::chrono::steady_clock::now() + 15s);
    EXPECT_EQ(endpoint.port, 4321);
    EXPECT_EQ(browser.Requests().size(), 2u);
}

TEST(BrowserLookup, SaysWhyAnAnswerGivesNoPort) {
    EXPECT_EQ(LookupError({{Response("InstanceName;other;tcp;4321;;")}}),
              "“127.0.0.1”上的 SQL Server Browser 没有实例“home”");
    EXPECT_EQ(LookupError({{Response("InstanceName;home;np;\\\\pipe;;")}}),
              "“127.0.0.1”上的实例“home”不接受 TCP 连接");
}

TEST(BrowserLookup, AsksNoMoreOnceTheDeadlineHasPassed) {
    ScriptedBrowser browser({{}, {}, {}});
    EXPECT_THROW(LookupInstance("127.0.0.1", "home", std::chrono::steady_clock::now() + 500ms),
                 platform::Exception);
    EXPECT_EQ(browser.Requests().size(), 1u);
}

} // namespace
