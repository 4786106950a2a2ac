#include "server/RestoreCommand.h"

#include <gtest/gtest.h>

namespace {

struct StatementCase {
    std::string database, backup, statement;
};

TEST(RestoreCommand, StatementQuotesOnlyTheBackup) {
    const StatementCase cases[] = {
        {"zabo", "D:\\setup\\zabo.bak", " RESTORE DATABASE zabo FROM disk = 'D:\\setup\\zabo.bak'"},
        {"zabo", "D:\\it's here\\zabo.bak",
         " RESTORE DATABASE zabo FROM disk = 'D:\\it''s here\\zabo.bak'"},
        {"my 'db'", "E:\\\\zabo.bak", " RESTORE DATABASE my 'db' FROM disk = 'E:\\\\zabo.bak'"},
        {"zabo", "Z:\\安装 目录\\zabo.bak",
         " RESTORE DATABASE zabo FROM disk = 'Z:\\安装 目录\\zabo.bak'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildRestoreStatement(c.database, c.backup), c.statement) << c.backup;
}

TEST(RestoreCommand, ConnectionNamesTheHomeInstance) {
    const std::string fixed = "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;"
                              "User ID=sa;Initial Catalog=master;Data Source=";
    EXPECT_EQ(BuildConnectionString("SERVER1"), fixed + "SERVER1\\home");
    EXPECT_EQ(BuildConnectionString(""), fixed + "\\home");
}

} // namespace
