#include "tests/distribution/engine/RawTdsClient.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tsql.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::EngineProcess;
using testing_support::RunTsql;
using testing_support::TempDir;

// The host path as the launcher names it, on drive Z.
std::string WindowsPath(const std::filesystem::path& path) {
    std::string windows = "Z:" + path.string();
    for (char& c : windows)
        c = c == '/' ? '\\' : c;
    return windows;
}

std::string RestoreScript(const std::string& database, const std::filesystem::path& backup) {
    std::string quoted;
    for (char c : WindowsPath(backup)) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    // Exactly as the launcher words it, leading blank included.
    return " RESTORE DATABASE " + database + " FROM disk = '" + quoted + "'\ngo\n";
}

constexpr const char* listDatabases = "SELECT name FROM sys.databases\ngo\n";

TEST(Engine, LogsInWithTheConfiguredLogin) {
    EngineProcess engine;
    const std::string output = RunTsql(engine.Port(), "select @@version\ngo\n");
    EXPECT_THAT(output, HasSubstr("Stand-in database engine"));
}

TEST(Engine, RefusesAWrongLoginAsTheServerDoes) {
    EngineProcess engine;
    for (const auto& [user, password] :
         {std::pair{"sa", "tulip2"}, {"sb", "tulip"}, {"sa", "TULIP"}}) {
        const std::string output = RunTsql(engine.Port(), listDatabases, user, password);
        EXPECT_THAT(output, HasSubstr("Msg 18456 (severity 14, state 1)"));
        EXPECT_THAT(output, HasSubstr(std::string("\"Login failed for user '") + user + "'.\""));
        EXPECT_THAT(output, Not(HasSubstr("master")));
    }
}

TEST(Engine, RestoresTheBackupAndListsTheDatabase) {
    EngineProcess engine;
    const std::string output =
        RunTsql(engine.Port(), RestoreScript("zabo", ZABO_BACKUP) + listDatabases);
    EXPECT_THAT(output, HasSubstr("Msg 4035 (severity 0, state 1)"));
    EXPECT_THAT(output, HasSubstr("for database 'zabo', file 'zabo' on file 1."));
    EXPECT_THAT(output, HasSubstr("\"RESTORE DATABASE successfully processed "));
    EXPECT_THAT(output, HasSubstr("master\ntempdb\nmodel\nmsdb\nzabo\n(5 rows affected)"));
}

TEST(Engine, ReportsABackupThatCannotBeRestored) {
    const TempDir files;
    const auto notABackup = files.Write("notes.bak", "just some text, no backup");
    struct Case {
        std::filesystem::path backup;
        std::string heading;
        std::string text;
    };
    const auto missing = files / "missing.bak";
    const auto noFolder = files / "no-folder" / "zabo.bak";
    const auto fifo = files / "fifo.bak";
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    const Case cases[] = {
        {missing, "Msg 3201 (severity 16, state 2)",
         "\"Cannot open backup device '" + WindowsPath(missing) +
             "'. Operating system error 2(The system cannot find the file specified.).\""},
        {noFolder, "Msg 3201 (severity 16, state 2)",
         "\"Cannot open backup device '" + WindowsPath(noFolder) +
             "'. Operating system error 3(The system cannot find the path specified.).\""},
        {fifo, "Msg 3201 (severity 16, state 2)",
         "\"Cannot open backup device '" + WindowsPath(fifo) +
             "'. Operating system error 5(Access is denied.).\""},
        {notABackup, "Msg 3241 (severity 16, state 0)",
         "\"The media family on device '" + WindowsPath(notABackup) +
             "' is incorrectly formed. SQL Server cannot process this media family.\""},
    };
    EngineProcess engine;
    for (const Case& entry : cases) {
        const std::string output =
            RunTsql(engine.Port(), RestoreScript("zabo", entry.backup) + listDatabases);
        EXPECT_THAT(output, HasSubstr(entry.heading));
        EXPECT_THAT(output, HasSubstr(entry.text));
        EXPECT_THAT(output, HasSubstr("Msg 3013 (severity 16, state 1)"));
        EXPECT_THAT(output, HasSubstr("\"RESTORE DATABASE is terminating abnormally.\""));
        EXPECT_THAT(output, HasSubstr("msdb\n(4 rows affected)"));
    }
}

TEST(Engine, TakesAPathWithAnApostropheDoubled) {
    const TempDir files;
    const auto backup = files / "it's here" / "zabo.bak";
    std::filesystem::create_directories(backup.parent_path());
    std::filesystem::copy_file(ZABO_BACKUP, backup);
    EngineProcess engine;
    const std::string output =
        RunTsql(engine.Port(), RestoreScript("zabo", backup) + listDatabases);
    EXPECT_THAT(output, HasSubstr("RESTORE DATABASE successfully processed"));
    EXPECT_THAT(output, HasSubstr("msdb\nzabo\n"));
}

TEST(Engine, KeepsRestoredDatabasesAcrossARestart) {
    EngineProcess engine;
    RunTsql(engine.Port(), RestoreScript("Zabo", ZABO_BACKUP));
    const int status = engine.Stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    engine.Start();
    EXPECT_THAT(RunTsql(engine.Port(), listDatabases), HasSubstr("msdb\nZabo\n(5 rows affected)"));
}

std::optional<std::string> AskBrowser(std::uint16_t port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&address),
             sizeof address);
    pollfd readable{fd, POLLIN, 0};
    std::optional<std::string> answer;
    if (::poll(&readable, 1, 500) == 1) {
        char buffer[2048];
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count > 3)
            answer = std::string(buffer + 3, static_cast<std::size_t>(count - 3));
    }
    ::close(fd);
    return answer;
}

TEST(Engine, BrowserAnswersForItsInstanceOnly) {
    EngineProcess engine;
    const std::string tcp = ";tcp;" + std::to_string(engine.Port()) + ";;";
    const auto home = AskBrowser(engine.BrowserPort(), std::string("\x04HOME\0", 6));
    ASSERT_TRUE(home);
    EXPECT_THAT(*home, HasSubstr(";InstanceName;home;IsClustered;No;Version;"));
    EXPECT_THAT(*home, HasSubstr(tcp));
    EXPECT_FALSE(AskBrowser(engine.BrowserPort(), std::string("\x04other\0", 7)));
    const auto all = AskBrowser(engine.BrowserPort(), "\x03");
    ASSERT_TRUE(all);
    EXPECT_THAT(*all, HasSubstr(tcp));
}

} // namespace
