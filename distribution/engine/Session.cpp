#include "distribution/engine/Session.h"

#include "distribution/engine/Login7.h"
#include "distribution/engine/Prelogin.h"
#include "distribution/engine/SqlLexer.h"
#include "distribution/engine/Utf16.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace engine {
namespace {

constexpr std::uint8_t programVersion[4] = {15, 0, 0x07, 0xD0};
constexpr std::size_t minPacketSize = 512;
constexpr std::uint8_t featureExtAck = 0xAE;
// Statements one connection may hold prepared; a client that never unprepares is stopped
// there rather than growing without end.
constexpr std::size_t maxPrepared = 4096;
constexpr std::uint8_t featureTerminator = 0xFF;

// Transaction Manager request types.
constexpr std::uint16_t beginTransaction = 5;
constexpr std::uint16_t commitTransaction = 7;
constexpr std::uint16_t rollbackTransaction = 8;

bool SameLogin(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// The parameter names a declaration such as "@P1 int, @P2 nvarchar(10)" introduces, in order.
std::vector<std::string> DeclaredNames(const SqlValue& declaration) {
    std::vector<std::string> names;
    const auto* text = std::get_if<std::string>(&declaration);
    if (!text)
        return names;
    const auto tokens = Tokenize(*text);
    if (const auto* list = std::get_if<std::vector<SqlToken>>(&tokens))
        for (const SqlToken& token : *list)
            if (token.kind == SqlToken::Kind::Variable)
                names.push_back(Lowercase(token.text));
    return names;
}

// The values after the fixed parameters of a call, by the names declared for them.
Parameters Values(const std::vector<RpcParameter>& given, std::size_t first,
                  const std::vector<std::string>& names) {
    Parameters values;
    for (std::size_t i = first; i < given.size(); ++i) {
        const std::size_t position = i - first;
        if (!given[i].name.empty())
            values[Lowercase(given[i].name)] = given[i].value;
        else if (position < names.size())
            values[names[position]] = given[i].value;
    }
    return values;
}

const RpcParameter* At(const RpcCall& call, std::size_t index) {
    return index < call.parameters.size() ? &call.parameters[index] : nullptr;
}

} // namespace

Session::Reply Session::Handle(const Message& request) {
    const auto type = static_cast<PacketType>(request.type);
    if (type == PacketType::Attention) {
        if (!m_loggedIn)
            return {{}, true};
        // Whatever it interrupted has been answered in full by now; the acknowledgement comes
        // as a reply of its own, after which the client sends again.
        TokenWriter out = Writer();
        out.Done(doneAttention);
        return Finish(out);
    }
    if (request.ignored) {
        // The client gave up sending it and waits for the acknowledgement.
        if (!m_loggedIn)
            return {{}, true};
        TokenWriter out = Writer();
        out.Done(doneAttention);
        return Finish(out);
    }
    switch (type) {
    case PacketType::Prelogin:
        if (m_loggedIn)
            return Refuse("A PRELOGIN request arrived after the login.", true);
        {
            const auto requested = ParsePrelogin(request.payload);
            if (!requested)
                return Refuse("The PRELOGIN request is malformed.", true);
            const Encryption agreed = AgreeEncryption(*requested, m_settings.certificate);
            return {Frame(PacketType::TabularResult, PreloginResponse(agreed), m_packetSize,
                          m_processId),
                    false, agreed};
        }
    case PacketType::Login7:
        if (m_loggedIn)
            return Refuse("A second LOGIN7 request arrived on a logged-in connection.", true);
        return Login(request);
    case PacketType::SqlBatch:
    case PacketType::Rpc:
    case PacketType::TransactionManager: {
        if (!m_loggedIn)
            return Refuse("A request arrived before the login.", true);
        TokenWriter out = Writer();
        if (request.reset) {
            m_state.Reset(request.keepTransaction, out);
            m_database = m_loginDatabase;
            m_prepared.clear();
            out.BinaryEnvChange(EnvChangeType::ResetConnection, 0, 0);
        }
        if (type == PacketType::SqlBatch)
            return Batch(request, out);
        if (type == PacketType::Rpc)
            return Rpc(request, out);
        return TransactionManager(request, out);
    }
    case PacketType::LegacyLogin:
        return Refuse("Logins of TDS 4.2 and 5.0 are not supported; TDS 7.1 or newer is.", true);
    default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", request.type);
        // The framing is intact, so a logged-in connection stays usable.
        return Refuse(std::string("The packet type ") + hex + " is unknown.", !m_loggedIn);
    }
    }
}

