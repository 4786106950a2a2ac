#include "server/RestoreCommand.h"

#include "platform/RunTime.h"

std::string BuildRestoreStatement(const std::string& databaseName, const std::string& backupFile) {
    return " RESTORE DATABASE " + databaseName + " FROM disk = " + platform::QuotedStr(backupFile);
}

std::string BuildConnectionString(const std::string& computerName) {
    return "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
           "Initial Catalog=master;Data Source=" +
           computerName + "\\home";
}

void RunRestore(platform::DatabaseCommand& command, const std::string& connectionString,
                const std::string& statement) {
    command.Execute(connectionString, statement);
}
