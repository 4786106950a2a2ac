#include "platform/freetds/FreeTdsDatabaseCommand.h"

#include "platform/ConnectionString.h"
#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/freetds/BrowserLookup.h"
#include "platform/freetds/DbLib.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// The command component's defaults, which callers rely on.
constexpr auto connectBudget = std::chrono::seconds(15);
constexpr int commandTimeoutSeconds = 30;
constexpr std::uint16_t defaultPort = 1433;

// What db-lib reported during one Execute.
struct Diagnostics {
    std::vector<std::string> serverErrors;
    std::vector<std::string> libraryErrors;
};

// db-lib's handlers are process-wide functions; they report into the Execute that runs.
Diagnostics* listening = nullptr;

class Listening {
public:
    explicit Listening(Diagnostics& diagnostics) { listening = &diagnostics; }
    ~Listening() { listening = nullptr; }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;
};

int OnServerMessage(DBPROCESS*, DBINT, int, int severity, char* text, char*, char*, int) {
    // Severity 10 and below are progress and information ("changed database context",
    // "percent processed"), not failures.
    if (listening != nullptr && severity > 10 && text != nullptr)
        listening->serverErrors.emplace_back(text);
    return 0;
}

int OnLibraryError(DBPROCESS*, int, int error, int osError, char* text, char* osText) {
    // SYBESMSG only says that the server sent an error, which the server's text says better.
    if (listening != nullptr && error != SYBESMSG && text != nullptr) {
        std::string message = text;
        // db-lib passes 0 ("Success") for failures that had no system error, a timeout say.
        if (osError != DBNOERR && osError != 0 && osText != nullptr && *osText != '\0')
            message += std::string(" (") + osText + ")";
        auto& errors = listening->libraryErrors;
        if (std::find(errors.begin(), errors.end(), message) == errors.end())
            errors.push_back(std::move(message));
    }
    // INT_EXIT would end the process; cancelling makes the db-lib call fail instead, which
    // for a timeout also stops the wait.
    return INT_CANCEL;
}

std::string Join(const std::vector<std::string>& lines, const char* separator) {
    std::string joined;
    for (const auto& line : lines)
        joined += (joined.empty() ? "" : separator) + line;
    return joined;
}

[[noreturn]] void CannotConnect(const std::string& source, const std::string& reason) {
    throw Exception(messages::CannotConnect(source, reason));
}

// The server's own errors when it sent any: a failed restore says what failed (3201) before
// it says that the restore ended (3013), so all of them are kept, in order.
enum class Stage { Connecting, Running };

[[noreturn]] void RaiseFailure(const Diagnostics& heard, const std::string& source, Stage stage) {
    if (!heard.serverErrors.empty())
        throw Exception(Join(heard.serverErrors, "\n"));
    const std::string reason = heard.libraryErrors.empty() ? messages::ConnectionFailed()
                                                           : Join(heard.libraryErrors, "; ");
    if (stage == Stage::Connecting)
        CannotConnect(source, reason);
    throw Exception(messages::CommandFailed(source, reason));
}

// db-lib takes "host:port", with an IPv6 address in brackets.
std::string ServerName(const std::string& host, std::uint16_t port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string ResolveServer(const DataSource& source, Clock::time_point deadline) {
    if (source.port)
        return ServerName(source.host, *source.port);
    if (source.instance.empty())
        return ServerName(source.host, defaultPort);
    try {
        const auto endpoint = browser::LookupInstance(source.host, source.instance, deadline);
        return ServerName(endpoint.address, endpoint.port);
    } catch (const Exception& failure) {
        CannotConnect(source.text, failure.what());
    }
}

const DbLib& StartDbLib() {
    const DbLib& db = LoadDbLib();
    static const bool started = [&db] {
        if (db.dbinit() == FAIL)
            return false;
        // Right after dbinit, so that no message goes to db-lib's own printing.
        db.dberrhandle(OnLibraryError);
        db.dbmsghandle(OnServerMessage);
        return true;
    }();
    if (!started)
        throw Exception(messages::CannotStartDatabaseLibrary("dbinit"));
    return db;
}

using Login = std::unique_ptr<LOGINREC, decltype(DbLib::dbloginfree)>;
using Connection = std::unique_ptr<DBPROCESS, decltype(DbLib::dbclose)>;

Login MakeLogin(const DbLib& db, const ConnectionSettings& settings) {
    Login login(db.dblogin(), db.dbloginfree);
    if (!login)
        CannotConnect(settings.dataSource.text, messages::NoLoginRecord());
    const bool ready =
        db.dbsetlname(login.get(), settings.user.c_str(), DBSETUSER) != FAIL &&
        db.dbsetlname(login.get(), settings.password.c_str(), DBSETPWD) != FAIL &&
        db.dbsetlname(login.get(), "launcher", DBSETAPP) != FAIL &&
        db.dbsetlname(login.get(), "UTF-8", DBSETCHARSET) != FAIL &&
        // A fixed version: the automatic one retries with another and ignores the timeout.
        db.dbsetlversion(login.get(), DBVERSION_74) != FAIL &&
        (settings.catalog.empty() ||
         db.dbsetlname(login.get(), settings.catalog.c_str(), DBSETDBNAME) != FAIL);
    if (!ready)
        CannotConnect(settings.dataSource.text, messages::LoginTooLong());
    return login;
}

// Every result and row must be read: a server stops a restore that its client stops
// reading, leaving the database half restored.
void DrainResults(const DbLib& db, DBPROCESS* process) {
    for (;;) {
        const RETCODE result = db.dbresults(process);
        if (result == NO_MORE_RESULTS || (result == FAIL && db.dbdead(process)))
            return;
        if (result == FAIL)
            continue;
        STATUS row;
        while ((row = db.dbnextrow(process)) != NO_MORE_ROWS && row != FAIL) {
        }
    }
}

} // namespace

void FreeTdsDatabaseCommand::Execute(const std::string& connectionString,
                                     const std::string& commandText) {
    const DbLib& db = StartDbLib();
    const ConnectionSettings settings = ParseConnectionString(connectionString);
    const std::string& source = settings.dataSource.text;
    const auto deadline = Clock::now() + connectBudget;
    Diagnostics heard;
    Listening listen(heard);

    const std::string server = ResolveServer(settings.dataSource, deadline);
    const Login login = MakeLogin(db, settings);
    const auto left = std::chrono::ceil<std::chrono::seconds>(deadline - Clock::now());
    db.dbsetlogintime(std::max<int>(1, static_cast<int>(left.count())));
    db.dbsettime(commandTimeoutSeconds);

    const Connection connection(db.tdsdbopen(login.get(), server.c_str(), 0), db.dbclose);
    if (!connection)
        RaiseFailure(heard, source, Stage::Connecting);

    const bool sent = db.dbcmd(connection.get(), commandText.c_str()) != FAIL &&
                      db.dbsqlexec(connection.get()) != FAIL;
    DrainResults(db, connection.get());
    if (!heard.serverErrors.empty() || !sent || db.dbdead(connection.get()))
        RaiseFailure(heard, source, Stage::Running);
}

} // namespace platform
