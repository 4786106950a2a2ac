// The engine as FreeTDS's ODBC driver sees it through unixODBC, the way the Windows
// launcher's ODBC path reaches a server.
#include "tests/support/EngineProcess.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

namespace {

using testing_support::EngineProcess;

// The driver is registered in an odbcinst.ini of the test's own, never in /etc; the
// variables pointing unixODBC there are put back afterwards.
class OdbcDriver {
public:
    OdbcDriver() { m_folder.Write("odbcinst.ini", "[FreeTDS]\nDriver = " TDSODBC_PATH "\n"); }

private:
    testing_support::TempDir m_folder;
    testing_support::EnvironmentVariable m_systemFolder{"ODBCSYSINI", m_folder.Path().string()};
    testing_support::EnvironmentVariable m_userFile{"ODBCINI", (m_folder / "odbc.ini").string()};
};

// One connection with one statement handle; every call's outcome is kept as text.
class OdbcConnection {
public:
    OdbcConnection(std::uint16_t port, const std::string& extra = "") {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment);
        SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection);
        const std::string text = "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=" + std::to_string(port) +
                                 ";UID=sa;PWD=tulip;TDS_Version=7.4;" + extra;
        m_connected = SQL_SUCCEEDED(SQLDriverConnect(
            m_connection, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str())),
            SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
        if (!m_connected)
            m_error = Diagnostic(SQL_HANDLE_DBC, m_connection);
        else
            SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &m_statement);
    }
    ~OdbcConnection() {
        if (m_statement)
            SQLFreeHandle(SQL_HANDLE_STMT, m_statement);
        if (m_connected)
            SQLDisconnect(m_connection);
        SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
        SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
    }
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    bool Connected() const { return m_connected; }
    const std::string& Error() const { return m_error; }
    SQLHSTMT Statement() const { return m_statement; }
    SQLHDBC Handle() const { return m_connection; }

    // The first column of the first row, or "error <state> <message>".
    std::string Query(const std::string& sql) {
        return Result(SQLExecDirect(
            m_statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS));
    }

    // Prepared, with one integer parameter, executed twice.
    std::string Prepared(const std::string& sql, SQLINTEGER first, SQLINTEGER second) {
        SQLINTEGER value = first;
        SQLLEN indicator = 0;
        if (!SQL_SUCCEEDED(SQLPrepare(
                m_statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS)))
            return "error " + Diagnostic(SQL_HANDLE_STMT, m_statement);
        SQLBindParameter(m_statement, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &value, 0,
                         &indicator);
        std::string results = Result(SQLExecute(m_statement));
        value = second;
        results.append(",").append(Result(SQLExecute(m_statement)));
        SQLFreeStmt(m_statement, SQL_RESET_PARAMS);
        return results;
    }

    std::string Result(SQLRETURN returned) {
        if (!SQL_SUCCEEDED(returned)) {
            const std::string error = Diagnostic(SQL_HANDLE_STMT, m_statement);
            SQLFreeStmt(m_statement, SQL_CLOSE);
            return "error " + error;
        }
        std::string value;
        // The last result set's first value: SET and transaction statements come before.
        do {
            if (SQL_SUCCEEDED(SQLFetch(m_statement))) {
                char text[256] = {};
                SQLLEN length = 0;
                SQLGetData(m_statement, 1, SQL_C_CHAR, text, sizeof text, &length);
                value = length == SQL_NULL_DATA ? "NULL" : text;
            }
        } while (SQL_SUCCEEDED(SQLMoreResults(m_statement)));
        SQLFreeStmt(m_statement, SQL_CLOSE);
        return value;
    }

    static std::string Diagnostic(SQLSMALLINT type, SQLHANDLE handle) {
        SQLCHAR state[6] = {};
        SQLCHAR message[512] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(
                SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length)))
            return "(no diagnostic)";
        return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
    }

private:
    SQLHENV m_environment = SQL_NULL_HENV;
    SQLHDBC m_connection = SQL_NULL_HDBC;
    SQLHSTMT m_statement = SQL_NULL_HSTMT;
    bool m_connected = false;
    std::string m_error;
};

class OdbcClient : public testing::Test {
protected:
    OdbcDriver m_driver;
    EngineProcess m_engine;
};

