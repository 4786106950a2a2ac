#pragma once

#include "distribution/engine/Bytes.h"
#include "distribution/engine/Packets.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A LOGIN7 request for TDS 7.4 with the given login, the password scrambled as clients do.
engine::Bytes Login7Payload(const std::string& user, const std::string& password,
                            const std::string& database = "");
// A SQL batch request for TDS 7.4: empty ALL_HEADERS, then the text in UTF-16LE.
engine::Bytes BatchPayload(const std::string& sql);
// An RPC request for TDS 7.4 calling a procedure by its well-known id, with parameters
// already laid out.
engine::Bytes RpcPayload(std::uint16_t procedureId, const engine::Bytes& parameters);
// An unnamed text parameter of ASCII text: NVARCHAR(4000) by default.
engine::Bytes TextParameter(const std::string& text, std::uint8_t type = 0xE7);

// Numbers of the INFO and ERROR tokens at the start of a reply, and whether it held a
// LOGINACK; scanning stops at the first token that is not length-prefixed or DONE.
struct ReplySummary {
    bool loginAck = false;
    std::vector<std::int32_t> messages;
};
ReplySummary Summarize(const engine::Bytes& reply);

// A bare TDS connection to 127.0.0.1, for what real clients never send.
class RawTdsClient {
public:
    explicit RawTdsClient(std::uint16_t port);
    ~RawTdsClient();
    RawTdsClient(const RawTdsClient&) = delete;
    RawTdsClient& operator=(const RawTdsClient&) = delete;

    void SendRaw(const engine::Bytes& bytes);
    void Send(engine::PacketType type, const engine::Bytes& payload);
    // The payload of the next whole reply; nothing when the engine hangs up (or is silent
    // for five seconds).
    std::optional<engine::Bytes> Receive();
    // Whether the engine ends the connection within the time given.
    bool HungUp(std::chrono::milliseconds within = std::chrono::seconds(5));

    // PRELOGIN and LOGIN7; whether the engine acknowledged the login.
    bool Login(const std::string& user = "sa", const std::string& password = "tulip");

private:
    int m_fd = -1;
    engine::MessageAssembler m_assembler{std::size_t{16} << 20};
};

} // namespace testing_support
