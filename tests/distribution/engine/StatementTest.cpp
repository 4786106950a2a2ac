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

TEST(Statement, ReadsTheStatementsDriversSendWithOrWithoutSemicolons) {
    const auto statements =
        Parsed("SET NOCOUNT ON\nSET ANSI_NULLS, QUOTED_IDENTIFIER OFF set textsize 2147483647\n"
               "SET LOCK_TIMEOUT -1 SET LANGUAGE us_english SET TRANSACTION ISOLATION LEVEL "
               "READ COMMITTED\nBEGIN TRAN t1 COMMIT TRANSACTION rollback work\n"
               "SELECT -12 AS n SELECT N'x' 'label' SELECT @@TRANCOUNT;WAITFOR DELAY '00:01:02'");
    ASSERT_EQ(13u, statements.size());
    const auto& set = std::get<engine::SetStatement>(statements[1]);
    EXPECT_EQ((std::vector<std::string>{"ANSI_NULLS", "QUOTED_IDENTIFIER"}), set.options);
    EXPECT_EQ("OFF", set.value);
    EXPECT_EQ("-1", std::get<engine::SetStatement>(statements[3]).value);
    EXPECT_EQ("READ COMMITTED", std::get<engine::SetStatement>(statements[5]).value);
    EXPECT_EQ(engine::TransactionStatement::Kind::Rollback,
              std::get<engine::TransactionStatement>(statements[8]).kind);
    const auto& number = std::get<engine::SelectValueStatement>(statements[9]);
    EXPECT_EQ(engine::SqlValue(std::int64_t{-12}), number.value);
    EXPECT_EQ("n", number.column);
    const auto& text = std::get<engine::SelectValueStatement>(statements[10]);
    EXPECT_EQ(engine::SqlValue(std::string("x")), text.value);
    EXPECT_EQ("label", text.column);
    EXPECT_EQ("@@TRANCOUNT", std::get<engine::SelectValueStatement>(statements[11]).variable);
    EXPECT_EQ(62000, std::get<engine::WaitForStatement>(statements[12]).milliseconds);
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
        {"SET FROBNICATE ON", {195, 1, 15, "'FROBNICATE' is not a recognized SET option."}},
        {"SET NOCOUNT maybe", {102, 1, 15, "Incorrect syntax near 'maybe'."}},
        {"WAITFOR DELAY '25:00'",
         {148, 1, 15, "Incorrect time syntax in time string '25:00' used with WAITFOR."}},
        {"SELECT 1 + 1",
         {40517, 1, 16,
          "Keyword or statement option 'SELECT' is not supported in this version of SQL Server."}},
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
