#pragma once

#include <optional>
#include <string>
#include <string_view>

// Edits of profile files as the Windows profile API makes them, shared by the tests of the
// profile-text rules and of every host's profile store. Names, keys and files are bytes in
// the file's encoding: code page 936, or UTF-16 after the file's mark.
namespace profile_cases {

// Code page 936 bytes of the names the launcher writes, and of characters whose trail byte
// is an ASCII bracket or letter.
#define SERVER_IP                                                                                  \
    "\xB7\xFE\xCE\xF1\xC6\xF7"                                                                     \
    "ip"                         // 服务器ip
#define TRAIL_BRACKET "\x81\x5D" // 乚: trail byte ']'
#define TRAIL_UPPER_A "\x81\x41" // 丄: trail byte 'A'
#define TRAIL_LOWER_A "\x81\x61" // 乤: trail byte 'a'

// UTF-16 bytes of text, without a mark, in either byte order.
inline std::string Utf16(std::u16string_view text, bool littleEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}
inline std::string Le(std::u16string_view text) {
    return Utf16(text, true);
}
inline std::string Be(std::u16string_view text) {
    return Utf16(text, false);
}
inline const std::string leMark = "\xFF\xFE";
inline const std::string beMark = "\xFE\xFF";

// Characters whose UTF-16 units hold the bytes of ASCII line breaks and brackets.
#define UNIT_LF u"\u4E0A"         // 上: bytes 4E 0A
#define UNIT_BRACKET u"\u5B89"    // 安: bytes 5B 89
#define UNIT_CR_BRACKET u"\u0D5D" // bytes 0D 5D

enum class Op { DeleteKey, EraseSection, WriteString };

struct Case {
    const char* name;
    Op op;
    std::string section;
    std::string key;
    std::string before;
    std::optional<std::string> after; // nothing: the file stays as it is
};

// Every WriteString below writes this value: as UTF-8 to a store, and in the file's
// encoding to the profile-text rules.
inline const std::string value = "192.168.1.5";
// Every WriteString below writes this value, in the file's encoding.
inline std::string ValueFor(const std::string& file) {
    const std::u16string value = u"192.168.1.5";
    if (file.starts_with(leMark))
        return Le(value);
    if (file.starts_with(beMark))
        return Be(value);
    return "192.168.1.5";
}

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
    {"a '[' line without ']' is no header: it goes with the section before", Op::EraseSection, "a",
     "", "[a]\r\nx=1\r\n[ip\r\nip=1\r\n[b]\r\ny=2\r\n", "[b]\r\ny=2\r\n"},
    {"a '[' line without ']' is no section of its own", Op::EraseSection, "ip", "",
     "[a]\r\n[ip\r\nip=1\r\n", std::nullopt},
    {"a trail byte ']' closes no header", Op::EraseSection, TRAIL_BRACKET, "",
     "[a]\r\n[" TRAIL_BRACKET "\r\nk=1\r\n", std::nullopt},
    {"the name runs to the last ']' of the line", Op::EraseSection, "ip", "",
     "[ip]x]\r\nip=1\r\n[b]\r\n", std::nullopt},
    {"a name holding ']'", Op::EraseSection, "ip]x", "", "[ip]x] \r\nip=1\r\n[b]\r\n", "[b]\r\n"},
    {"text after the last ']' is no part of the name", Op::WriteString, "ip", "ip",
     "[ ip ] ; server\r\nip=1\r\n", "[ ip ] ; server\r\nip=192.168.1.5\r\n"},

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
    {"a UTF-8 mark, bytes of other encodings and garbage lines stay", Op::WriteString, "a", "k",
     "\xEF\xBB\xBF; \xE6\x9C\x8D\r\n\xFF\xFE garbage\r\n[a]\r\n\x80\x80\r\nk=1\r\n",
     "\xEF\xBB\xBF; \xE6\x9C\x8D\r\n\xFF\xFE garbage\r\n[a]\r\n\x80\x80\r\nk=192.168.1.5\r\n"},

