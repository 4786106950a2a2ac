#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Where a database server is: `host\instance` (found through the SQL Server Browser),
// `host,port`, or a bare `host` on the default port.
struct DataSource {
    std::string host;
    std::string instance;              // empty unless named
    std::optional<std::uint16_t> port; // set only for `host,port`
    std::string text;                  // as written, for messages
};

struct ConnectionSettings {
    std::string user;
    std::string password;
    std::string catalog; // empty: the login's default database
    DataSource dataSource;
};

// Parses an OLE DB style connection string: `key=value` entries separated by ';', keys
// case-insensitive and in any order, blanks around keys and values ignored, values
// optionally quoted with " or ' (the quote doubled inside). The last of repeated keys
// wins; keys other than User ID, Password, Initial Catalog and Data Source are ignored.
// Raises an Exception saying what is wrong, never quoting a value.
ConnectionSettings ParseConnectionString(const std::string& connectionString);

// Parses a Data Source value; raises an Exception when it names no computer, an empty
// instance or a port that is not a number from 1 to 65535.
DataSource ParseDataSource(const std::string& text);

} // namespace platform
