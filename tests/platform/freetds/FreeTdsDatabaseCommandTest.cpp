#include "platform/freetds/FreeTdsDatabaseCommand.h"

#include "platform/Exception.h"
#include "platform/RunTime.h"
#include "tests/support/EngineProcess.h"
#include "tests/support/HostsFile.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string administrator = "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;"
                                  "User ID=sa;Initial Catalog=master;Data Source=";

std::string ErrorOf(const std::string& dataSource, const std::string& command) {
    try {
        platform::FreeTdsDatabaseCommand().Execute(administrator + dataSource, command);
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "no error";
}

// A loopback TCP port that nothing listens on: bound to find a free one, then closed.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

TEST(FreeTdsDatabaseCommand, RefusedPortNamesTheDataSource) {
    const std::string source = "127.0.0.1," + std::to_string(ClosedPort());
    const std::string error = ErrorOf(source, "SELECT 1");
    EXPECT_EQ(error.rfind("无法连接数据库服务器“" + source + "”：", 0), 0u) << error;
}

TEST(FreeTdsDatabaseCommand, NoBrowserSaysSo) {
    EXPECT_EQ(ErrorOf("127.0.0.1\\home", "SELECT 1"),
              "无法连接数据库服务器“127.0.0.1\\home”：“127.0.0.1”上没有 SQL Server Browser "
              "回答实例“home”的查询");
}

// A stand-in engine as the instance "home" on loopback, its browser on UDP 1434, shared
// by the tests below; each backup lies in a folder of its own.
class FreeTdsAgainstEngine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        testing_support::EngineProcessOptions options;
        options.browserPort = 1434;
        engine = std::make_unique<testing_support::EngineProcess>(options);
    }
    static void TearDownTestSuite() { engine.reset(); }

    // The Windows path under which the engine finds a copy of zabo.bak in the folder.
    std::string Backup(const std::string& folder) {
        const auto file = m_files / folder / "zabo.bak";
        std::filesystem::create_directories(file.parent_path());
        std::filesystem::copy_file(ZABO_BACKUP, file);
        return WindowsPath(file);
    }

    static std::string WindowsPath(const std::filesystem::path& hostPath) {
        std::string path = "Z:" + hostPath.string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    static std::string Restore(const std::string& backup) {
        return " RESTORE DATABASE zabo FROM disk = " + platform::QuotedStr(backup);
    }

    static bool Restored() {
        for (const auto& entry : std::filesystem::directory_iterator(engine->DataDirectory()))
            if (entry.path().filename().string().rfind("zabo", 0) == 0)
                return true;
        return false;
    }

    static std::unique_ptr<testing_support::EngineProcess> engine;
    testing_support::TempDir m_files;
};

std::unique_ptr<testing_support::EngineProcess> FreeTdsAgainstEngine::engine;

TEST_F(FreeTdsAgainstEngine, RestoresThroughEveryKindOfDataSource) {
    std::vector<std::string> sources{"127.0.0.1\\home",
                                     "127.0.0.1," + std::to_string(engine->Port())};
    // A host name only where resolving it asks nobody off this computer.
    if (testing_support::HostsFileMapsToLoopback("localhost"))
        sources.push_back("localhost\\HOME");
    for (std::size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(ErrorOf(sources[i], Restore(Backup(std::to_string(i)))), "no error")
            << sources[i];
    EXPECT_TRUE(Restored());
}

TEST_F(FreeTdsAgainstEngine, BackupPathsWithQuotesAndChineseRestore) {
    for (const std::string folder : {"it's", "筠栎 安装"})
        EXPECT_EQ(ErrorOf("127.0.0.1\\home", Restore(Backup(folder))), "no error") << folder;
}

TEST_F(FreeTdsAgainstEngine, WrongPasswordGivesTheServersLoginFailure) {
    try {
        platform::FreeTdsDatabaseCommand().Execute(
            "User ID=sa;Password=tulips;Initial Catalog=master;Data Source=127.0.0.1\\home",
            "SELECT 1");
        FAIL() << "logged in";
    } catch (const platform::Exception& error) {
        EXPECT_STREQ(error.what(), "Login failed for user 'sa'.");
    }
}

TEST_F(FreeTdsAgainstEngine, MissingBackupGivesWhatFailedThenTheEnd) {
    const std::string missing = WindowsPath(m_files / "missing.bak");
    EXPECT_EQ(ErrorOf("127.0.0.1\\home", Restore(missing)),
              "Cannot open backup device '" + missing +
                  "'. Operating system error 2(The system cannot find the file specified.).\n"
                  "RESTORE DATABASE is terminating abnormally.");
}

TEST_F(FreeTdsAgainstEngine, AFailureDoesNotCarryOverToTheNextCommand) {
    platform::FreeTdsDatabaseCommand command;
    EXPECT_THROW(command.Execute(administrator + "127.0.0.1\\home", "RESTORE nothing"),
                 platform::Exception);
    EXPECT_NO_THROW(command.Execute(administrator + "127.0.0.1\\home", Restore(Backup("again"))));
}

} // namespace