    {"delete looks through every section of the name", Op::DeleteKey, "a", "ip",
     "[a]\r\nx=1\r\n[b]\r\nip=0\r\n[A]\r\nip=1\r\nip=2\r\n",
     "[a]\r\nx=1\r\n[b]\r\nip=0\r\n[A]\r\nip=2\r\n"},
    {"delete of the last line without newline", Op::DeleteKey, "a", "ip", "[a]\nip=1", "[a]\n"},
    {"delete of a line without '='", Op::DeleteKey, "a", "ip", "[a]\nip\nx=1\n", "[a]\nx=1\n"},
    {"comments and lines before the first section are no keys", Op::DeleteKey, "a", "ip",
     "ip=0\r\n[a]\r\n;ip=1\r\n#ip=2\r\n", std::nullopt},

    {"UTF-16LE: only the value changes, every other unit stays", Op::WriteString,
     Le(u"\u670D\u52A1\u5668ip"), Le(u"ip"),
     leMark +
         Le(u"[a]\r\n" UNIT_LF "=1\r\n[\u670D\u52A1\u5668ip]\r\nip=10.0.0.1\r\nk=" UNIT_LF "\r\n"),
     leMark + Le(u"[a]\r\n" UNIT_LF "=1\r\n[\u670D\u52A1\u5668ip]\r\nip=192.168.1.5\r\nk=" UNIT_LF
                 "\r\n")},
    {"UTF-16BE: erase, with units holding bracket and line break bytes", Op::EraseSection,
     Be(u"ip"), "",
     beMark + Be(u"[a]\r\n" UNIT_BRACKET "=1\r\n[ip]\r\n" UNIT_CR_BRACKET "=1\r\n[b]\r\n"),
     beMark + Be(u"[a]\r\n" UNIT_BRACKET "=1\r\n[b]\r\n")},
    {"UTF-16LE: delete", Op::DeleteKey, Le(u"a"), Le(u"IP"), leMark + Le(u"[A]\nip=1\nx=2\n"),
     leMark + Le(u"[A]\nx=2\n")},
    {"UTF-16BE: new key, LF endings followed", Op::WriteString, Be(u"a"), Be(u"ip"),
     beMark + Be(u"[a]\nx=1"), beMark + Be(u"[a]\nx=1\nip=192.168.1.5\n")},
    {"UTF-16LE: the header rule holds", Op::EraseSection, Le(u"ip"), "",
     leMark + Le(u"[ip\r\n[ip]x]\r\n"), std::nullopt},
    {"UTF-16LE: a file holding only the mark", Op::WriteString, Le(u"s"), Le(u"ip"), leMark,
     leMark + Le(u"[s]\r\nip=192.168.1.5\r\n")},
    {"UTF-16BE: a file holding only the mark", Op::WriteString, Be(u"s"), Be(u"ip"), beMark,
     beMark + Be(u"[s]\r\nip=192.168.1.5\r\n")},
    {"UTF-16BE: nothing to erase in a file holding only the mark", Op::EraseSection, Be(u"s"), "",
     beMark, std::nullopt},
    {"UTF-16LE: a last odd byte stays last", Op::WriteString, Le(u"a"), Le(u"ip"),
     leMark + Le(u"[a]\r\n") + "\x0A", leMark + Le(u"[a]\r\nip=192.168.1.5\r\n") + "\x0A"},
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

// A name of the table as the UTF-8 text a store is given: decoded from the UTF-16 of a
// UTF-16 file, else by the host's code page 936 decoder.
template <typename FromCodePage936>
std::string StoreName(const std::string& name, const std::string& file,
                      FromCodePage936 fromCodePage936) {
    const bool little = file.starts_with(leMark);
    if (!little && !file.starts_with(beMark))
        return fromCodePage936(name);
    std::string utf8;
    for (std::size_t i = 0; i + 1 < name.size(); i += 2) {
        const auto first = static_cast<unsigned char>(name[i]);
        const auto second = static_cast<unsigned char>(name[i + 1]);
        const unsigned unit = little ? first | second << 8 : first << 8 | second;
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (unit < 0x800) {
            utf8 += static_cast<char>(0xC0 | unit >> 6);
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        } else { // the table's names hold no characters beyond the first plane
            utf8 += static_cast<char>(0xE0 | unit >> 12);
            utf8 += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return utf8;
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
