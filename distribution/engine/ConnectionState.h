#pragma once

#include "distribution/engine/Commands.h"
#include "distribution/engine/Statement.h"
#include "distribution/engine/Tokens.h"

#include <cstdint>
#include <map>
#include <string>

namespace engine {

// The values of a request's parameters by name ("@p1"), in lower case.
using Parameters = std::map<std::string, SqlValue>;

// What one connection has set and begun: its options and its transaction. Statements and
// Transaction Manager requests change it alike; each change a client must know of is
// written as the server reports it.
class ConnectionState {
public:
    explicit ConnectionState(std::uint16_t processId) : m_processId(processId) {}

    bool NoCount() const { return m_noCount; }
    int TransactionCount() const { return m_depth; }

    CommandRunner::Outcome Set(const SetStatement& set, TokenWriter& out);
    CommandRunner::Outcome Transaction(TransactionStatement::Kind kind, TokenWriter& out);
    CommandRunner::Outcome Select(const SelectValueStatement& select, const Parameters& parameters,
                                  TokenWriter& out) const;
    // Back to the options of a new connection; the transaction is rolled back unless kept.
    void Reset(bool keepTransaction, TokenWriter& out);

private:
    void Begin(TokenWriter& out);
    void End(EnvChangeType type, TokenWriter& out);

    std::uint16_t m_processId;
    bool m_noCount = false;
    int m_depth = 0;
    std::uint64_t m_transaction = 0; // the open transaction's descriptor; 0: none
    std::uint64_t m_lastTransaction = 0;
};

} // namespace engine
