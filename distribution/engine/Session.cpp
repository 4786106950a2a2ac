#include "distribution/engine/Session.h"

#include "distribution/engine/Login7.h"
#include "distribution/engine/Prelogin.h"
#include "distribution/engine/Utf16.h"

#include <algorithm>
#include <cctype>

namespace engine {
namespace {

constexpr std::uint8_t programVersion[4] = {15, 0, 0x07, 0xD0};
constexpr std::size_t minPacketSize = 512;

bool SameLogin(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

Session::Reply Session::Handle(const Message& request) {
    switch (static_cast<PacketType>(request.type)) {
    case PacketType::Prelogin:
        if (m_state != State::New || !ValidPrelogin(request.payload))
            return {{}, true};
        return {Frame(PacketType::TabularResult, PreloginResponse(), m_packetSize)};
    case PacketType::Login7:
        if (m_state != State::New)
            return {{}, true};
        return Login(request);
    case PacketType::SqlBatch:
        if (m_state != State::LoggedIn)
            return {{}, true};
        return Batch(request);
    case PacketType::Attention: {
        if (m_state != State::LoggedIn)
            return {{}, true};
        // Every request has been answered in full by now; the client still waits for the
        // acknowledgement before it sends anything else.
        TokenWriter out(m_version, m_settings.serverName);
        out.Done(doneAttention);
        return Finish(out);
    }
    case PacketType::Rpc: {
        if (m_state != State::LoggedIn)
            return {{}, true};
        TokenWriter out(m_version, m_settings.serverName);
        out.Message({40517, 1, 16,
                     "Keyword or statement option 'remote procedure call' is not supported in this "
                     "version of SQL Server."});
        out.Done(doneError);
        return Finish(out);
    }
    default:
        return {{}, true};
    }
}

Session::Reply Session::Login(const Message& request) {
    const auto login = ParseLogin7(request.payload);
    if (!login)
        return {{}, true};
    const auto version = NegotiateVersion(login->tdsVersion);
    if (!version)
        return {{}, true};
    m_version = *version;
    TokenWriter out(m_version, m_settings.serverName);

    auto refuse = [&] {
        out.Message({18456, 1, 14, "Login failed for user '" + login->userName + "'."});
        out.Done(doneError);
        Reply reply = Finish(out);
        reply.hangUp = true;
        return reply;
    };
    if (!SameLogin(login->userName, m_settings.login) || login->password != m_settings.password)
        return refuse();
    const std::string requested = login->database.empty() ? "master" : login->database;
    const auto database = m_commands.FindDatabase(requested);
    if (!database) {
        out.Message({4060, 1, 11,
                     "Cannot open database \"" + requested +
                         "\" requested by the login. The login failed."});
        return refuse();
    }

    // A client asking for no particular size gets the default; others are held to what
    // TDS allows.
    const std::size_t packetSize =
        login->packetSize == 0
            ? defaultPacketSize
            : std::clamp<std::size_t>(login->packetSize, minPacketSize, maxPacketSize);
    m_database = *database;
    out.EnvChange(EnvChangeType::Database, m_database, "master");
    out.Message({5701, 2, 0, "Changed database context to '" + m_database + "'."});
    out.CollationChange();
    out.EnvChange(EnvChangeType::Language, "us_english", "");
    out.Message({5703, 1, 0, "Changed language setting to us_english."});
    out.LoginAck("Microsoft SQL Server", programVersion);
    out.EnvChange(EnvChangeType::PacketSize, std::to_string(packetSize),
                  std::to_string(m_packetSize));
    out.Done(doneFinal);
    Reply reply = Finish(out);
    m_packetSize = packetSize;
    m_state = State::LoggedIn;
    return reply;
}

Session::Reply Session::Batch(const Message& request) {
    std::span<const std::uint8_t> text(request.payload);
    if (static_cast<std::uint32_t>(m_version) >= static_cast<std::uint32_t>(TdsVersion::V7_2)) {
        // ALL_HEADERS (transaction descriptor and the like) precede the text; its length
        // counts itself.
        ByteReader headers(text);
        const auto length = headers.U32Le();
        if (!length || *length < 4 || *length > text.size())
            return {{}, true};
        text = text.subspan(*length);
    }

    TokenWriter out(m_version, m_settings.serverName);
    const auto parsed = ParseBatch(Utf16LeToUtf8(text));
    if (const auto* error = std::get_if<ServerMessage>(&parsed)) {
        out.Message(*error);
        out.Done(doneError);
        return Finish(out);
    }
    const auto& statements = std::get<std::vector<Statement>>(parsed);
    if (statements.empty())
        out.Done(doneFinal);
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const auto outcome = m_commands.Run(statements[i], m_database, out);
        const bool last = i + 1 == statements.size();
        out.Done(static_cast<std::uint16_t>(outcome.status | (last ? doneFinal : doneMore)),
                 outcome.command, outcome.rows);
    }
    return Finish(out);
}

Session::Reply Session::Finish(TokenWriter& out) const {
    return {Frame(PacketType::TabularResult, out.Take(), m_packetSize)};
}

} // namespace engine
