#include "distribution/engine/Packets.h"

#include <algorithm>

namespace engine {
namespace {

constexpr std::uint8_t endOfMessage = 0x01;
// The client abandons the message it was sending; the server drops it and acknowledges.
constexpr std::uint8_t ignoreMessage = 0x02;
constexpr std::uint8_t resetConnection = 0x08;
constexpr std::uint8_t resetKeepingTransaction = 0x10;

} // namespace

void MessageAssembler::Feed(std::span<const std::uint8_t> bytes) {
    // Drop what earlier calls consumed before growing, so the buffer stays at about one
    // packet however long the connection lives.
    if (m_consumed > 0) {
        m_buffer.erase(m_buffer.begin(),
                       m_buffer.begin() + static_cast<std::ptrdiff_t>(m_consumed));
        m_consumed = 0;
    }
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
}

MessageAssembler::Status MessageAssembler::Next(Message& message) {
    for (;;) {
        const std::span<const std::uint8_t> pending(m_buffer.data() + m_consumed,
                                                    m_buffer.size() - m_consumed);
        if (pending.size() < packetHeaderSize)
            return Status::NeedMore;
        const std::uint8_t type = pending[0];
        const std::uint8_t status = pending[1];
        const std::size_t length = static_cast<std::size_t>((pending[2] << 8) | pending[3]);
        if (length < packetHeaderSize || length > maxPacketSize)
            return Status::Malformed;
        if (pending.size() < length)
            return Status::NeedMore;
        if (m_inMessage && type != m_partial.type)
            return Status::Malformed;
        if (!m_inMessage) {
            m_partial = Message{type, {}};
            m_partial.reset = (status & (resetConnection | resetKeepingTransaction)) != 0;
            m_partial.keepTransaction = (status & resetKeepingTransaction) != 0;
            m_inMessage = true;
        }
        if (m_partial.payload.size() + (length - packetHeaderSize) > m_maxMessage)
            return Status::Malformed;
        m_partial.payload.insert(m_partial.payload.end(), pending.begin() + packetHeaderSize,
                                 pending.begin() + static_cast<std::ptrdiff_t>(length));
        m_consumed += length;
        if ((status & endOfMessage) == 0)
            continue;
        m_inMessage = false;
        m_partial.ignored = (status & ignoreMessage) != 0;
        if (m_partial.ignored)
            m_partial.payload.clear();
        message = std::move(m_partial);
        m_partial = {};
        return Status::Complete;
    }
}

Bytes MessageAssembler::TakePending() {
    Bytes pending(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_consumed), m_buffer.end());
    m_buffer.clear();
    m_consumed = 0;
    return pending;
}

Bytes Frame(PacketType type, std::span<const std::uint8_t> payload, std::size_t packetSize,
            std::uint16_t processId) {
    const std::size_t room = packetSize - packetHeaderSize;
    ByteWriter out;
    std::size_t offset = 0;
    std::uint8_t packetNumber = 1;
    do {
        const std::size_t chunk = std::min(room, payload.size() - offset);
        const bool last = offset + chunk == payload.size();
        out.U8(static_cast<std::uint8_t>(type));
        out.U8(last ? endOfMessage : 0);
        out.U16Be(static_cast<std::uint16_t>(chunk + packetHeaderSize));
        out.U16Be(processId);
        out.U8(packetNumber++);
        out.U8(0);
        out.Append(payload.subspan(offset, chunk));
        offset += chunk;
    } while (offset < payload.size());
    return out.Take();
}

} // namespace engine
