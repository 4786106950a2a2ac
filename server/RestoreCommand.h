#pragma once

#include "platform/DatabaseCommand.h"

#include <string>

// The restore of the served application's database: the statement, the connection
// string, and running one on the other.

// " RESTORE DATABASE <name> FROM disk = '<backup>'": the name as given, the backup
// quoted with every single quote doubled; no WITH clause.
std::string BuildRestoreStatement(const std::string& databaseName, const std::string& backupFile);

// The connection to the instance "home" on the named computer, as the administrator.
std::string BuildConnectionString(const std::string& computerName);

// Runs the statement once on the connection; raises the database's error.
void RunRestore(platform::DatabaseCommand& command, const std::string& connectionString,
                const std::string& statement);
