#pragma once

#include "distribution/engine/Tokens.h"

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

// USE <database>
struct UseStatement {
    std::string database;
};

using Statement =
    std::variant<RestoreStatement, ListDatabasesStatement, VersionStatement, UseStatement>;

// The statements of a batch (separated by ';', keywords in any case), or the error a
// server reports for a batch it cannot run at all: a syntax error, an unclosed quote or
// comment, a statement or option this engine does not support, or an unknown procedure.
std::variant<std::vector<Statement>, ServerMessage> ParseBatch(const std::string& batch);

} // namespace engine