TEST_F(OdbcClient, RunsStatementsInEachFormTheDriverSends) {
    OdbcConnection odbc(m_engine.Port());
    ASSERT_TRUE(odbc.Connected()) << odbc.Error();
    const struct {
        const char* what;
        std::string (*call)(OdbcConnection&);
        std::string expected;
    } cases[] = {
        {"direct", [](OdbcConnection& c) { return c.Query("SELECT 1"); }, "1"},
        {"string literal", [](OdbcConnection& c) { return c.Query("SELECT N'it''s'"); }, "it's"},
        {"prepared with a parameter",
         [](OdbcConnection& c) { return c.Prepared("SELECT ?", 5, 6); }, "5,6"},
        {"SET options and NOCOUNT",
         [](OdbcConnection& c) {
             return c.Query("SET NOCOUNT ON; SET ANSI_NULLS, QUOTED_IDENTIFIER ON\n"
                            "SET TEXTSIZE 2147483647 SET LOCK_TIMEOUT -1 SELECT @@TRANCOUNT");
         },
         "0"},
        {"unsupported statement", [](OdbcConnection& c) { return c.Query("DROP TABLE t"); },
         "error 42000 [FreeTDS][SQL Server]Keyword or statement option 'DROP' is not supported "
         "in this version of SQL Server."},
        {"usable after an error", [](OdbcConnection& c) { return c.Query("SELECT 'yes'"); }, "yes"},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(entry.expected, entry.call(odbc)) << entry.what;
}

TEST_F(OdbcClient, ConnectsWithEncryptionRequired) {
    // The driver refuses to go on unless the whole connection is encrypted.
    OdbcConnection odbc(m_engine.Port(), "Encryption=require;");
    ASSERT_TRUE(odbc.Connected()) << odbc.Error();
    EXPECT_EQ("1", odbc.Query("SELECT 1"));
}

TEST_F(OdbcClient, KeepsATransactionOpenWithoutAutocommit) {
    OdbcConnection odbc(m_engine.Port());
    ASSERT_TRUE(odbc.Connected()) << odbc.Error();
    auto autocommit = [&](SQLULEN on) {
        return SQL_SUCCEEDED(SQLSetConnectAttr(odbc.Handle(), SQL_ATTR_AUTOCOMMIT,
                                               reinterpret_cast<SQLPOINTER>(on), 0));
    };
    auto end = [&](SQLSMALLINT how) {
        return SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, odbc.Handle(), how));
    };
    // The driver begins a transaction at once and a new one after each commit or rollback.
    ASSERT_TRUE(autocommit(SQL_AUTOCOMMIT_OFF));
    EXPECT_EQ("1", odbc.Query("SELECT @@TRANCOUNT"));
    EXPECT_TRUE(end(SQL_COMMIT)) << OdbcConnection::Diagnostic(SQL_HANDLE_DBC, odbc.Handle());
    EXPECT_EQ("1", odbc.Query("SELECT @@TRANCOUNT"));
    EXPECT_TRUE(end(SQL_ROLLBACK)) << OdbcConnection::Diagnostic(SQL_HANDLE_DBC, odbc.Handle());
    EXPECT_EQ("1", odbc.Query("SELECT @@TRANCOUNT"));
    ASSERT_TRUE(autocommit(SQL_AUTOCOMMIT_ON));
    EXPECT_EQ("0", odbc.Query("SELECT @@TRANCOUNT"));
}

TEST_F(OdbcClient, CancelsAndTimesOutARunningStatementAndStaysUsable) {
    OdbcConnection odbc(m_engine.Port());
    ASSERT_TRUE(odbc.Connected()) << odbc.Error();
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        SQLCancel(odbc.Statement());
    });
    const auto started = std::chrono::steady_clock::now();
    const std::string cancelled = odbc.Query("WAITFOR DELAY '00:00:20'");
    canceller.join();
    EXPECT_EQ(0, cancelled.rfind("error HY008", 0)) << cancelled;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ("2", odbc.Query("SELECT 2"));

    SQLSetStmtAttr(odbc.Statement(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(1), 0);
    const std::string timedOut = odbc.Query("WAITFOR DELAY '00:00:20'");
    EXPECT_EQ(0, timedOut.rfind("error HYT00", 0)) << timedOut;
    EXPECT_EQ("3", odbc.Query("SELECT 3"));
}

} // namespace
