#pragma once

#include "platform/DatabaseCommand.h"

namespace platform {

// The database command over FreeTDS db-lib, speaking TDS 7.4. A named instance is found
// through the SQL Server Browser; db-lib is loaded and started by the first command; 15 s to
// connect (the lookup included), 30 s for each wait on the command. Server errors of severity 11
// and above become the message, in the server's words and order, one per line; informational
// messages are dropped.
class FreeTdsDatabaseCommand final : public DatabaseCommand {
public:
    void Execute(const std::string& connectionString, const std::string& commandText) override;
};

} // namespace platform