Session::Reply Session::Refuse(const std::string& detail, bool hangUp) {
    TokenWriter out = Writer();
    out.Message({4002, 1, 16,
                 "The incoming tabular data stream (TDS) protocol stream is incorrect. " + detail});
    out.Done(doneError);
    Reply reply = Finish(out);
    reply.hangUp = hangUp;
    return reply;
}

Session::Reply Session::Login(const Message& request) {
    const auto login = ParseLogin7(request.payload);
    if (!login)
        return Refuse("The LOGIN7 request is malformed.", true);
    const auto version = NegotiateVersion(login->tdsVersion);
    if (!version) {
        m_version = TdsVersion::V7_1; // the message in the layout an old client reads
        return Refuse("The client's TDS version is not supported; TDS 7.1 or newer is.", true);
    }
    m_version = *version;
    TokenWriter out = Writer();

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
    m_database = m_loginDatabase = *database;
    out.EnvChange(EnvChangeType::Database, m_database, "master");
    out.Message({5701, 2, 0, "Changed database context to '" + m_database + "'."});
    out.CollationChange();
    out.EnvChange(EnvChangeType::Language, "us_english", "");
    out.Message({5703, 1, 0, "Changed language setting to us_english."});
    out.LoginAck("Microsoft SQL Server", programVersion);
    out.EnvChange(EnvChangeType::PacketSize, std::to_string(packetSize),
                  std::to_string(m_packetSize));
    if (login->extensions && m_version == TdsVersion::V7_4) {
        // None of the features a client may offer is taken up: an empty acknowledgement.
        Bytes ack = {featureExtAck, featureTerminator};
        out.Raw(ack);
    }
    out.Done(doneFinal);
    Reply reply = Finish(out);
    m_packetSize = packetSize;
    m_loggedIn = true;
    return reply;
}

std::optional<std::span<const std::uint8_t>> Session::Body(const Message& request) const {
    std::span<const std::uint8_t> body(request.payload);
    if (static_cast<std::uint32_t>(m_version) < static_cast<std::uint32_t>(TdsVersion::V7_2))
        return body;
    // ALL_HEADERS (transaction descriptor and the like) come first; its length counts itself.
    const auto length = ByteReader(body).U32Le();
    if (!length || *length < 4 || *length > body.size())
        return std::nullopt;
    return body.subspan(*length);
}

Session::Reply Session::Batch(const Message& request, TokenWriter& out) {
    const auto text = Body(request);
    if (!text)
        return Refuse("The request's headers are longer than the request.", true);
    Run(Utf16LeToUtf8(*text), {}, DoneToken::Batch, false, out);
    return Finish(out);
}

bool Session::Run(const std::string& text, const Parameters& parameters, DoneToken token, bool more,
                  TokenWriter& out) {
    const auto parsed = ParseBatch(text);
    if (const auto* error = std::get_if<ServerMessage>(&parsed)) {
        out.Message(*error);
        out.Done(static_cast<std::uint16_t>(doneError | (more ? doneMore : doneFinal)), 0, 0,
                 token);
        return true;
    }
    const auto& statements = std::get<std::vector<Statement>>(parsed);
    if (statements.empty())
        out.Done(more ? doneMore : doneFinal, 0, 0, token);
    for (std::size_t i = 0; i < statements.size(); ++i)
        if (!RunOne(statements[i], parameters, token, i + 1 == statements.size() && !more, out))
            return false;
    return true;
}

