#pragma once

#include "distribution/engine/Bytes.h"

#include <cstdint>
#include <span>

namespace engine {

// Packet types of the TDS packet header.
enum class PacketType : std::uint8_t {
    SqlBatch = 0x01,
    LegacyLogin = 0x02,
    Rpc = 0x03,
    TabularResult = 0x04,
    Attention = 0x06,
    TransactionManager = 0x0E,
    Login7 = 0x10,
    Prelogin = 0x12,
};

inline constexpr std::size_t packetHeaderSize = 8;
// The largest packet TDS allows; also the largest packet size a client may negotiate.
inline constexpr std::size_t maxPacketSize = 32767;
inline constexpr std::size_t defaultPacketSize = 4096;

// One client request: the payloads of its packets, joined.
struct Message {
    std::uint8_t type = 0;
    Bytes payload;
    // The client abandoned the request before it finished sending it, and waits for the
    // acknowledgement of that.
    bool ignored = false;
    // The client asks for the connection's state to be reset before the request runs; with
    // keepTransaction, an open transaction stays.
    bool reset = false;
    bool keepTransaction = false;
};

// Gathers the packets read from a connection into whole messages. A packet with a length
// shorter than its header or longer than any TDS packet, a message that changes type
// midway, or a message larger than the cap is malformed: the connection is not trusted
// any further.
class MessageAssembler {
public:
    enum class Status { NeedMore, Complete, Malformed };

    explicit MessageAssembler(std::size_t maxMessageSize) : m_maxMessage(maxMessageSize) {}

    void Feed(std::span<const std::uint8_t> bytes);
    // The next whole message, when the bytes fed so far hold one.
    Status Next(Message& message);
    // Whether bytes of a further message have arrived.
    bool Pending() const { return m_buffer.size() > m_consumed; }
    // The bytes that arrived after the last whole packet, taken out: when a connection turns
    // to TLS, they are records rather than packets.
    Bytes TakePending();

private:
    std::size_t m_maxMessage;
    Bytes m_buffer;
    std::size_t m_consumed = 0;
    Message m_partial;
    bool m_inMessage = false;
};

// Splits a server message into packets of at most packetSize bytes, the last marked as
// the end of the message; each header carries the connection's server process id.
Bytes Frame(PacketType type, std::span<const std::uint8_t> payload, std::size_t packetSize,
            std::uint16_t processId = 0);

} // namespace engine
