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
using testing_support::RpcPayload;
using testing_support::TextParameter;

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
        m_header.assign(reply.bytes.begin(),
                        reply.bytes.begin() + std::min<std::size_t>(8, reply.bytes.size()));
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
    Bytes m_header; // of the last reply's first packet
};

bool Contains(const Bytes& reply, const Bytes& part) {
    return std::search(reply.begin(), reply.end(), part.begin(), part.end()) != reply.end();
}

// The final DONE of a TDS 7.4 reply: token, status, command, row count.
Bytes FinalDone(std::uint16_t status) {
    return {0xFD,
            static_cast<std::uint8_t>(status),
            static_cast<std::uint8_t>(status >> 8),
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0};
}

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

TEST_F(SessionTest, AcknowledgesAbandonedRequestsAndRefusesUnknownPacketsWithAMessage) {
    Send(Request(PacketType::Login7, Login7Payload("sa", "tulip")));
    EXPECT_EQ(0x33, m_header.at(5)) << "the connection's process id, 51, in every header";
    Message abandoned = Request(PacketType::SqlBatch, {});
    abandoned.ignored = true;
    EXPECT_EQ(FinalDone(0x20), Send(abandoned));
    const Bytes unknown = Send(Request(static_cast<PacketType>(0x77), {1, 2, 3}));
    EXPECT_EQ(std::vector<std::int32_t>{4002}, testing_support::Summarize(unknown).messages);
    EXPECT_FALSE(m_hungUp);
    const Bytes answer = Send(Request(PacketType::SqlBatch, BatchPayload("SELECT 7")));
    EXPECT_TRUE(Contains(answer, {0xD1, 4, 7, 0, 0, 0})) << "a row holding the int 7";
}

TEST_F(SessionTest, ExplainsWhyItHangsUpOnAnOldClient) {
    Bytes login = Login7Payload("sa", "tulip");
    login[7] = 0x70; // TDS 7.0
    login[4] = 0;
    const Bytes reply = Send(Request(PacketType::Login7, login));
    EXPECT_TRUE(m_hungUp);
    EXPECT_EQ(std::vector<std::int32_t>{4002}, testing_support::Summarize(reply).messages);
}

