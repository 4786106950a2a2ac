#include "tests/distribution/engine/RawTdsClient.h"
#include "tests/support/EngineProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

namespace {

using engine::Bytes;
using engine::PacketType;
using testing_support::BatchPayload;
using testing_support::EngineProcess;
using testing_support::RawTdsClient;

Bytes Header(std::uint8_t type, std::uint8_t status, std::uint16_t length) {
    return {type,
            status,
            static_cast<std::uint8_t>(length >> 8),
            static_cast<std::uint8_t>(length),
            0,
            0,
            1,
            0};
}

Bytes Join(Bytes first, const Bytes& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The reply to a batch ends with a final DONE: 0xFD and two zero status bytes, 13 bytes
// from the end in TDS 7.4.
bool EndsWithFinalDone(const Bytes& reply) {
    return reply.size() >= 13 && reply[reply.size() - 13] == 0xFD &&
           (reply[reply.size() - 12] & 0x01) == 0;
}

TEST(EngineRobustness, HangsUpOnHostilePacketsAndServesOthers) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool closeFirst; // the client gives up before the packet is complete
    };
    Bytes oversized;
    // A message that never ends: 40 packets of 32000 bytes without the end-of-message bit.
    for (int i = 0; i < 40; ++i)
        oversized = Join(Join(oversized, Header(0x01, 0, 32000)), Bytes(32000 - 8, 0x41));
    Bytes hugeLogin = Header(0x10, 1, 8 + 94);
    hugeLogin.resize(8 + 94, 0xFF); // every field offset and length far outside the packet
    const Case cases[] = {
        {"length shorter than the header", Header(0x12, 1, 4), false},
        {"length beyond any packet", Header(0x12, 1, 0xFFFF), false},
        {"unknown packet type", Join(Header(0x77, 1, 12), {1, 2, 3, 4}), false},
        {"batch before login", Join(Header(0x01, 1, 12), {1, 2, 3, 4}), false},
        {"login fields outside the packet", hugeLogin, false},
        {"oversized message", oversized, false},
        {"truncated packet", Join(Header(0x12, 1, 200), {0, 0, 0}), true},
    };
    EngineProcess engine;
    RawTdsClient bystander(engine.Port());
    ASSERT_TRUE(bystander.Login());
    for (const Case& entry : cases) {
        {
            RawTdsClient hostile(engine.Port());
            hostile.SendRaw(entry.bytes);
            if (!entry.closeFirst) {
                EXPECT_TRUE(hostile.HungUp()) << entry.what;
            }
        }
        bystander.Send(PacketType::SqlBatch, BatchPayload("SELECT name FROM sys.databases"));
        const auto reply = bystander.Receive();
        ASSERT_TRUE(reply) << entry.what;
        EXPECT_TRUE(EndsWithFinalDone(*reply)) << entry.what;
    }
    // A clean exit: under the sanitizers, any memory error would have shown here.
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

TEST(EngineRobustness, DropsAClientThatTricklesPastTheLoginDeadline) {
    testing_support::EngineProcessOptions options;
    options.loginTimeoutSeconds = 1;
    EngineProcess engine(options);
    RawTdsClient slow(engine.Port());
    // A PRELOGIN of 200 bytes, one byte every 200 ms: each byte comes well within a second
    // of the last, but the whole would take 40 s.
    const Bytes prelogin = Join(Header(0x12, 1, 200), Bytes(192, 0xFF));
    bool hungUp = false;
    for (std::size_t i = 0; i < 30 && !hungUp; ++i) {
        slow.SendRaw({prelogin[i]});
        hungUp = slow.HungUp(std::chrono::milliseconds(200));
    }
    EXPECT_TRUE(hungUp);
    RawTdsClient prompt(engine.Port());
    EXPECT_TRUE(prompt.Login());
}

TEST(EngineRobustness, ClientsThatNeverLogInKeepNoOneOut) {
    // More than the engine has room for altogether, each stuck in the middle of a packet.
    EngineProcess engine;
    RawTdsClient bystander(engine.Port());
    ASSERT_TRUE(bystander.Login());
    std::vector<std::unique_ptr<RawTdsClient>> stuck;
    for (int i = 0; i < 520; ++i) {
        stuck.push_back(std::make_unique<RawTdsClient>(engine.Port()));
        stuck.back()->SendRaw({0x12});
    }
    for (int i = 0; i < 3; ++i) {
        RawTdsClient prompt(engine.Port());
        EXPECT_TRUE(prompt.Login()) << i;
    }
    // The oldest of them made way; the client that had logged in did not.
    EXPECT_TRUE(stuck.front()->HungUp());
    bystander.Send(PacketType::SqlBatch, BatchPayload("SELECT name FROM sys.databases"));
    const auto reply = bystander.Receive();
    ASSERT_TRUE(reply);
    EXPECT_TRUE(EndsWithFinalDone(*reply));
    stuck.clear();
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

TEST(EngineRobustness, ReleasesEachConnectionWhenItEnds) {
    EngineProcess engine;
    const auto descriptors = [&] {
        const auto folder = "/proc/" + std::to_string(engine.Pid()) + "/fd";
        return std::distance(std::filesystem::directory_iterator(folder),
                             std::filesystem::directory_iterator());
    };
    std::ptrdiff_t during = 0;
    {
        std::vector<std::unique_ptr<RawTdsClient>> clients;
        for (int i = 0; i < 20; ++i) {
            clients.push_back(std::make_unique<RawTdsClient>(engine.Port()));
            ASSERT_TRUE(clients.back()->Login());
        }
        during = descriptors();
    }
    // No further client connects: ending is what has to free them. (The count is compared
    // with the one during, as the engine's libraries may hold a file open for a moment.)
    for (int wait = 0; wait < 50 && descriptors() > during - 20; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(descriptors(), during - 20);
}

TEST(EngineRobustness, AnswersAnAttentionWithItsAcknowledgement) {
    EngineProcess engine;
    RawTdsClient client(engine.Port());
    ASSERT_TRUE(client.Login());
    client.Send(PacketType::Attention, {});
    const auto reply = client.Receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, (Bytes{0xFD, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(EngineRobustness, ServesFiftyClientsAtOnce) {
    constexpr int clients = 50;
    EngineProcess engine;
    std::vector<std::unique_ptr<RawTdsClient>> connections;
    for (int i = 0; i < clients; ++i) {
        connections.push_back(std::make_unique<RawTdsClient>(engine.Port()));
        ASSERT_TRUE(connections.back()->Login()) << i;
    }
    // Every connection stays open while all of them query at the same moment.
    std::vector<int> answered(clients, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&, i] {
            connections[i]->Send(PacketType::SqlBatch,
                                 BatchPayload("SELECT name FROM sys.databases"));
            const auto reply = connections[i]->Receive();
            answered[i] = reply && EndsWithFinalDone(*reply) ? 1 : 0;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(std::vector<int>(clients, 1), answered);
    EXPECT_EQ(0, engine.Stop()) << engine.Output();
}

} // namespace
