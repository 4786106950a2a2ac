// The shared table of profile edits, sent to Wine's own WritePrivateProfileStringW in code
// page 936. Wine reads the whole file and writes it out anew, where Windows edits the text
// in place; the cases that show only this are compared as Wine writes them or left out.
#include "platform/win32/WideText.h"
#include "tests/platform/ProfileCases.h"
#include "tests/platform/win32/FromCodePage936.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace {

using platform::win32::Widen;
using testing_support::TempDir;

enum class WineWrites {
    CrlfEndings, // every line ends in CR LF: compared with the table's endings made so
    Differently, // left out
};

struct WineDifference {
    std::string_view caseName;
    WineWrites writes;
};

const WineDifference wineDifferences[] = {
    {"erase matches blanks and case around the name, first section only", WineWrites::CrlfEndings},
    {"new key where the file has no final newline", WineWrites::CrlfEndings},
    {"new section in a file of LF alone", WineWrites::CrlfEndings},
    {"new section in a file of mixed endings gets CRLF", WineWrites::CrlfEndings},
    {"delete of the last line without newline", WineWrites::CrlfEndings},
    {"delete of a line without '='", WineWrites::CrlfEndings},
    {"UTF-16LE: delete", WineWrites::CrlfEndings},
    {"UTF-16BE: new key, LF endings followed", WineWrites::CrlfEndings},
    // Wine drops the blanks around names, the text after a header's ']' and blank lines.
    {"text after the last ']' is no part of the name", WineWrites::Differently},
    {"write keeps the key's spelling and what precedes '='", WineWrites::Differently},
    {"new key after the last non-blank line, blanks before the next header kept",
     WineWrites::Differently},
    // Wine reads a file with a UTF-8 mark as UTF-8 and writes U+FFFD for the other bytes.
    {"a UTF-8 mark, bytes of other encodings and garbage lines stay", WineWrites::Differently},
    // Wine reads whole UTF-16 units only.
    {"UTF-16LE: a last odd byte stays last", WineWrites::Differently},
};

// The file with CR LF for every LF not preceded by CR, in its encoding's units.
std::string CrlfEndings(const std::string& file) {
    const bool little = file.starts_with(profile_cases::leMark);
    const std::size_t width = little || file.starts_with(profile_cases::beMark) ? 2 : 1;
    const auto unit = [&](char c) {
        std::string bytes(width, '\0');
        bytes[width == 2 && !little ? 1 : 0] = c;
        return bytes;
    };
    const std::string cr = unit('\r'), lf = unit('\n');
    std::string result = file.substr(0, width == 2 ? 2 : 0);
    for (std::size_t at = result.size(); at < file.size(); at += width) {
        const std::string current = file.substr(at, width);
        if (current == lf && !result.ends_with(cr))
            result += cr;
        result += current;
    }
    return result;
}

TEST(WineProfileApi, EditsFilesAsTheTableSaysWhereWineFollowsWindows) {
    using namespace profile_cases;
    ASSERT_EQ(::GetACP(), 936u) << "Wine must run in a zh_CN locale (LOCPATH, LC_ALL)";
    const TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto difference =
            std::ranges::find(wineDifferences, std::string_view(c.name), &WineDifference::caseName);
        const bool crlf = difference != std::end(wineDifferences) &&
                          difference->writes == WineWrites::CrlfEndings;
        if (difference != std::end(wineDifferences) && !crlf)
            continue;

        const std::filesystem::path ini = dir.Write("hjpz.ini", c.before);
        const std::wstring section = Widen(StoreName(c.section, c.before, FromCodePage936));
        const std::wstring key = Widen(StoreName(c.key, c.before, FromCodePage936));
        const std::wstring written = Widen(value);
        EXPECT_TRUE(::WritePrivateProfileStringW(
            section.c_str(), c.op == Op::EraseSection ? nullptr : key.c_str(),
            c.op == Op::WriteString ? written.c_str() : nullptr, ini.c_str()));
        const std::string expected = c.after.value_or(c.before);
        EXPECT_EQ(TempDir::Read(ini), crlf ? CrlfEndings(expected) : expected);
    }
}

TEST(WineProfileApi, EveryDifferenceNamesACaseOfTheTable) {
    for (const WineDifference& difference : wineDifferences)
        EXPECT_TRUE(std::ranges::any_of(profile_cases::cases, [&](const profile_cases::Case& c) {
            return c.name == difference.caseName;
        })) << difference.caseName;
}

} // namespace
