#include "distribution/engine/ClientStream.h"

#include <cerrno>
#include <sys/socket.h>

namespace engine {

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

bool WaitReadable(std::span<pollfd> fds, int timeoutMs) {
    for (;;) {
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

bool ClientPause::Wait(std::chrono::milliseconds time) {
    if (m_assembler.Pending())
        return false;
    pollfd readable{m_fd, POLLIN, 0};
    return !WaitReadable(std::span(&readable, 1), static_cast<int>(time.count()));
}

bool ClientStream::Read(Deadline deadline) {
    for (;;) {
        if (deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                *deadline - std::chrono::steady_clock::now());
            pollfd readable{m_fd, POLLIN, 0};
            if (left.count() <= 0 ||
                !WaitReadable(std::span(&readable, 1), static_cast<int>(left.count())))
                return false;
        }
        const ssize_t count = ::recv(m_fd, m_buffer, sizeof m_buffer, 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        return Feed(std::span(m_buffer, static_cast<std::size_t>(count)));
    }
}

bool ClientStream::Send(const Bytes& bytes) {
    if (!m_tls)
        return SendAll(m_fd, bytes);
    const auto records = m_tls->Encrypt(bytes);
    return records && SendAll(m_fd, *records);
}

bool ClientStream::StartTls(const TlsCredentials& credentials, Deadline deadline) {
    auto channel = std::make_unique<TlsChannel>(credentials);
    for (;;) {
        Message message;
        const auto status = m_assembler.Next(message);
        if (status == MessageAssembler::Status::Malformed)
            return false;
        if (status == MessageAssembler::Status::NeedMore) {
            if (!Read(deadline))
                return false;
            continue;
        }
        if (message.type != static_cast<std::uint8_t>(PacketType::Prelogin))
            return false;
        const auto progress = channel->Handshake(message.payload);
        const Bytes answer = channel->TakeOutgoing();
        if (!answer.empty() &&
            !SendAll(m_fd, Frame(PacketType::Prelogin, answer, defaultPacketSize)))
            return false;
        if (progress == TlsChannel::Progress::Failed)
            return false;
        if (progress == TlsChannel::Progress::Done) {
            m_tls = std::move(channel);
            return Feed(m_assembler.TakePending());
        }
    }
}

bool ClientStream::Feed(std::span<const std::uint8_t> bytes) {
    if (!m_tls) {
        m_assembler.Feed(bytes);
        return true;
    }
    Bytes plain;
    if (!m_tls->Decrypt(bytes, plain))
        return false;
    m_assembler.Feed(plain);
    return true;
}

} // namespace engine
