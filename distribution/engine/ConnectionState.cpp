#include "distribution/engine/ConnectionState.h"

#include "distribution/engine/SqlLexer.h"

#include <algorithm>
#include <cctype>

namespace engine {
namespace {

constexpr std::uint16_t selectCommand = 0xC1;

} // namespace

CommandRunner::Outcome ConnectionState::Set(const SetStatement& set, TokenWriter& out) {
    const std::string& option = set.options.front();
    if (option == "LANGUAGE") {
        // Every message here is in English; another language would be a promise not kept.
        const std::string language = Lowercase(set.value);
        if (language != "us_english" && language != "english") {
            out.Message({40517, 1, 16,
                         "Keyword or statement option 'LANGUAGE " + set.value +
                             "' is not supported in this version of SQL Server."});
            return {doneError};
        }
        out.EnvChange(EnvChangeType::Language, "us_english", "us_english");
        out.Message({5703, 1, 0, "Changed language setting to us_english."});
        return {};
    }
    for (const std::string& each : set.options)
        if (each == "NOCOUNT")
            m_noCount = set.value == "ON";
    // The other options change nothing the statements here could show.
    return {};
}

CommandRunner::Outcome ConnectionState::Transaction(TransactionStatement::Kind kind,
                                                    TokenWriter& out) {
    switch (kind) {
    case TransactionStatement::Kind::Begin:
        if (m_depth++ == 0)
            Begin(out);
        return {};
    case TransactionStatement::Kind::Commit:
        if (m_depth == 0) {
            out.Message({3902, 1, 16,
                         "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."});
            return {doneError};
        }
        if (--m_depth == 0)
            End(EnvChangeType::CommitTransaction, out);
        return {};
    case TransactionStatement::Kind::Rollback:
        if (m_depth == 0) {
            out.Message(
                {3903, 1, 16,
                 "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."});
            return {doneError};
        }
        m_depth = 0; // a rollback ends every nesting level at once
        End(EnvChangeType::RollbackTransaction, out);
        return {};
    }
    return {};
}

CommandRunner::Outcome ConnectionState::Select(const SelectValueStatement& select,
                                               const Parameters& parameters,
                                               TokenWriter& out) const {
    SqlValue value = select.value;
    if (!select.variable.empty()) {
        const std::string name = Lowercase(select.variable);
        if (name == "@@trancount") {
            value = std::int64_t{m_depth};
        } else if (name == "@@spid") {
            value = std::int64_t{m_processId};
        } else if (const auto found = parameters.find(name); found != parameters.end()) {
            value = found->second;
        } else {
            out.Message(
                {137, 2, 15, "Must declare the scalar variable \"" + select.variable + "\"."});
            return {doneError};
        }
    }
    out.ValueColumn(select.column, value);
    out.ValueRow(value);
    return {doneCount, selectCommand, 1};
}

void ConnectionState::Reset(bool keepTransaction, TokenWriter& out) {
    m_noCount = false;
    if (!keepTransaction && m_depth > 0) {
        m_depth = 0;
        End(EnvChangeType::RollbackTransaction, out);
    }
}

void ConnectionState::Begin(TokenWriter& out) {
    m_transaction = ++m_lastTransaction;
    out.BinaryEnvChange(EnvChangeType::BeginTransaction, m_transaction, 0);
}

void ConnectionState::End(EnvChangeType type, TokenWriter& out) {
    out.BinaryEnvChange(type, 0, m_transaction);
    m_transaction = 0;
}

} // namespace engine
