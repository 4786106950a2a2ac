#pragma once

#include "distribution/engine/Tokens.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// RESTORE DATABASE <database> FROM DISK = '<disk>'
struct RestoreStatement {
    std::string database;
    std::string disk; // the Windows path as written, quotes undone
};

// SELECT name FROM sys.databases
struct ListDatabasesStatement {};

// SELECT @@VERSION
struct VersionStatement {};

// SELECT <integer or string literal> | SELECT @variable, with an optional [AS] column name.
// A variable is a parameter of the request or a global such as @@TRANCOUNT, resolved when
// the statement runs.
struct SelectValueStatement {
    SqlValue value;
    std::string variable; // as written, "@" included; empty for a literal
    std::string column;
};

// USE <database>
struct UseStatement {
    std::string database;
};

// SET <option> <value> for the connection options drivers set; `option` in capitals,
// `value` as written (ON, OFF, a number or a name).
struct SetStatement {
    std::vector<std::string> options;
    std::string value;
};

// BEGIN TRAN, COMMIT, ROLLBACK (with TRANSACTION, WORK or a name in any of their forms).
struct TransactionStatement {
    enum class Kind { Begin, Commit, Rollback };
    Kind kind;
};

// WAITFOR DELAY 'hh:mm[:ss[.mmm]]'
struct WaitForStatement {
    std::int64_t milliseconds = 0;
};

using Statement =
    std::variant<RestoreStatement, ListDatabasesStatement, VersionStatement, SelectValueStatement,
                 UseStatement, SetStatement, TransactionStatement, WaitForStatement>;

// The statements of a batch (separated by ';' or simply following each other, keywords in
// any case), or the error a server reports for a batch it cannot run at all: a syntax
// error, an unclosed quote or comment, a statement or option this engine does not support,
// or an unknown procedure.
std::variant<std::vector<Statement>, ServerMessage> ParseBatch(const std::string& batch);

} // namespace engine
