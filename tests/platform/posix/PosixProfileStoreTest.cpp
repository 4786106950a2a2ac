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
#include <optional>
#include <set>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

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

// Text code page 936 cannot hold is fine in a UTF-16 file.
TEST_F(PosixProfileStoreTest, WritesAUtf16FileInUtf16InItsByteOrder) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> files[] = {
        {"\xFF\xFE[\0a\0]\0\r\0\n\0"s, "\xFF\xFE[\0a\0]\0\r\0\n\0\x0D\x67=\0\x03\x26\r\0\n\0"s},
        {"\xFE\xFF\0[\0a\0]\0\r\0\n"s, "\xFE\xFF\0[\0a\0]\0\r\0\n\x67\x0D\0=\x26\x03\0\r\0\n"s},
    };
    for (const auto& [before, after] : files) {
        WriteIni(before);
        EXPECT_TRUE(m_store.WriteString(iniPath, "a", "服", "☃"));
        EXPECT_EQ(TempDir::Read(Ini()), after);
        EXPECT_TRUE(m_store.DeleteKey(iniPath, "A", "服"));
        EXPECT_EQ(TempDir::Read(Ini()), before);
    }
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

// Root, as the tests run in CI, passes the permission check; the owner's write bit holds all
// the same.
TEST_F(PosixProfileStoreTest, FailsOnAReadOnlyFileOrDirectoryAndKeepsTheFile) {
    const std::pair<const char*, fs::path> readOnly[] = {
        {"read-only file", Ini()},
        {"read-only directory", Ini().parent_path()},
    };
    for (const bool enforced : {false, true}) {
        for (const auto& [what, path] : readOnly) {
            WriteIni(original);
            fs::permissions(
                path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
            for (const auto& [name, operation] : changingOperations) {
                SCOPED_TRACE(std::string(what) + ", " + name +
                             (enforced ? ", permissions enforced" : ", as this user"));
                std::optional<FilePermissionsEnforced> dropped;
                if (enforced)
                    dropped.emplace();
                EXPECT_FALSE(operation(m_store, iniPath));
                EXPECT_EQ(TempDir::Read(Ini()), original);
                EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
            }
            fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
        }
    }
}

TEST_F(PosixProfileStoreTest, CreatesNoFileInAReadOnlyDirectory) {
    fs::create_directories(m_drive / "setup");
    fs::permissions(m_drive / "setup", fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_TRUE(m_store.EraseSection(iniPath, "ip"));
    EXPECT_FALSE(m_store.WriteString(iniPath, "ip", "ip", "1"));
    EXPECT_EQ(FilesInSetup(), std::set<std::string>{});
    fs::permissions(m_drive / "setup", fs::perms::owner_write, fs::perm_options::add);
}

// Opening a FIFO for reading waits for a writer, so each operation runs in a child that an
// alarm ends rather than the test hanging.
TEST_F(PosixProfileStoreTest, RefusesAtOnceWhatIsNoRegularFile) {
    const std::pair<const char*, std::function<void(const fs::path&)>> kinds[] = {
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0666), 0); }},
        {"directory", [](const fs::path& p) { fs::create_directory(p); }},
        {"socket",
         [](const fs::path& p) {
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             p.string().copy(address.sun_path, sizeof address.sun_path - 1);
             ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             close(fd);
         }},
        {"device", [](const fs::path& p) { fs::create_symlink("/dev/null", p); }},
    };
    fs::create_directories(m_drive / "setup");
    for (const auto& [kind, create] : kinds) {
        create(Ini());
        const fs::file_type type = fs::status(Ini()).type();
        for (const auto& [name, operation] : changingOperations) {
            SCOPED_TRACE(std::string(kind) + ", " + name);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                alarm(5);
                _exit(operation(m_store, iniPath) ? 1 : 0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status)) << "the operation did not return";
            EXPECT_EQ(WEXITSTATUS(status), 0) << "the operation reported success";
            EXPECT_EQ(fs::status(Ini()).type(), type);
            EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
        }
        fs::remove(Ini());
    }
}

TEST_F(PosixProfileStoreTest, WritesADanglingLinksTarget) {
    const std::pair<const char*, std::function<fs::path()>> links[] = {
        {"relative",
         [&] {
             fs::create_symlink("../shared/hjpz.ini", Ini());
             return m_drive / "shared" / "hjpz.ini";
         }},
        {"absolute",
         [&] {
             fs::create_symlink(m_drive / "shared" / "hjpz.ini", Ini());
             return m_drive / "shared" / "hjpz.ini";
         }},
        {"a link to a dangling link",
         [&] {
             fs::create_symlink("next.ini", Ini());
             fs::create_symlink("../shared/hjpz.ini", m_drive / "setup" / "next.ini");
             return m_drive / "shared" / "hjpz.ini";
         }},
    };
    for (const auto& [what, link] : links) {
        SCOPED_TRACE(what);
        fs::create_directories(m_drive / "setup");
        fs::create_directories(m_drive / "shared");
        const fs::path target = link();
        EXPECT_TRUE(m_store.WriteString(iniPath, "ip", "ip", "1"));
        EXPECT_TRUE(fs::is_symlink(Ini()));
        EXPECT_EQ(TempDir::Read(target), "[ip]\r\nip=1\r\n");
        fs::remove_all(m_drive / "setup");
        fs::remove_all(m_drive / "shared");
    }
}

TEST_F(PosixProfileStoreTest, FailsOnALoopOfLinks) {
    fs::create_directories(m_drive / "setup");
    fs::create_symlink("hjpz.ini", Ini());
    EXPECT_FALSE(m_store.WriteString(iniPath, "ip", "ip", "1"));
    EXPECT_TRUE(fs::is_symlink(Ini()));
    EXPECT_EQ(FilesInSetup(), std::set<std::string>{"hjpz.ini"});
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
    // The shared table in a code page 936 file, and text that is no UTF-8 for a UTF-16 file.
    const std::string utf16 = std::string("\xFF\xFE[\0i\0p\0]\0", 10);
    std::vector<std::pair<std::string, profile_cases::UnholdableCase>> writes;
    for (const auto& c : profile_cases::unholdable)
        writes.emplace_back(original, c);
    writes.emplace_back(utf16, profile_cases::UnholdableCase{
                                   profile_cases::Op::WriteString, "ip", "ip", "\xED\xA0\x80",
                                   "值“\xED\xA0\x80”含有 UTF-16 无法表示的字符"});
    for (const auto& [before, c] : writes) {
        WriteIni(before);
        const std::string expected = profile_cases::UnholdableMessage(c, iniPath);
        try {
            profile_cases::Perform(m_store, iniPath, c.op, c.section, c.key, c.value);
            ADD_FAILURE() << "no exception: " << expected;
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(TempDir::Read(Ini()), before);
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
