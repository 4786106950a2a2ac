#pragma once

#include "distribution/engine/Packets.h"
#include "distribution/engine/Session.h"
#include "distribution/engine/TlsChannel.h"
#include "platform/Sockets.h"

#include <chrono>
#include <memory>
#include <optional>
#include <span>

namespace engine {

// A statement's wait, cut short when the client sends anything: during a request that can
// only be an attention, or the end of the connection.
class ClientPause : public Pause {
public:
    ClientPause(platform::SocketHandle socket, const MessageAssembler& assembler)
        : m_socket(socket), m_assembler(assembler) {}
    bool Wait(std::chrono::milliseconds time) override;

private:
    platform::SocketHandle m_socket;
    const MessageAssembler& m_assembler;
};

using Deadline = std::optional<std::chrono::steady_clock::time_point>;

// The bytes of one client connection, through TLS once a PRELOGIN has agreed it.
class ClientStream {
public:
    ClientStream(platform::SocketHandle socket, MessageAssembler& assembler)
        : m_socket(socket), m_assembler(assembler) {}

    // Reads what has arrived into the assembler, waiting no longer than the deadline; false
    // when the connection ended, failed or ran out of time.
    bool Read(Deadline deadline);
    bool Send(const Bytes& bytes);
    // The handshake, whose records travel inside PRELOGIN packets; afterwards everything
    // goes through TLS until StopTls.
    bool StartTls(const TlsCredentials& credentials, Deadline deadline);
    // Clients that encrypt only the login go on in the clear right after it.
    void StopTls() { m_tls.reset(); }

private:
    bool Feed(std::span<const std::uint8_t> bytes);

    platform::SocketHandle m_socket;
    MessageAssembler& m_assembler;
    std::unique_ptr<TlsChannel> m_tls;
    std::uint8_t m_buffer[65536];
};

} // namespace engine
