#include "distribution/engine/Packets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

using engine::Bytes;
using engine::Message;
using engine::MessageAssembler;

Bytes Packet(std::uint8_t type, std::uint8_t status, const Bytes& payload, std::size_t length = 0) {
    const std::size_t total = length != 0 ? length : payload.size() + 8;
    const std::uint8_t header[] = {
        type, status, static_cast<std::uint8_t>(total >> 8), static_cast<std::uint8_t>(total), 0, 0,
        1,    0};
    // Sized at once: GCC 12 at -O3 takes an insert after an 8-byte vector for a write past it.
    Bytes packet(sizeof header + payload.size());
    std::copy(payload.begin(), payload.end(),
              std::copy(std::begin(header), std::end(header), packet.begin()));
    return packet;
}

Bytes Join(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST(MessageAssembler, JoinsPacketsFedInPiecesIntoOneMessage) {
    const Bytes stream = Join(Packet(0x01, 0, {1, 2}), Packet(0x01, 1, {3}));
    MessageAssembler assembler(1024);
    Message message;
    for (std::uint8_t byte : stream) {
        EXPECT_EQ(MessageAssembler::Status::NeedMore, assembler.Next(message));
        assembler.Feed(Bytes{byte});
    }
    ASSERT_EQ(MessageAssembler::Status::Complete, assembler.Next(message));
    EXPECT_EQ(0x01, message.type);
    EXPECT_EQ((Bytes{1, 2, 3}), message.payload);
    EXPECT_EQ(MessageAssembler::Status::NeedMore, assembler.Next(message));
}

TEST(MessageAssembler, MarksAbandonedMessagesAndResetRequests) {
    MessageAssembler assembler(1024);
    assembler.Feed(Join(Join(Packet(0x01, 0, {1}), Packet(0x01, 0x03, {2})),
                        Join(Packet(0x01, 0x09, {3}), Packet(0x03, 0x11, {4}))));
    const struct {
        bool ignored;
        bool reset;
        bool keepTransaction;
        Bytes payload;
    } expected[] = {{true, false, false, {}}, {false, true, false, {3}}, {false, true, true, {4}}};
    for (const auto& entry : expected) {
        Message message;
        ASSERT_EQ(MessageAssembler::Status::Complete, assembler.Next(message));
        EXPECT_EQ(entry.ignored, message.ignored);
        EXPECT_EQ(entry.reset, message.reset);
        EXPECT_EQ(entry.keepTransaction, message.keepTransaction);
        EXPECT_EQ(entry.payload, message.payload);
    }
}

TEST(MessageAssembler, RejectsMalformedStreams) {
    const struct {
        const char* what;
        Bytes stream;
    } cases[] = {
        {"length below the header", Packet(0x01, 1, {}, 7)},
        {"length above any packet", Packet(0x01, 1, {}, 32768)},
        {"type changing midway", Join(Packet(0x01, 0, {1}), Packet(0x03, 1, {2}))},
        {"message over the cap", Join(Packet(0x01, 0, Bytes(10, 0)), Packet(0x01, 1, Bytes(7, 0)))},
    };
    for (const auto& entry : cases) {
        MessageAssembler assembler(16);
        assembler.Feed(entry.stream);
        Message message;
        EXPECT_EQ(MessageAssembler::Status::Malformed, assembler.Next(message)) << entry.what;
    }
}

TEST(Frame, SplitsIntoPacketsMarkingOnlyTheLast) {
    const Bytes payload(20, 0x55);
    const Bytes framed = engine::Frame(engine::PacketType::TabularResult, payload, 16);
    ASSERT_EQ(20u + 3 * 8, framed.size());
    for (std::size_t packet = 0; packet < 3; ++packet) {
        const std::uint8_t* header = framed.data() + packet * 16;
        EXPECT_EQ(0x04, header[0]);
        EXPECT_EQ(packet == 2 ? 1 : 0, header[1]);
        EXPECT_EQ(packet + 1, header[6]);
    }
    EXPECT_EQ(8 + 4, framed[2 * 16 + 3]);
}

} // namespace
