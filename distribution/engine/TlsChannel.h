#pragma once

#include "distribution/engine/Bytes.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

namespace engine {

// The engine's certificate and key, loaded once and shared by every connection.
class TlsCredentials {
public:
    // Throws std::runtime_error naming the file that could not be used.
    TlsCredentials(const std::string& certificateFile, const std::string& keyFile);
    ~TlsCredentials();
    TlsCredentials(const TlsCredentials&) = delete;
    TlsCredentials& operator=(const TlsCredentials&) = delete;

private:
    friend class TlsChannel;
    struct Context;
    std::unique_ptr<Context> m_context;
};

// The server side of one TLS session, driven through memory buffers so that it knows
// nothing of sockets: bytes from the client in, bytes for the client out. TDS carries the
// handshake inside PRELOGIN packets and the records after it bare; the caller does that.
class TlsChannel {
public:
    explicit TlsChannel(const TlsCredentials& credentials);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    enum class Progress { NeedMore, Done, Failed };

    // Feeds handshake bytes from the client; what to answer is then in TakeOutgoing.
    Progress Handshake(std::span<const std::uint8_t> incoming);
    // Decrypts records from the client; false when they are not valid records.
    bool Decrypt(std::span<const std::uint8_t> incoming, Bytes& plain);
    // The records for the client; nothing when the session has failed.
    std::optional<Bytes> Encrypt(std::span<const std::uint8_t> plain);
    Bytes TakeOutgoing();

private:
    struct Session;
    std::unique_ptr<Session> m_session;
};

} // namespace engine
