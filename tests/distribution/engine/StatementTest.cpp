#include "distribution/engine/Statement.h"

#include <gtest/gtest.h>

namespace {

using engine::ParseBatch;
using engine::ServerMessage;
using engine::Statement;

std::vector<Statement> Parsed(const std::string& batch) {
    auto result = ParseBatch(batch);
    if (const auto* error = std::get_if<ServerMessage>(&result))
        ADD_FAILURE() << batch << ": " << error->text;
    return std::get_if<std::vector<Statement>>(&result) ? std::get<std::vector<Statement>>(result)
                                                        : std::vector<Statement>{};
}

TEST(Statement, ReadsRestoreStatements) {
    const struct {
        std::string batch;
        std::string database;
        std::string disk;
    } cases[] = {
        {" RESTORE DATABASE zabo FROM disk = 'Z:\\opt\\setup\\zabo.bak'", "zabo",
         "Z:\\opt\\setup\\zabo.bak"},
        {"restore database [my db] from DISK=N'C:\\it''s\\x.bak' ;  ", "my db", "C:\\it's\\x.bak"},
        {"RESTORE\n\tDATABASE [a]]b] -- note\nFROM /* here */ disk = ''", "a]b", ""},
    };
    for (const auto& entry : cases) {
        const auto statements = Parsed(entry.batch);
        ASSERT_EQ(1u, statements.size()) << entry.batch;
        const auto& restore = std::get<engine::RestoreStatement>(statements[0]);
        EXPECT_EQ(entry.database, restore.database);
        EXPECT_EQ(entry.disk, restore.disk);
    }
}

TEST(Statement, ReadsQueriesAndUseInOneBatch) {
    const auto statements = Parsed("select NAME from master.sys.databases; SELECT @@version; use "
                                   "[zabo]; SELECT name FROM sys.databases;");
    ASSERT_EQ(4u, statements.size());
    EXPECT_TRUE(std::holds_alternative<engine::ListDatabasesStatement>(statements[0]));
    EXPECT_TRUE(std::holds_alternative<engine::VersionStatement>(statements[1]));
    EXPECT_EQ("zabo", std::get<engine::UseStatement>(statements[2]).database);
    EXPECT_TRUE(std::holds_alternative<engine::ListDatabasesStatement>(statements[3]));
    EXPECT_TRUE(Parsed("  ; -- nothing\n").empty());
}

TEST(Statement, ReportsWhatItCannotRun) {
    const struct {
        std::string batch;
        ServerMessage error;
    } cases[] = {
        {"RESTORE DATABASE zabo FROM disk = 'x' WITH REPLACE",
         {40517, 1, 16,
          "Keyword or statement option 'WITH' is not supported in this version of SQL Server."}},
        {"RESTORE DATABASE zabo FROM", {102, 1, 15, "Incorrect syntax near 'FROM'."}},
        {"RESTORE DATABASE my db FROM disk = 'x'", {102, 1, 15, "Incorrect syntax near 'db'."}},
        {"RESTORE DATABASE zabo FROM disk = 'x",
         {105, 1, 15, "Unclosed quotation mark after the character string 'x'."}},
        {"SELECT * FROM t",
         {40517, 1, 16,
          "Keyword or statement option 'SELECT' is not supported in this version of SQL Server."}},
        {"frobnicate now", {2812, 62, 16, "Could not find stored procedure 'frobnicate'."}},
        {")", {102, 1, 15, "Incorrect syntax near ')'."}},
        {"/* open", {113, 1, 15, "Missing end comment mark '*/'."}},
        {"SELECT @@VERSION; DROP DATABASE zabo",
         {40517, 1, 16,
          "Keyword or statement option 'DROP' is not supported in this version of SQL Server."}},
    };
    for (const auto& entry : cases) {
        const auto result = ParseBatch(entry.batch);
        const auto* error = std::get_if<ServerMessage>(&result);
        ASSERT_NE(nullptr, error) << entry.batch;
        EXPECT_EQ(entry.error.number, error->number) << entry.batch;
        EXPECT_EQ(entry.error.state, error->state) << entry.batch;
        EXPECT_EQ(entry.error.severity, error->severity) << entry.batch;
        EXPECT_EQ(entry.error.text, error->text) << entry.batch;
    }
}

} // namespace
