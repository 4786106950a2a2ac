#pragma once

#include "platform/DatabaseCommand.h"

namespace platform::win32 {

// The database command over ODBC with the driver "SQL Server", which every Windows has. The
// connection string's Data Source, User ID, Password and Initial Catalog become SERVER, UID,
// PWD and DATABASE (the driver finds `host\instance` through the SQL Server Browser). 15 s
// to log in, 30 s for the command; every result is read, since a server stops a restore
// whose client stops reading. Server errors raise in the server's words.
class OdbcDatabaseCommand : public DatabaseCommand {
public:
    void Execute(const std::string& connectionString, const std::string& commandText) override;
};

} // namespace platform::win32
