#pragma once

#include "distribution/engine/Commands.h"
#include "distribution/engine/ConnectionState.h"
#include "distribution/engine/Packets.h"
#include "distribution/engine/Prelogin.h"
#include "distribution/engine/Rpc.h"
#include "distribution/engine/Tokens.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace engine {

// Who may log in, and how the engine names itself in messages.
struct SessionSettings {
    std::string login;
    std::string password;
    std::string serverName;   // as messages quote it: computer name and instance
    bool certificate = false; // whether the engine can encrypt
};

// How a running statement waits without knowing the connection: false when the client
// interrupted the wait (an attention, or the connection ended) before the time was up.
class Pause {
public:
    virtual ~Pause() = default;
    virtual bool Wait(std::chrono::milliseconds time) = 0;
};

// The protocol state of one client connection, without its socket: each whole request in,
// the bytes of the reply (already framed into packets) out, and whether to hang up.
// PRELOGIN, then LOGIN7, then SQL batches, remote procedure calls, Transaction Manager
// requests and attentions. A request the engine cannot serve gets an error message; one out
// of that order, or one that leaves the stream in doubt, also ends the connection.
class Session {
public:
    Session(const SessionSettings& settings, CommandRunner& commands, Pause& pause,
            std::uint16_t processId)
        : m_settings(settings), m_commands(commands), m_pause(pause), m_processId(processId),
          m_state(processId) {}

    struct Reply {
        Bytes bytes;
        bool hangUp = false;
        // After this reply: TLS for the login only (Off), for everything (On), or none.
        Encryption startTls = Encryption::NotSupported;
    };

    Reply Handle(const Message& request);
    bool LoggedIn() const { return m_loggedIn; }

private:
    struct Prepared {
        std::string text;
        std::vector<std::string> parameterNames;
    };

    Reply Login(const Message& request);
    Reply Batch(const Message& request, TokenWriter& out);
    Reply Rpc(const Message& request, TokenWriter& out);
    Reply TransactionManager(const Message& request, TokenWriter& out);
    // An error the client can show, for a request the engine cannot serve.
    Reply Refuse(const std::string& detail, bool hangUp);
    // The request's body after its ALL_HEADERS (from TDS 7.2 on); nothing when malformed.
    std::optional<std::span<const std::uint8_t>> Body(const Message& request) const;
    // Runs the statements of one batch or procedure call, each ended by a DONE of the given
    // token, the last one final unless `more`. False when an attention interrupted them: the
    // reply then ends at once, and the attention is acknowledged as the next request.
    bool Run(const std::string& text, const Parameters& parameters, DoneToken token, bool more,
             TokenWriter& out);
    bool RunOne(const Statement& statement, const Parameters& parameters, DoneToken token,
                bool last, TokenWriter& out);
    // One call of an RPC request; false when interrupted.
    bool Call(const RpcCall& call, bool more, TokenWriter& out);
    TokenWriter Writer() const { return TokenWriter(m_version, m_settings.serverName); }
    Reply Finish(TokenWriter& out);

    const SessionSettings& m_settings;
    CommandRunner& m_commands;
    Pause& m_pause;
    std::uint16_t m_processId;
    bool m_loggedIn = false;
    TdsVersion m_version = TdsVersion::V7_4;
    std::size_t m_packetSize = defaultPacketSize;
    std::string m_loginDatabase = "master";
    std::string m_database = "master";
    ConnectionState m_state;
    std::map<std::int32_t, Prepared> m_prepared;
    std::int32_t m_lastHandle = 0;
};

} // namespace engine