TEST_F(SessionTest, ReportsTransactionsAndNoCountAsTheServerDoes) {
    Send(Request(PacketType::Login7, Login7Payload("sa", "tulip")));
    // ENVCHANGE begin: type 8, the new descriptor of eight bytes, no old one.
    const Bytes began = Send(Request(PacketType::SqlBatch, BatchPayload("BEGIN TRAN")));
    EXPECT_TRUE(Contains(began, {0xE3, 11, 0, 8, 8, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    const Bytes nested = Send(Request(PacketType::SqlBatch, BatchPayload("begin transaction x")));
    EXPECT_FALSE(Contains(nested, {0xE3}));
    const Bytes committed = Send(Request(PacketType::SqlBatch, BatchPayload("COMMIT; COMMIT")));
    EXPECT_TRUE(Contains(committed, {0xE3, 11, 0, 9, 0, 8, 1, 0, 0, 0, 0, 0, 0, 0}));
    const Bytes extra = Send(Request(PacketType::SqlBatch, BatchPayload("ROLLBACK")));
    EXPECT_EQ(std::vector<std::int32_t>{3903}, testing_support::Summarize(extra).messages);

    // Transaction Manager requests: begin (5), then rollback (8) without a new one.
    Bytes begin = BatchPayload("");
    begin.insert(begin.end(), {5, 0, 0, 0});
    EXPECT_TRUE(Contains(Send(Request(PacketType::TransactionManager, begin)), {0xE3, 11, 0, 8}));
    Bytes rollback = BatchPayload("");
    rollback.insert(rollback.end(), {8, 0, 0, 0});
    EXPECT_TRUE(
        Contains(Send(Request(PacketType::TransactionManager, rollback)), {0xE3, 11, 0, 10}));

    const Bytes counted = Send(Request(PacketType::SqlBatch, BatchPayload("SELECT 1")));
    EXPECT_TRUE(Contains(counted, {0xFD, 0x10, 0, 0xC1, 0}));
    const Bytes quiet =
        Send(Request(PacketType::SqlBatch, BatchPayload("SET NOCOUNT ON SELECT 1")));
    EXPECT_TRUE(Contains(quiet, {0xFD, 0x00, 0, 0xC1, 0}));
}

TEST_F(SessionTest, ResetsTheConnectionWhenAsked) {
    Send(Request(PacketType::Login7, Login7Payload("sa", "tulip")));
    Send(Request(PacketType::SqlBatch, BatchPayload("SET NOCOUNT ON BEGIN TRAN")));
    Message reset = Request(PacketType::SqlBatch, BatchPayload("SELECT @@TRANCOUNT"));
    reset.reset = true;
    const Bytes reply = Send(reset);
    EXPECT_TRUE(Contains(reply, {0xE3, 3, 0, 18, 0, 0})) << "the reset's acknowledgement";
    EXPECT_TRUE(Contains(reply, {0xE3, 11, 0, 10})) << "the open transaction rolled back";
    EXPECT_TRUE(Contains(reply, {0xD1, 4, 0, 0, 0, 0, 0xFD, 0x10})) << "no transaction, counted";
}

TEST_F(SessionTest, RunsPreparedStatementsCalledByTheirIds) {
    Send(Request(PacketType::Login7, Login7Payload("sa", "tulip")));
    // sp_prepexec: the handle (an output int, still NULL), the declaration, the statement,
    // and the value of @a.
    Bytes parameters = {0, 0x01, 0x26, 4, 0};
    for (const char* text : {"@a int", "SELECT @a"}) {
        const Bytes parameter = TextParameter(text);
        parameters.insert(parameters.end(), parameter.begin(), parameter.end());
    }
    parameters.insert(parameters.end(), {0, 0, 0x38, 9, 0, 0, 0});
    const Bytes executed = Send(Request(PacketType::Rpc, RpcPayload(13, parameters)));
    EXPECT_TRUE(Contains(executed, {0xD1, 4, 9, 0, 0, 0, 0xFF})) << "the row, then DONEINPROC";
    EXPECT_TRUE(Contains(executed, {0x79, 0, 0, 0, 0, 0xAC, 0, 0})) << "status and handle";
    EXPECT_TRUE(Contains(executed, {0x26, 4, 4, 1, 0, 0, 0, 0xFE, 0, 0})) << "handle 1, DONEPROC";

    // sp_execute of that handle with a new value, then of a handle never prepared.
    const Bytes again = Send(
        Request(PacketType::Rpc, RpcPayload(12, {0, 0, 0x38, 1, 0, 0, 0, 0, 0, 0x38, 3, 0, 0, 0})));
    EXPECT_TRUE(Contains(again, {0xD1, 4, 3, 0, 0, 0, 0xFF}));
    const Bytes unknown = Send(Request(PacketType::Rpc, RpcPayload(12, {0, 0, 0x38, 2, 0, 0, 0})));
    EXPECT_EQ(std::vector<std::int32_t>{8179}, testing_support::Summarize(unknown).messages);
    const Bytes badType = Send(Request(PacketType::Rpc, RpcPayload(10, {0, 0, 0x22, 0, 0})));
    EXPECT_EQ(std::vector<std::int32_t>{8009}, testing_support::Summarize(badType).messages);
    EXPECT_FALSE(m_hungUp);
}

TEST_F(SessionTest, StopsAClientThatPreparesWithoutEnd) {
    Send(Request(PacketType::Login7, Login7Payload("sa", "tulip")));
    // sp_prepare: the handle (output), the declaration, the statement.
    Bytes parameters = {0, 0x01, 0x26, 4, 0};
    for (const char* text : {"", "SELECT 1"}) {
        const Bytes parameter = TextParameter(text);
        parameters.insert(parameters.end(), parameter.begin(), parameter.end());
    }
    const Message prepare = Request(PacketType::Rpc, RpcPayload(11, parameters));
    for (int i = 0; i < 4096; ++i)
        ASSERT_TRUE(testing_support::Summarize(Send(prepare)).messages.empty()) << i;
    EXPECT_EQ(std::vector<std::int32_t>{701}, testing_support::Summarize(Send(prepare)).messages);
}

TEST_F(SessionTest, AcknowledgesNoFeatureOfATds74Login) {
    Bytes login = Login7Payload("sa", "tulip");
    login[27] |= 0x10; // the client offers feature extensions
    const Bytes reply = Send(Request(PacketType::Login7, login));
    Bytes ackThenDone = {0xAE, 0xFF};
    const Bytes done = FinalDone(0);
    ackThenDone.insert(ackThenDone.end(), done.begin(), done.end());
    EXPECT_TRUE(Contains(reply, ackThenDone));
}

} // namespace
