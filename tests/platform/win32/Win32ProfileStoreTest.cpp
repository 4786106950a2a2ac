#include "platform/win32/Win32ProfileStore.h"

#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/win32/WideText.h"
#include "tests/platform/ProfileCases.h"
#include "tests/platform/win32/FromCodePage936.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

namespace fs = std::filesystem;
using platform::win32::Narrow;
using platform::win32::Win32ProfileStore;
using testing_support::TempDir;

const std::string original =
    "[ip]\r\nip=10.0.0.1\r\n[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=10.0.0.1\r\n";

class Win32ProfileStoreTest : public ::testing::Test {
protected:
    // A Chinese folder name with a blank: the path must reach the W functions whole.
    fs::path Folder() const { return m_dir.Path() / L"安装 目录"; }
    fs::path Ini() const { return Folder() / "hjpz.ini"; }
    std::string IniPath() const { return Narrow(Ini().wstring()); }
    void WriteIni(const std::string& bytes) const {
        fs::create_directories(Folder());
        ::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::ofstream(Ini(), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::set<std::wstring> FilesInFolder() const {
        std::set<std::wstring> names;
        for (const auto& entry : fs::directory_iterator(Folder()))
            names.insert(entry.path().filename().wstring());
        return names;
    }

    TempDir m_dir;
    Win32ProfileStore m_store;
};

TEST_F(Win32ProfileStoreTest, EditsTheFileAsTheProfileApiDoes) {
    using namespace profile_cases;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(c.before);
        const std::string section = StoreName(c.section, c.before, FromCodePage936);
        const std::string key = StoreName(c.key, c.before, FromCodePage936);
        const bool written = Perform(m_store, IniPath(), c.op, section, key, value);
        EXPECT_TRUE(written);
        EXPECT_EQ(TempDir::Read(Ini()), c.after.value_or(c.before));
        EXPECT_EQ(FilesInFolder(), std::set<std::wstring>{L"hjpz.ini"});
    }
}

TEST_F(Win32ProfileStoreTest, WritesCodePage936BytesAndCreatesTheFile) {
    fs::create_directories(Folder());
    EXPECT_TRUE(m_store.DeleteKey(IniPath(), "服务器ip", "ip"));
    EXPECT_TRUE(m_store.EraseSection(IniPath(), "ip"));
    EXPECT_FALSE(fs::exists(Ini()));

    EXPECT_TRUE(m_store.WriteString(IniPath(), "服务器ip", "ip", "192.168.1.5"));
    EXPECT_TRUE(m_store.WriteString(IniPath(), "SQL服务器名称", "服务器名称", "PC1\\HOME"));
    EXPECT_EQ(TempDir::Read(Ini()), "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=192.168.1.5\r\n"
                                    "[SQL\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xFB\xB3\xC6]\r\n"
                                    "\xB7\xFE\xCE\xF1\xC6\xF7\xC3\xFB\xB3\xC6=PC1\\HOME\r\n");
}

TEST_F(Win32ProfileStoreTest, KeepsTheFilesAttributes) {
    WriteIni(original);
    ASSERT_TRUE(::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(m_store.EraseSection(IniPath(), "ip"));
    EXPECT_EQ(TempDir::Read(Ini()), "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\nip=10.0.0.1\r\n");
    EXPECT_NE(::GetFileAttributesW(Ini().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(Win32ProfileStoreTest, FailsOnAReadOnlyFileOrAMissingFolderAndKeepsTheFile) {
    WriteIni(original);
    ASSERT_TRUE(::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(m_store.DeleteKey(IniPath(), "ip", "ip"));
    EXPECT_FALSE(m_store.EraseSection(IniPath(), "ip"));
    EXPECT_FALSE(m_store.WriteString(IniPath(), "ip", "ip", "1"));
    EXPECT_EQ(TempDir::Read(Ini()), original);
    EXPECT_EQ(FilesInFolder(), std::set<std::wstring>{L"hjpz.ini"});
    ::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string missing = Narrow((m_dir.Path() / "missing" / "hjpz.ini").wstring());
    EXPECT_FALSE(m_store.WriteString(missing, "ip", "ip", "1"));
    EXPECT_FALSE(fs::exists(m_dir.Path() / "missing"));
}

TEST_F(Win32ProfileStoreTest, RaisesForTextTheFileCannotHold) {
    WriteIni(original);
    for (const auto& c : profile_cases::unholdable) {
        const std::string expected = profile_cases::UnholdableMessage(c, IniPath());
        try {
            profile_cases::Perform(m_store, IniPath(), c.op, c.section, c.key, c.value);
            ADD_FAILURE() << "no exception: " << expected;
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(TempDir::Read(Ini()), original);
    }
}

TEST_F(Win32ProfileStoreTest, TheIniObjectReportsAReadOnlyFileAsTheRunTimeDoes) {
    WriteIni(original);
    ASSERT_TRUE(::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    platform::TIniFile config(m_store, IniPath());
    try {
        config.WriteString("服务器ip", "ip", "192.168.1.5");
        ADD_FAILURE() << "no exception";
    } catch (const platform::Exception& error) {
        EXPECT_EQ(error.what(), "Unable to write to " + IniPath());
    }
    ::SetFileAttributesW(Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(TempDir::Read(Ini()), original);
}

} // namespace
