// A bounded run of mutated requests against the engine: first straight into sessions in
// this process (fast, so many), then over sockets into a running engine, which must go on
// serving and exit cleanly. Under the sanitizers any memory error ends the run.
//   engine_mutation_run [in-process cases] [socket cases] [seed]
#include "distribution/engine/Session.h"
#include "tests/distribution/engine/RawTdsClient.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

using engine::Bytes;
using engine::PacketType;
using testing_support::BatchPayload;
using testing_support::RpcPayload;
using testing_support::TextParameter;

struct Seed {
    PacketType type;
    Bytes payload;
};

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds = {
        {PacketType::Prelogin,
         {0x00, 0x00, 0x0B, 0x00, 0x06, 0x01, 0x00, 0x11, 0x00, 0x01, 0xFF, 15, 0, 0, 0, 0, 0, 0}},
        {PacketType::Login7, testing_support::Login7Payload("sa", "tulip", "master")},
        {PacketType::Attention, {}},
        {PacketType::TransactionManager,
         [] {
             Bytes tm = BatchPayload("");
             tm.insert(tm.end(), {7, 0, 0, 1, 0, 0});
             return tm;
         }()},
    };
    for (const char* sql :
         {"SELECT name FROM sys.databases", "SELECT @@VERSION; USE master", "SELECT N'x' AS y",
          "SET NOCOUNT ON SET ANSI_NULLS, ANSI_PADDING OFF SET LANGUAGE us_english",
          "BEGIN TRAN x SELECT @@TRANCOUNT COMMIT", "WAITFOR DELAY '00:00:00.010'",
          "RESTORE DATABASE zabo FROM DISK = 'C:\\missing.bak'", "/* c */ SELECT -1 -- d"})
        seeds.push_back({PacketType::SqlBatch, BatchPayload(sql)});
    Bytes prepexec = {0, 0x01, 0x26, 4, 0};
    for (const Bytes& part : {TextParameter("@a int"), TextParameter("SELECT @a")})
        prepexec.insert(prepexec.end(), part.begin(), part.end());
    prepexec.insert(prepexec.end(), {0, 0, 0x38, 9, 0, 0, 0});
    seeds.push_back({PacketType::Rpc, RpcPayload(13, prepexec)});
    Bytes executesql = TextParameter("SELECT @p", 0x63);
    executesql.insert(executesql.begin() + 3, {0, 0}); // ntext has a four-byte maximum length
    seeds.push_back({PacketType::Rpc, RpcPayload(10, executesql)});
    seeds.push_back({PacketType::Rpc, RpcPayload(12, {0, 0, 0x26, 4, 4, 1, 0, 0, 0})});
    return seeds;
}

// A request framed into packets of a random size, then damaged in a few random ways.
Bytes Mutated(const Seed& seed, std::mt19937& random) {
    auto pick = [&](std::size_t below) {
        return below == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, below - 1)(random);
    };
    Bytes bytes = engine::Frame(seed.type, seed.payload, 512 + pick(4096));
    const std::size_t damages = 1 + pick(4);
    for (std::size_t i = 0; i < damages && !bytes.empty(); ++i) {
        switch (pick(6)) {
        case 0:
            bytes[pick(bytes.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
            break;
        case 1:
            bytes[pick(bytes.size())] = pick(2) ? 0xFF : 0x00;
            break;
        case 2:
            bytes.resize(pick(bytes.size()));
            break;
        case 3: {
            const std::size_t at = pick(bytes.size());
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         static_cast<std::uint8_t>(pick(256)));
            break;
        }
        case 4: { // a length field somewhere set to something large
            const std::size_t at = pick(bytes.size() - 1);
            bytes[at] = 0xFF;
            bytes[at + 1] = static_cast<std::uint8_t>(pick(256));
            break;
        }
        default: { // a slice repeated
            const std::size_t from = pick(bytes.size());
            const std::size_t length = std::min<std::size_t>(pick(64), bytes.size() - from);
            const Bytes slice(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                              bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size())),
                         slice.begin(), slice.end());
        }
        }
    }
    return bytes;
}

class InstantPause : public engine::Pause {
public:
    bool Wait(std::chrono::milliseconds) override { return true; }
};

void InProcess(std::size_t cases, std::mt19937& random, const std::vector<Seed>& seeds) {
    const testing_support::TempDir folder;
    engine::DataFolder data(folder / "data");
    engine::CommandRunner commands(data, platform::DriveMap((folder / "c").string()), "version");
    const engine::SessionSettings settings{"sa", "tulip", "VM\\home"};
    InstantPause pause;
    for (std::size_t i = 0; i < cases; ++i) {
        engine::Session session(settings, commands, pause, 51);
        if (random() % 5 != 0)
            session.Handle({static_cast<std::uint8_t>(PacketType::Login7),
                            testing_support::Login7Payload("sa", "tulip")});
        engine::MessageAssembler assembler(std::size_t{1} << 20);
        const Bytes bytes = Mutated(seeds[random() % seeds.size()], random);
        assembler.Feed(bytes);
        engine::Message message;
        while (assembler.Next(message) == engine::MessageAssembler::Status::Complete)
            if (session.Handle(message).hangUp)
                break;
    }
}

// Sends the bytes on a connection of their own and waits for the engine to answer or hang
// up; false when the engine refused a proper login first.
bool OverSocket(std::uint16_t port, const Bytes& bytes, bool login) {
    testing_support::RawTdsClient client(port);
    if (login && !client.Login())
        return false;
    client.SendRaw(bytes);
    client.HungUp(std::chrono::milliseconds(50));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t inProcess = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20000;
    const std::size_t overSockets = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 200;
    std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10))
                                 : std::random_device()());
    const auto seeds = Seeds();
    InProcess(inProcess, random, seeds);

    testing_support::EngineProcessOptions options;
    options.loginTimeoutSeconds = 2;
    testing_support::EngineProcess engine(options);
    for (std::size_t i = 0; i < overSockets; ++i) {
        const Bytes bytes = Mutated(seeds[random() % seeds.size()], random);
        if (!OverSocket(engine.Port(), bytes, random() % 2 == 0)) {
            std::cerr << "case " << i << ": a fresh client could not log in\n";
            return 1;
        }
    }
    testing_support::RawTdsClient last(engine.Port());
    if (!last.Login()) {
        std::cerr << "the engine no longer serves a normal client\n" << engine.Output();
        return 1;
    }
    const int status = engine.Stop();
    if (status != 0) {
        std::cerr << "the engine did not exit cleanly (" << status << ")\n" << engine.Output();
        return 1;
    }
    std::cout << inProcess << " in-process and " << overSockets << " socket cases passed\n";
    return 0;
}
