#pragma once

#include <optional>
#include <string>

// Edits of profile files as the Windows profile API makes them, shared by the tests of the
// profile-text rules and of every host's profile store. Names, keys and files are code page
// 936 bytes.
namespace profile_cases {

// Code page 936 bytes of the names the launcher writes, and of characters whose trail byte
// is an ASCII bracket or letter.
#define SERVER_IP                                                                                  \
    "\xB7\xFE\xCE\xF1\xC6\xF7"                                                                     \
    "ip"                         // 服务器ip
#define TRAIL_BRACKET "\x81\x5D" // 乚: trail byte ']'
#define TRAIL_UPPER_A "\x81\x41" // 丄: trail byte 'A'
#define TRAIL_LOWER_A "\x81\x61" // 乤: trail byte 'a'

enum class Op { DeleteKey, EraseSection, WriteString };

struct Case {
    const char* name;
    Op op;
    std::string section;
    std::string key;
    std::string before;
    std::optional<std::string> after; // nothing: the file stays as it is
};

// Every WriteString below writes this value.
inline const std::string value = "192.168.1.5";

inline const Case cases[] = {
    {"erase takes the header, keys, comments and blanks up to the next header", Op::EraseSection,
     "ip", "", "[a]\r\nx=1\r\n[ip]\r\nip=1\r\n; old\r\n\r\n[b]\r\ny=2\r\n",
     "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
    {"erase of the last section without a final newline", Op::EraseSection, "ip", "",
     "[a]\r\nx=1\r\n[ip]\r\nip=1", "[a]\r\nx=1\r\n"},
    {"erase matches blanks and case around the name, first section only", Op::EraseSection, "ip",
     "", "[ IP ]\nip=1\n[ip]\nip=2\n", "[ip]\nip=2\n"},
    {"erase of a missing section", Op::EraseSection, "ip", "", "[a]\r\nip=1\r\n", std::nullopt},
    {"erase of a name whose trail byte is ']'", Op::EraseSection, TRAIL_BRACKET, "",
     "[" TRAIL_BRACKET "]\r\nk=1\r\n[b]\r\n", "[b]\r\n"},

    {"write replaces only the key, other keys kept", Op::WriteString, SERVER_IP, "ip",
     "[" SERVER_IP "]\r\nport=1433\r\nip=10.0.0.1\r\nuser=sa\r\n",
     "[" SERVER_IP "]\r\nport=1433\r\nip=192.168.1.5\r\nuser=sa\r\n"},
    {"write keeps the key's spelling and what precedes '='", Op::WriteString, "a", "ip",
     "[ A ]\r\n  IP = old \r\n", "[ A ]\r\n  IP =192.168.1.5\r\n"},
    {"write of the value already there", Op::WriteString, "a", "ip", "[a]\r\nip=192.168.1.5\r\n",
     std::nullopt},
    {"write to a line without '='", Op::WriteString, "a", "ip", "[a]\r\nip \r\n",
     "[a]\r\nip=192.168.1.5\r\n"},
    {"new key after the last non-blank line, blanks before the next header kept", Op::WriteString,
     "a", "ip", "[a]\r\nx=1\r\n\r\n[b]\r\n", "[a]\r\nx=1\r\nip=192.168.1.5\r\n\r\n[b]\r\n"},
    {"new key after a trailing comment", Op::WriteString, "a", "ip", "[a]\r\nx=1\r\n; end\r\n",
     "[a]\r\nx=1\r\n; end\r\nip=192.168.1.5\r\n"},
    {"new key into the first of duplicate sections", Op::WriteString, "a", "ip",
     "[a]\r\nx=1\r\n[a]\r\nip=1\r\n", "[a]\r\nx=1\r\nip=192.168.1.5\r\n[a]\r\nip=1\r\n"},
    {"new key where the file has no final newline", Op::WriteString, "a", "ip", "[a]\nx=1",
     "[a]\nx=1\nip=192.168.1.5\n"},
    {"new section at the end, CRLF", Op::WriteString, "s", "ip", "[a]\r\nx=1\r\n",
     "[a]\r\nx=1\r\n[s]\r\nip=192.168.1.5\r\n"},
    {"new section in a file of LF alone", Op::WriteString, "s", "ip", "[a]\nx=1\n",
     "[a]\nx=1\n[s]\nip=192.168.1.5\n"},
    {"new section in a file of mixed endings gets CRLF", Op::WriteString, "s", "ip", "[a]\nx=1\r\n",
     "[a]\nx=1\r\n[s]\r\nip=192.168.1.5\r\n"},
    {"new section after a last line without newline", Op::WriteString, "s", "ip", "x=1",
     "x=1\r\n[s]\r\nip=192.168.1.5\r\n"},
    {"new file", Op::WriteString, SERVER_IP, "ip", "", "[" SERVER_IP "]\r\nip=192.168.1.5\r\n"},
    {"a trail byte 'a' is not the letter: no match for a different character", Op::WriteString,
     TRAIL_UPPER_A, "k", "[" TRAIL_LOWER_A "]\r\nk=1\r\n",
     "[" TRAIL_LOWER_A "]\r\nk=1\r\n[" TRAIL_UPPER_A "]\r\nk=192.168.1.5\r\n"},
    {"bytes of other encodings and garbage lines stay", Op::WriteString, "a", "k",
     "\xEF\xBB\xBF; \xE6\x9C\x8D\r\n\xFF\xFE garbage\r\n[a]\r\n\x80\x80\r\nk=1\r\n",
     "\xEF\xBB\xBF; \xE6\x9C\x8D\r\n\xFF\xFE garbage\r\n[a]\r\n\x80\x80\r\nk=192.168.1.5\r\n"},

    {"delete looks through every section of the name", Op::DeleteKey, "a", "ip",
     "[a]\r\nx=1\r\n[b]\r\nip=0\r\n[A]\r\nip=1\r\nip=2\r\n",
     "[a]\r\nx=1\r\n[b]\r\nip=0\r\n[A]\r\nip=2\r\n"},
    {"delete of the last line without newline", Op::DeleteKey, "a", "ip", "[a]\nip=1", "[a]\n"},
    {"delete of a line without '='", Op::DeleteKey, "a", "ip", "[a]\nip\nx=1\n", "[a]\nx=1\n"},
    {"comments and lines before the first section are no keys", Op::DeleteKey, "a", "ip",
     "ip=0\r\n[a]\r\n;ip=1\r\n#ip=2\r\n", std::nullopt},
};

// Texts a profile file cannot hold: characters code page 936 has no bytes for, text that
// is not UTF-8, and a line break; with what the error says after naming the file.
struct UnholdableCase {
    Op op;
    std::string section;
    std::string key;
    std::string value;
    std::string saysAfterFile;
};

inline const UnholdableCase unholdable[] = {
    {Op::WriteString, "ip", "ip", "caf\xC3\xA9 \xE2\x98\x83",
     "值“caf\xC3\xA9 \xE2\x98\x83”含有代码页 936 无法表示的字符"},
    {Op::EraseSection, "\xF0\x9F\x98\x80", "", "",
     "节名“\xF0\x9F\x98\x80”含有代码页 936 无法表示的字符"},
    {Op::DeleteKey, "ip", "\xFF", "", "键名“\xFF”含有代码页 936 无法表示的字符"},
    {Op::WriteString, "ip", "ip", "1\r\n[ip]", "值含有换行符，配置文件的条目不能含有换行符"},
};

// What the error says for a text of the table written to the file.
inline std::string UnholdableMessage(const UnholdableCase& c, const std::string& file) {
    return "要写入“" + file + "”的" + c.saysAfterFile;
}

// Sends one operation to a profile store; what it returns.
template <typename Store>
bool Perform(Store& store, const std::string& file, Op op, const std::string& section,
             const std::string& key, const std::string& value) {
    switch (op) {
    case Op::DeleteKey:
        return store.DeleteKey(file, section, key);
    case Op::EraseSection:
        return store.EraseSection(file, section);
    case Op::WriteString:
        return store.WriteString(file, section, key, value);
    }
    return false;
}

} // namespace profile_cases
