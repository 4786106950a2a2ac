#include "distribution/engine/ClientStream.h"

namespace engine {

bool ClientPause::Wait(std::chrono::milliseconds time) {
    if (m_assembler.Pending())
        return false;
    platform::Watched client{m_socket};
    return !platform::WaitReadable(std::span(&client, 1), static_cast<int>(time.count()));
}

bool ClientStream::Read(Deadline deadline) {
    if (deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            *deadline - std::chrono::steady_clock::now());
        platform::Watched client{m_socket};
        if (left.count() <= 0 ||
            !platform::WaitReadable(std::span(&client, 1), static_cast<int>(left.count())))
            return false;
    }
    const std::ptrdiff_t count = platform::Receive(m_socket, m_buffer);
    if (count <= 0)
        return false;
    return Feed(std::span(m_buffer, static_cast<std::size_t>(count)));
}

bool ClientStream::Send(const Bytes& bytes) {
    if (!m_tls)
        return platform::SendAll(m_socket, bytes);
    const auto records = m_tls->Encrypt(bytes);
    return records && platform::SendAll(m_socket, *records);
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
            !platform::SendAll(m_socket, Frame(PacketType::Prelogin, answer, defaultPacketSize)))
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
