#include "platform/win32/OdbcDatabaseCommand.h"

#include "platform/ConnectionString.h"
#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace platform::win32 {
namespace {

constexpr SQLULEN loginTimeoutSeconds = 15;
constexpr SQLULEN commandTimeoutSeconds = 30;

struct Diagnostic {
    std::string state;
    std::string text;
};

// Every record the handle holds, with the drivers' "[vendor][component]" tags cut off so
// that what remains is the server's own words.
std::vector<Diagnostic> Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<Diagnostic> found;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLWCHAR text[SQL_MAX_MESSAGE_LENGTH] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN result = ::SQLGetDiagRecW(type, handle, record, state, &nativeError, text,
                                                  SQL_MAX_MESSAGE_LENGTH, &length);
        if (!SQL_SUCCEEDED(result))
            return found;
        std::wstring_view message(
            reinterpret_cast<const wchar_t*>(text),
            std::min<std::size_t>(static_cast<std::size_t>(length), SQL_MAX_MESSAGE_LENGTH - 1));
        while (message.starts_with(L'[') && message.find(L']') != std::wstring_view::npos)
            message.remove_prefix(message.find(L']') + 1);
        found.push_back({Narrow(reinterpret_cast<const wchar_t*>(state)), Narrow(message)});
    }
}

// Each text once: drivers repeat a record for every address they tried.
std::string Joined(const std::vector<Diagnostic>& diagnostics, const char* separator) {
    std::vector<std::string> texts;
    for (const Diagnostic& diagnostic : diagnostics)
        if (std::find(texts.begin(), texts.end(), diagnostic.text) == texts.end())
            texts.push_back(diagnostic.text);
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : separator) + text;
    return joined;
}

// The driver's and the driver manager's own states: no connection, a timeout, a misuse.
bool FromDriver(const Diagnostic& diagnostic) {
    return diagnostic.state.starts_with("08") || diagnostic.state.starts_with("HY") ||
           diagnostic.state.starts_with("IM");
}

// The link is gone or the wait ran out: no further result will come.
bool Ends(const std::vector<Diagnostic>& diagnostics) {
    for (const Diagnostic& diagnostic : diagnostics)
        if (diagnostic.state.starts_with("08") || diagnostic.state == "HYT00" ||
            diagnostic.state == "HY008")
            return true;
    return diagnostics.empty();
}

class OdbcHandle {
public:
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type) {
        if (!SQL_SUCCEEDED(::SQLAllocHandle(type, parent, &m_handle)))
            throw Exception(messages::CannotStartDatabaseLibrary("SQLAllocHandle"));
    }
    ~OdbcHandle() { ::SQLFreeHandle(m_type, m_handle); }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE Get() const { return m_handle; }

private:
    SQLSMALLINT m_type;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

// An ODBC value as it is, or in braces (a closing brace doubled) where it holds a character
// the connection string's syntax would take for its own.
std::string OdbcValue(const std::string& value) {
    if (value.find_first_of(";{}=") == std::string::npos &&
        (value.empty() || (value.front() != ' ' && value.back() != ' ')))
        return value;
    std::string braced = "{";
    for (char c : value)
        braced += c == '}' ? std::string("}}") : std::string(1, c);
    return braced + "}";
}

std::string OdbcConnectionString(const ConnectionSettings& settings) {
    std::string text = "DRIVER={SQL Server};SERVER=" + OdbcValue(settings.dataSource.text) +
                       ";UID=" + OdbcValue(settings.user) + ";PWD=" + OdbcValue(settings.password) +
                       ";";
    if (!settings.catalog.empty())
        text += "DATABASE=" + OdbcValue(settings.catalog) + ";";
    return text;
}

// The server's errors in its own words, leaving out the driver's summary of them ("unable to
// connect"); with none from the server, the stage, the data source and the driver's reason.
[[noreturn]] void Raise(const std::vector<Diagnostic>& heard, const std::string& source,
                        std::string (*stage)(const std::string& server,
                                             const std::string& reason)) {
    std::vector<Diagnostic> server;
    std::copy_if(heard.begin(), heard.end(), std::back_inserter(server),
                 [](const Diagnostic& diagnostic) { return !FromDriver(diagnostic); });
    if (!server.empty())
        throw Exception(Joined(server, "\n"));
    throw Exception(
        stage(source, heard.empty() ? messages::ConnectionFailed() : Joined(heard, "; ")));
}

} // namespace

void OdbcDatabaseCommand::Execute(const std::string& connectionString,
                                  const std::string& commandText) {
    const ConnectionSettings settings = ParseConnectionString(connectionString);
    const std::string& source = settings.dataSource.text;

    const OdbcHandle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    ::SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION,
                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    const OdbcHandle connection(SQL_HANDLE_DBC, environment.Get());
    ::SQLSetConnectAttrW(connection.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                         reinterpret_cast<SQLPOINTER>(loginTimeoutSeconds), 0);
    std::wstring odbcText = Widen(OdbcConnectionString(settings));
    const SQLRETURN connected =
        ::SQLDriverConnectW(connection.Get(), nullptr, reinterpret_cast<SQLWCHAR*>(odbcText.data()),
                            SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(connected))
        Raise(Diagnostics(SQL_HANDLE_DBC, connection.Get()), source, &messages::CannotConnect);

    std::vector<Diagnostic> errors;
    {
        const OdbcHandle statement(SQL_HANDLE_STMT, connection.Get());
        ::SQLSetStmtAttrW(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                          reinterpret_cast<SQLPOINTER>(commandTimeoutSeconds), 0);
        std::wstring text = Widen(commandText);
        SQLRETURN result =
            ::SQLExecDirectW(statement.Get(), reinterpret_cast<SQLWCHAR*>(text.data()), SQL_NTS);
        // Informational messages come with success; only failed results carry errors.
        while (result != SQL_NO_DATA && result != SQL_INVALID_HANDLE) {
            if (result == SQL_ERROR) {
                const std::vector<Diagnostic> heard = Diagnostics(SQL_HANDLE_STMT, statement.Get());
                errors.insert(errors.end(), heard.begin(), heard.end());
                if (Ends(heard))
                    break;
            }
            result = ::SQLMoreResults(statement.Get());
        }
    }
    ::SQLDisconnect(connection.Get());
    if (!errors.empty())
        Raise(errors, source, &messages::CommandFailed);
}

} // namespace platform::win32
