#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

// A socket, or on POSIX any descriptor that can be waited on. Wide enough for a Windows
// SOCKET, whose invalid value is all ones, as -1 is.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle noSocket = -1;

enum class SocketKind { Stream, Datagram };

// A socket bound to a numeric address and port (0: any free port), listening when it is a
// stream; boundPort is the port actually bound. Throws std::system_error naming the call.
SocketHandle BindSocket(const std::string& address, std::uint16_t port, SocketKind kind,
                        std::uint16_t& boundPort);
// The next connection on a listening socket; noSocket when the client left first or no
// socket is free for now.
SocketHandle AcceptConnection(SocketHandle listener);
void CloseSocket(SocketHandle socket);
// Ends both directions, which wakes a thread waiting on the socket.
void ShutdownSocket(SocketHandle socket);
// A peer that stops reading makes a send fail after this long rather than block for ever.
void SetSendTimeout(SocketHandle socket, int seconds);

// Sends every byte, going on after interrupted and short sends; false when the peer is gone.
bool SendAll(SocketHandle socket, std::span<const std::uint8_t> bytes);
// What has arrived, at most the buffer's size; 0 at the end of the stream, -1 on failure.
std::ptrdiff_t Receive(SocketHandle socket, std::span<std::uint8_t> buffer);

// Where a datagram came from, to answer it.
struct PeerAddress {
    alignas(8) std::array<std::uint8_t, 128> bytes{};
    int length = 0;
};
std::ptrdiff_t ReceiveFrom(SocketHandle socket, std::span<std::uint8_t> buffer, PeerAddress& from);
void SendTo(SocketHandle socket, std::span<const std::uint8_t> bytes, const PeerAddress& to);

struct Watched {
    SocketHandle socket;
    bool readable = false;
};
// Waits until one of the sockets is readable, or the timeout (-1: none) passes; false on
// timeout or failure.
bool WaitReadable(std::span<Watched> watched, int timeoutMs);

// Wakes threads waiting on its handle. Raise never blocks; Drain empties it without waiting.
class WakeSignal {
public:
    // Throws std::system_error naming the call.
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    SocketHandle Handle() const { return m_read; }
    void Raise();
    void Drain();

private:
    SocketHandle m_read = noSocket;
    SocketHandle m_write = noSocket;
};

} // namespace platform
