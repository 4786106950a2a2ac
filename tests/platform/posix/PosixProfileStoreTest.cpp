#include "platform/posix/PosixProfileStore.h"

#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "tests/platform/ProfileCases.h"
#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::DriveMap;
using platform::PosixProfileStore;
using testing_support::FilePermissionsEnforced;
using testing_support::TempDir;

const std::string iniPath = "C:\\setup\\hjpz.ini";
const std::string original =
    "[ip]\r\nip=10.0.0.1\r\n[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=10.0.0.1\r\n";

class PosixProfileStoreTest : public ::testing::Test {
protected:
    fs::path Ini() const { return m_drive / "setup" / "hjpz.ini"; }
    fs::path WriteIni(const std::string& bytes) const {
        return m_drive.Write("setup/hjpz.ini", bytes);
    }
    std::set<std::string> FilesInSetup() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_drive / "setup"))
            names.insert(entry.path().filename().string());
        return names;
    }

    TempDir m_drive;
    PosixProfileStore m_store{DriveMap(m_drive.Path().string())};
};

TEST_F(PosixProfileStoreTest, WritesCodePage936BytesAndCreatesTheFile) {
    fs::create_directories(m_drive / "setup");
    EXPECT_TRUE(m_store.DeleteKey(iniPath, "服务器ip", "ip"));
    EXPECT_TRUE(m_store.EraseSection(iniPath, "ip"));
    EXPECT_FALSE(fs::exists(Ini()));

    EXPECT_TRUE(m_store.WriteString(iniPath, "服务器ip", "ip", "192.168.1.5"));
    EXPECT_TRUE(m_store.WriteString(iniPath, "SQL服务器名称", "服务器名称", "PC1\\HOME"));
    EXPECT_EQ(TempDir::Read(Ini()), "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=192.168.1.5\r\n"
                                    "[SQL\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xFB\xB3\xC6]\r\n"
                                    "\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xFB\xB3\xC6=PC1\\HOME\r\n");
}

TEST_F(PosixProfileStoreTest, ReplacesAndKeepsPermissionBits) {
    WriteIni(original);
    fs::permissions(Ini(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(m_store.EraseSection(iniPath, "ip"));
    EXPECT_EQ(TempDir::Read(Ini()), "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=10.0.0.1\r\n");
    EXPECT_EQ(fs::status(Ini()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
}

TEST_F(PosixProfileStoreTest, KeepsTheOwnerWhereAllowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only a privileged process can give a file away";
    WriteIni(original);
    ASSERT_EQ(chown(Ini().c_str(), 65534, 65534), 0);
    EXPECT_TRUE(m_store.WriteString(iniPath, "ip", "ip", "1"));
    struct stat status {};
    ASSERT_EQ(stat(Ini().c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
}

TEST_F(PosixProfileStoreTest, WritesThroughASymbolicLinkToItsTarget) {
    const fs::path target = m_drive.Write("shared/hjpz.ini", original);
    fs::create_directories(m_drive / "setup");
    fs::create_symlink(target, Ini());
    EXPECT_TRUE(m_store.EraseSection(iniPath, "ip"));
    EXPECT_TRUE(fs::is_symlink(Ini()));
    EXPECT_EQ(TempDir::Read(target), "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=10.0.0.1\r\n");
}

TEST_F(PosixProfileStoreTest, AChangeOfNothingLeavesTheFileUntouched) {
    WriteIni(original);
    const auto longAgo = fs::last_write_time(Ini()) - std::chrono::hours(24);
    fs::last_write_time(Ini(), longAgo);
    EXPECT_TRUE(m_store.EraseSection(iniPath, "absent"));
    EXPECT_TRUE(m_store.DeleteKey(iniPath, "ip", "absent"));
    EXPECT_TRUE(m_store.WriteString(iniPath, "ip", "ip", "10.0.0.1"));
    EXPECT_EQ(fs::last_write_time(Ini()), longAgo);
    EXPECT_EQ(TempDir::Read(Ini()), original);
}

using Operation = std::function<bool(PosixProfileStore&, const std::string& file)>;

const std::pair<const char*, Operation> changingOperations[] = {
    {"DeleteKey", [](auto& s, auto& f) { return s.DeleteKey(f, "ip", "ip"); }},
    {"EraseSection", [](auto& s, auto& f) { return s.EraseSection(f, "ip"); }},
    {"WriteString", [](auto& s, auto& f) { return s.WriteString(f, "ip", "ip", "1"); }},
};

TEST_F(PosixProfileStoreTest, FailsOnAReadOnlyFileOrDirectoryAndKeepsTheFile) {
    const std::pair<const char*, fs::path> readOnly[] = {
        {"read-only file", Ini()},
        {"read-only directory", Ini().parent_path()},
    };
    for (const auto& [what, path] : readOnly) {
        WriteIni(original);
        fs::permissions(path,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        for (const auto& [name, operation] : changingOperations) {
            SCOPED_TRACE(std::string(what) + ", " + name);
            FilePermissionsEnforced enforced;
            EXPECT_FALSE(operation(m_store, iniPath));
            EXPECT_EQ(TempDir::Read(Ini()), original);
            EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
        }
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(PosixProfileStoreTest, FailsForAnUnmappedDriveOrAMissingDirectory) {
    EXPECT_FALSE(m_store.WriteString("D:\\hjpz.ini", "ip", "ip", "1"));
    EXPECT_FALSE(m_store.WriteString("C:\\missing\\hjpz.ini", "ip", "ip", "1"));
    EXPECT_FALSE(fs::exists(m_drive / "missing"));
}

TEST_F(PosixProfileStoreTest, AWriteFailingMidwayLeavesTheFileAsItWas) {
    const std::string large = "[big]\r\n" + std::string(64 * 1024, 'x') + "\r\n";
    WriteIni(original + large);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may grow to 16 KiB: the new file of 64 KiB and more stops short.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16 * 1024, 16 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(m_store.WriteString(iniPath, "ip", "ip", "192.168.1.5") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write reported success";
    EXPECT_EQ(TempDir::Read(Ini()), original + large);
    EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
}

TEST_F(PosixProfileStoreTest, RaisesForTextTheFileCannotHold) {
    WriteIni(original);
    for (const auto& c : profile_cases::unholdable) {
        const std::string expected = profile_cases::UnholdableMessage(c, iniPath);
        try {
            profile_cases::Perform(m_store, iniPath, c.op, c.section, c.key, c.value);
            ADD_FAILURE() << "no exception: " << expected;
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(TempDir::Read(Ini()), original);
    }
}

TEST(TIniFile, ReportsAnUnwritableFileAsTheRunTimeDoes) {
    TempDir drive;
    const fs::path ini = drive.Write("setup/hjpz.ini", original);
    fs::permissions(ini, fs::perms::owner_read);
    PosixProfileStore store{DriveMap(drive.Path().string())};
    platform::TIniFile config(store, iniPath);
    FilePermissionsEnforced enforced;

    EXPECT_NO_THROW(config.DeleteKey("服务器ip", "ip"));
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { config.EraseSection("ip"); },
             [&] { config.WriteString("服务器ip", "ip", "192.168.1.5"); }}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const platform::Exception& error) {
            EXPECT_STREQ(error.what(), "Unable to write to C:\\setup\\hjpz.ini");
        }
    }
    EXPECT_EQ(TempDir::Read(ini), original);
}

} // namespace
