#pragma once

#include <string>

namespace platform {

// Runs one SQL batch on a database server named by an OLE DB style connection string
// (Provider, Password, User ID, Initial Catalog, Data Source).
class DatabaseCommand {
public:
    virtual ~DatabaseCommand() = default;
    // Connects, runs the text once, reads every result and closes; raises an Exception
    // with the server's own text, or one naming the data source and the reason.
    virtual void Execute(const std::string& connectionString, const std::string& commandText) = 0;
};

} // namespace platform
