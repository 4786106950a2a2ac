#include "platform/win32/StopEvent.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using platform::win32::StopEventName;

// The engine and the program that stops it spell the data folder their own ways.
TEST(StopEvent, EverySpellingOfAFolderNamesOneEvent) {
    ASSERT_TRUE(::SetCurrentDirectoryW(L"C:\\"));
    const std::wstring name = StopEventName(L"C:\\Program Files\\Database Engine\\home\\data");
    for (const wchar_t* spelling : {L"C:/Program Files/Database Engine/home/data",
                                    L"c:\\PROGRAM FILES\\database engine\\Home\\DATA\\",
                                    L"Program Files\\Database Engine\\home\\bin\\..\\data"})
        EXPECT_EQ(name, StopEventName(spelling)) << spelling;
    for (const wchar_t* other : {L"C:\\Program Files\\Database Engine\\home\\data2",
                                 L"C:\\Program Files\\Database Engine\\zabo\\data"})
        EXPECT_NE(name, StopEventName(other)) << other;
    // An object's name may hold no backslash but the namespace's.
    EXPECT_EQ(std::wstring::npos, name.find(L'\\'));
}

} // namespace