bool Session::RunOne(const Statement& statement, const Parameters& parameters, DoneToken token,
                     bool last, TokenWriter& out) {
    CommandRunner::Outcome outcome;
    if (const auto* wait = std::get_if<WaitForStatement>(&statement)) {
        if (!m_pause.Wait(std::chrono::milliseconds(wait->milliseconds))) {
            out.Done(doneFinal);
            return false;
        }
    } else if (const auto* set = std::get_if<SetStatement>(&statement)) {
        outcome = m_state.Set(*set, out);
    } else if (const auto* transaction = std::get_if<TransactionStatement>(&statement)) {
        outcome = m_state.Transaction(transaction->kind, out);
    } else if (const auto* select = std::get_if<SelectValueStatement>(&statement)) {
        outcome = m_state.Select(*select, parameters, out);
    } else if (std::holds_alternative<RestoreStatement>(statement) &&
               m_state.TransactionCount() > 0) {
        out.Message(
            {3021, 1, 16, "Cannot perform a backup or restore operation within a transaction."});
        out.Message({3013, 1, 16, "RESTORE DATABASE is terminating abnormally."});
        outcome = {doneError};
    } else {
        outcome = m_commands.Run(statement, m_database, out);
    }
    std::uint16_t status = outcome.status;
    if (m_state.NoCount())
        status &= static_cast<std::uint16_t>(~doneCount);
    out.Done(static_cast<std::uint16_t>(status | (last ? doneFinal : doneMore)), outcome.command,
             outcome.rows, token);
    return true;
}

Session::Reply Session::Rpc(const Message& request, TokenWriter& out) {
    const auto body = Body(request);
    if (!body)
        return Refuse("The request's headers are longer than the request.", true);
    const auto calls = ParseRpc(*body);
    if (const auto* error = std::get_if<ServerMessage>(&calls)) {
        out.Message(*error);
        out.Done(doneError, 0, 0, DoneToken::Procedure);
        return Finish(out);
    }
    const auto& list = std::get<std::vector<RpcCall>>(calls);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!Call(list[i], i + 1 < list.size(), out))
            break;
    return Finish(out);
}

