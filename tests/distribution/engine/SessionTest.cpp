#include "distribution/engine/Session.h"

#include "tests/distribution/engine/RawTdsClient.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using engine::Bytes;
using engine::Message;
using engine::PacketType;
using engine::Session;
using testing_support::BatchPayload;
using testing_support::Login7Payload;

Message Request(PacketType type, Bytes payload) {
    return {static_cast<std::uint8_t>(type), std::move(payload)};
}

// A wait that is either over at once or interrupted at once.
class FakePause : public engine::Pause {
public:
    bool Wait(std::chrono::milliseconds) override { return !interrupted; }
    bool interrupted = false;
};

// A session over an empty data folder, and the payload of each reply.
class SessionTest : public testing::Test {
protected:
    Bytes Send(const Message& request) {
        const Session::Reply reply = m_session.Handle(request);
        m_hungUp = reply.hangUp;
        // One packet is enough for the small replies here: drop its header.
        return reply.bytes.size() > 8 ? Bytes(reply.bytes.begin() + 8, reply.bytes.end()) : Bytes{};
    }

    testing_support::TempDir m_folder;
    engine::DataFolder m_data{m_folder / "data"};
    engine::CommandRunner m_commands{m_data, platform::DriveMap("/c"), "version"};
    engine::SessionSettings m_settings{"sa", "tulip", "VM\\home"};
    FakePause m_pause;
    Session m_session{m_settings, m_commands, m_pause, 51};
    bool m_hungUp = false;
};

TEST_F(SessionTest, SpeaksTheOlderLayoutWithATds71Client) {
    Bytes login = Login7Payload("sa", "tulip");
    login[4] = 0x01; // TDS 7.1 as LOGIN7 states it: 0x71000001, little-endian
    login[7] = 0x71;
    const Bytes ack = Send(Request(PacketType::Login7, login));
    const Bytes version71 = {0x71, 0x00, 0x00, 0x01};
    EXPECT_NE(ack.end(), std::search(ack.begin(), ack.end(), version71.begin(), version71.end()));
    // No ALL_HEADERS before the text, and a four-byte row count in DONE.
    const std::string sql = "SELECT @@VERSION";
    Bytes text;
    for (char c : sql)
        text.insert(text.end(), {static_cast<std::uint8_t>(c), 0});
    const Bytes reply = Send(Request(PacketType::SqlBatch, text));
    ASSERT_GE(reply.size(), 9u);
    EXPECT_EQ((Bytes{0xFD, 0x10, 0x00, 0xC1, 0x00, 0x01, 0, 0, 0}),
              Bytes(reply.end() - 9, reply.end()));
    EXPECT_FALSE(m_hungUp);
}

TEST_F(SessionTest, HangsUpOnRequestsOutOfOrderOrMalformed) {
    const Bytes badHeaders = {0xFF, 0xFF, 0, 0, 'x', 0};
    const struct {
        const char* what;
        std::vector<Message> requests;
    } cases[] = {
        {"batch before login", {Request(PacketType::SqlBatch, BatchPayload("SELECT @@VERSION"))}},
        {"attention before login", {Request(PacketType::Attention, {})}},
        {"legacy login", {Request(PacketType::LegacyLogin, Bytes(600, 0))}},
        {"short login", {Request(PacketType::Login7, Bytes(71, 0))}},
        {"login of an old version",
         {Request(PacketType::Login7,
                  [] {
                      Bytes login = Login7Payload("sa", "tulip");
                      login[7] = 0x70;
                      login[4] = 0;
                      return login;
                  }())}},
        {"prelogin without terminator",
         {Request(PacketType::Prelogin, {0x00, 0x00, 0x06, 0x00, 0x06})}},
        {"second login",
         {Request(PacketType::Login7, Login7Payload("sa", "tulip")),
          Request(PacketType::Login7, Login7Payload("sa", "tulip"))}},
        {"headers longer than the batch",
         {Request(PacketType::Login7, Login7Payload("sa", "tulip")),
          Request(PacketType::SqlBatch, badHeaders)}},
    };
    for (const auto& entry : cases) {
        Session session(m_settings, m_commands, m_pause, 51);
        bool hungUp = false;
        for (const Message& request : entry.requests)
            hungUp = session.Handle(request).hangUp;
        EXPECT_TRUE(hungUp) << entry.what;
    }
}

} // namespace
