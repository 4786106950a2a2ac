#include "tests/distribution/engine/RawTdsClient.h"

#include "distribution/engine/Login7.h"
#include "distribution/engine/Utf16.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {
namespace {

constexpr int receiveTimeoutMs = 5000;

} // namespace

engine::Bytes Login7Payload(const std::string& user, const std::string& password,
                            const std::string& database) {
    // The variable fields in LOGIN7's order: host, user, password, application, server,
    // extension, library, language, database.
    const std::string fields[] = {"testhost", user,  password, "test",  "127.0.0.1",
                                  "",         "raw", "",       database};
    constexpr std::size_t fixedSize = 94;
    engine::ByteWriter variable;
    engine::ByteWriter offsets;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        engine::Bytes text = engine::Utf8ToUtf16Le(fields[i]);
        if (i == 2)
            for (std::uint8_t& byte : text)
                byte = engine::ObfuscatePasswordByte(byte);
        offsets.U16Le(static_cast<std::uint16_t>(fixedSize + variable.Size()));
        offsets.U16Le(static_cast<std::uint16_t>(text.size() / 2));
        variable.Append(text);
    }
    engine::ByteWriter out;
    out.U32Le(static_cast<std::uint32_t>(fixedSize + variable.Size()));
    out.U32Le(0x74000004); // TDS 7.4
    out.U32Le(4096);       // packet size
    for (int i = 0; i < 5; ++i)
        out.U32Le(0); // client version, process, connection, option and type flags, time zone
    out.U32Le(0x0409);
    out.Append(offsets.Data());
    for (int i = 0; i < 6; ++i)
        out.U8(0); // client id
    for (int i = 0; i < 3; ++i)
        out.U32Le(0); // SSPI, attached file, change password
    out.U32Le(0);     // long SSPI
    out.Append(variable.Data());
    return out.Take();
}

engine::Bytes BatchPayload(const std::string& sql) {
    engine::ByteWriter out;
    out.U32Le(22); // ALL_HEADERS: total length, then one transaction descriptor header
    out.U32Le(18);
    out.U16Le(2);
    out.U64Le(0);
    out.U32Le(1);
    out.Append(engine::Utf8ToUtf16Le(sql));
    return out.Take();
}

engine::Bytes RpcPayload(std::uint16_t procedureId, const engine::Bytes& parameters) {
    engine::Bytes payload = BatchPayload("");
    payload.insert(payload.end(), {0xFF, 0xFF, static_cast<std::uint8_t>(procedureId),
                                   static_cast<std::uint8_t>(procedureId >> 8), 0, 0});
    payload.insert(payload.end(), parameters.begin(), parameters.end());
    return payload;
}

engine::Bytes TextParameter(const std::string& text, std::uint8_t type) {
    engine::Bytes out = {0,
                         0,
                         type,
                         0x40,
                         0x1F,
                         0x09,
                         0x04,
                         0xD0,
                         0x00,
                         0x34,
                         static_cast<std::uint8_t>(2 * text.size()),
                         0};
    for (char c : text)
        out.insert(out.end(), {static_cast<std::uint8_t>(c), 0});
    return out;
}

ReplySummary Summarize(const engine::Bytes& reply) {
    ReplySummary summary;
    engine::ByteReader reader(reply);
    while (const auto token = reader.U8()) {
        if (*token == 0xFD || *token == 0xFE || *token == 0xFF) {
            if (!reader.Take(12))
                break;
            continue;
        }
        if (*token != 0xAA && *token != 0xAB && *token != 0xAD && *token != 0xE3)
            break;
        const auto length = reader.U16Le();
        const auto body = length ? reader.Take(*length) : std::nullopt;
        if (!body)
            break;
        if (*token == 0xAD)
            summary.loginAck = true;
        if ((*token == 0xAA || *token == 0xAB) && body->size() >= 4)
            summary.messages.push_back(
                static_cast<std::int32_t>(*engine::ByteReader(*body).U32Le()));
    }
    return summary;
}

RawTdsClient::RawTdsClient(std::uint16_t port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (m_fd < 0 || ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot connect to 127.0.0.1 port " + std::to_string(port));
}

RawTdsClient::~RawTdsClient() {
    ::close(m_fd);
}

void RawTdsClient::SendRaw(const engine::Bytes& bytes) {
    // A peer that hung up already makes sends fail; tests look at HungUp for that.
    ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void RawTdsClient::Send(engine::PacketType type, const engine::Bytes& payload) {
    SendRaw(engine::Frame(type, payload, engine::defaultPacketSize));
}

std::optional<engine::Bytes> RawTdsClient::Receive() {
    engine::Message message;
    while (m_assembler.Next(message) != engine::MessageAssembler::Status::Complete) {
        pollfd readable{m_fd, POLLIN, 0};
        if (::poll(&readable, 1, receiveTimeoutMs) <= 0)
            return std::nullopt;
        std::uint8_t buffer[65536];
        const ssize_t count = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (count <= 0)
            return std::nullopt;
        m_assembler.Feed(std::span(buffer, static_cast<std::size_t>(count)));
    }
    return message.payload;
}

bool RawTdsClient::HungUp(std::chrono::milliseconds within) {
    for (;;) {
        pollfd readable{m_fd, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(within.count())) <= 0)
            return false;
        std::uint8_t buffer[4096];
        const ssize_t count = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (count <= 0)
            return true;
    }
}

bool RawTdsClient::Login(const std::string& user, const std::string& password) {
    Send(engine::PacketType::Prelogin, {0xFF});
    if (!Receive())
        return false;
    Send(engine::PacketType::Login7, Login7Payload(user, password));
    const auto reply = Receive();
    return reply && Summarize(*reply).loginAck;
}

} // namespace testing_support