bool Session::Call(const RpcCall& call, bool more, TokenWriter& out) {
    const std::uint16_t end = more ? doneMore : doneFinal;
    auto fail = [&](const ServerMessage& message) {
        out.Message(message);
        out.Done(static_cast<std::uint16_t>(doneError | end), 0, 0, DoneToken::Procedure);
        return true;
    };
    auto text = [&](std::size_t index, const char* name) -> const std::string* {
        const RpcParameter* parameter = At(call, index);
        const auto* value = parameter ? std::get_if<std::string>(&parameter->value) : nullptr;
        if (!value)
            fail({214, 2, 16,
                  std::string("Procedure expects parameter '") + name +
                      "' of type 'ntext/nchar/nvarchar'."});
        return value;
    };
    auto finish = [&](std::optional<std::int32_t> handle) {
        out.ReturnStatus(0);
        if (handle)
            out.ReturnValue(0, call.parameters[0].name, *handle);
        out.Done(end, 0, 0, DoneToken::Procedure);
        return true;
    };
    auto prepare = [&](std::size_t declaration,
                       std::size_t statement) -> std::optional<std::int32_t> {
        const std::string* sql = text(statement, "@stmt");
        if (!sql)
            return std::nullopt;
        const auto parsed = ParseBatch(*sql);
        if (const auto* error = std::get_if<ServerMessage>(&parsed)) {
            fail(*error);
            return std::nullopt;
        }
        if (m_prepared.size() >= maxPrepared) {
            fail({701, 1, 19,
                  "There is insufficient system memory in resource pool 'default' to run this "
                  "query."});
            return std::nullopt;
        }
        const RpcParameter* declared = At(call, declaration);
        m_prepared[++m_lastHandle] = {*sql, DeclaredNames(declared ? declared->value : SqlValue{})};
        return m_lastHandle;
    };

    const std::string name = call.name.starts_with("sys.") ? call.name.substr(4) : call.name;
    if (name == "sp_executesql") {
        const std::string* sql = text(0, "@statement");
        if (!sql)
            return true;
        const RpcParameter* declared = At(call, 1);
        const auto names = DeclaredNames(declared ? declared->value : SqlValue{});
        if (!Run(*sql, Values(call.parameters, 2, names), DoneToken::InProcedure, true, out))
            return false;
        return finish(std::nullopt);
    }
    if (name == "sp_prepare" || name == "sp_prepexec") {
        if (call.parameters.empty() || !call.parameters[0].output)
            return fail(
                {214, 2, 16, "Procedure expects parameter '@handle' of type 'int output'."});
        const auto handle = prepare(1, 2);
        if (!handle)
            return true;
        if (name == "sp_prepexec") {
            const Prepared& prepared = m_prepared[*handle];
            if (!Run(prepared.text, Values(call.parameters, 3, prepared.parameterNames),
                     DoneToken::InProcedure, true, out))
                return false;
        }
        return finish(*handle);
    }
    if (name == "sp_execute" || name == "sp_unprepare") {
        const RpcParameter* handleParameter = At(call, 0);
        const auto* handle =
            handleParameter ? std::get_if<std::int64_t>(&handleParameter->value) : nullptr;
        const auto found =
            handle ? m_prepared.find(static_cast<std::int32_t>(*handle)) : m_prepared.end();
        if (found == m_prepared.end())
            return fail({8179, 5, 16,
                         "Could not find prepared statement with handle " +
                             (handle ? std::to_string(*handle) : std::string("(null)")) + "."});
        if (name == "sp_unprepare") {
            m_prepared.erase(found);
            return finish(std::nullopt);
        }
        const Prepared prepared = found->second;
        if (!Run(prepared.text, Values(call.parameters, 1, prepared.parameterNames),
                 DoneToken::InProcedure, true, out))
            return false;
        return finish(std::nullopt);
    }
    return fail({2812, 62, 16, "Could not find stored procedure '" + call.name + "'."});
}

Session::Reply Session::TransactionManager(const Message& request, TokenWriter& out) {
    const auto body = Body(request);
    if (!body)
        return Refuse("The request's headers are longer than the request.", true);
    ByteReader in(*body);
    const auto type = in.U16Le();
    CommandRunner::Outcome outcome;
    if (type == beginTransaction) {
        outcome = m_state.Transaction(TransactionStatement::Kind::Begin, out);
    } else if (type == commitTransaction || type == rollbackTransaction) {
        // The transaction's name only marks it; a new transaction may follow at once.
        const auto nameLength = in.U8();
        const bool beginAgain =
            nameLength && in.Take(2 * std::size_t{*nameLength}) && in.U8().value_or(0) != 0;
        outcome =
            m_state.Transaction(type == commitTransaction ? TransactionStatement::Kind::Commit
                                                          : TransactionStatement::Kind::Rollback,
                                out);
        if (beginAgain && outcome.status == 0)
            outcome = m_state.Transaction(TransactionStatement::Kind::Begin, out);
    } else {
        out.Message({40517, 1, 16,
                     "Keyword or statement option 'distributed transaction' is not supported in "
                     "this version of SQL Server."});
        outcome = {doneError};
    }
    out.Done(outcome.status);
    return Finish(out);
}

Session::Reply Session::Finish(TokenWriter& out) {
    return {Frame(PacketType::TabularResult, out.Take(), m_packetSize, m_processId)};
}

} // namespace engine
