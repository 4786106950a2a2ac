#include "platform/win32/OdbcDatabaseCommand.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::win32::OdbcDatabaseCommand;

// The engine the test run started on loopback as "home", with its browser on UDP 1434; the
// backup lies in its folder, named here by the path Wine gives the host's root.
std::string ConnectionString(const std::string& password, const std::string& instance = "home") {
    return "Provider=SQLOLEDB.1;Password=" + password +
           ";Persist Security Info=True;User ID=sa;Initial Catalog=master;Data Source=127.0.0.1\\" +
           instance;
}

std::string Restore(const std::string& backup) {
    return " RESTORE DATABASE zabo FROM disk = '" + backup + "'";
}

std::string Failure(const std::string& connectionString, const std::string& command) {
    try {
        OdbcDatabaseCommand().Execute(connectionString, command);
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "no exception";
}

TEST(OdbcDatabaseCommand, RestoresTheBackupThroughTheDriverSqlServer) {
    EXPECT_NO_THROW(
        OdbcDatabaseCommand().Execute(ConnectionString("tulip"), Restore(ENGINE_BACKUP)));
}

TEST(OdbcDatabaseCommand, RaisesTheServersOwnWords) {
    std::string missing = ENGINE_BACKUP;
    missing.replace(missing.rfind('\\') + 1, std::string::npos, "missing.bak");
    const struct {
        const char* what;
        std::string connectionString;
        std::string command;
        std::string expected;
    } failures[] = {
        {"wrong password", ConnectionString("wrong"), "SELECT 1", "Login failed for user 'sa'."},
        {"missing backup", ConnectionString("tulip"), Restore(missing),
         "Cannot open backup device '" + missing +
             "'. Operating system error 2(The system cannot find the file specified.).\n"
             "RESTORE DATABASE is terminating abnormally."},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.what);
        EXPECT_EQ(Failure(failure.connectionString, failure.command), failure.expected);
    }
}

TEST(OdbcDatabaseCommand, NamesTheDataSourceWhenNoInstanceAnswers) {
    const std::string message = Failure(ConnectionString("tulip", "nothere"), "SELECT 1");
    EXPECT_EQ(message.rfind(platform::messages::CannotConnect("127.0.0.1\\nothere", ""), 0), 0u)
        << message;
}

} // namespace
