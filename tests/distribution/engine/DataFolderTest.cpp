#include "distribution/engine/DataFolder.h"

#include "tests/support/Privileges.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <system_error>

namespace {

using engine::Bytes;
using engine::DataFolder;
using testing_support::TempDir;

TEST(DataFolder, KeepsDatabasesAcrossInstancesAndFindsThemInAnyCase) {
    const TempDir folder;
    DataFolder({folder / "data"}).Store({"Zabo", Bytes{1, 2, 3}});
    const DataFolder reopened(folder / "data");
    EXPECT_EQ(std::vector<std::string>{"Zabo"}, reopened.Names());
    EXPECT_EQ("Zabo", reopened.Find("ZABO"));
    EXPECT_FALSE(reopened.Find("zab"));
}

TEST(DataFolder, KeepsEveryNameInsideTheFolder) {
    const TempDir folder;
    DataFolder data(folder / "data");
    for (const char* name : {"../escape", "a/b", "..", "名前"})
        data.Store({name, Bytes{1}});
    EXPECT_EQ(4u, data.Names().size());
    EXPECT_FALSE(std::filesystem::exists(folder / "escape.db"));
    for (const auto& entry : std::filesystem::directory_iterator(folder / "data"))
        EXPECT_EQ(".db", entry.path().extension()) << entry.path();
}

TEST(DataFolder, RemovesWhatAnInterruptedRestoreLeftAndSkipsForeignFiles) {
    const TempDir folder;
    folder.Write("data/zabo.db.4242-0.tmp", "half");
    folder.Write("data/notes.db", "not a database");
    const DataFolder data(folder / "data");
    EXPECT_TRUE(data.Names().empty());
    EXPECT_FALSE(std::filesystem::exists(folder / "data/zabo.db.4242-0.tmp"));
    EXPECT_TRUE(std::filesystem::exists(folder / "data/notes.db"));
}

TEST(DataFolder, LeavesTheOldDatabaseWhenAStoreFails) {
    const TempDir folder;
    DataFolder data(folder / "data");
    data.Store({"zabo", Bytes{1}});
    const std::string before = TempDir::Read(data.FileFor("zabo"));
    std::filesystem::permissions(folder / "data", std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::owner_exec);
    const testing_support::FilePermissionsEnforced enforced;
    EXPECT_THROW(data.Store({"zabo", Bytes{2, 2}}), std::system_error);
    EXPECT_EQ(before, TempDir::Read(data.FileFor("zabo")));
}

} // namespace
