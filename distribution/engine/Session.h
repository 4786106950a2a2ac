#pragma once

#include "distribution/engine/Commands.h"
#include "distribution/engine/Packets.h"
#include "distribution/engine/Tokens.h"

#include <string>

namespace engine {

// Who may log in, and how the engine names itself in messages.
struct SessionSettings {
    std::string login;
    std::string password;
    std::string serverName; // as messages quote it: computer name and instance
};

// The protocol state of one client connection, without its socket: each whole request in,
// the bytes of the reply (already framed into packets) out, and whether to hang up.
// PRELOGIN, then LOGIN7, then SQL batches and attentions; anything out of that order, or
// malformed, ends the connection.
class Session {
public:
    Session(const SessionSettings& settings, CommandRunner& commands)
        : m_settings(settings), m_commands(commands) {}

    struct Reply {
        Bytes bytes;
        bool hangUp = false;
    };

    Reply Handle(const Message& request);
    bool LoggedIn() const { return m_state == State::LoggedIn; }

private:
    enum class State { New, LoggedIn };

    Reply Login(const Message& request);
    Reply Batch(const Message& request);
    Reply Finish(TokenWriter& out) const;

    const SessionSettings& m_settings;
    CommandRunner& m_commands;
    State m_state = State::New;
    TdsVersion m_version = TdsVersion::V7_4;
    std::size_t m_packetSize = defaultPacketSize;
    std::string m_database = "master";
};

} // namespace engine
