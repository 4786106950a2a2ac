// Random profile files through the edits, against a plain model of the Windows profile rules
// that works on whole characters and lines. Each file is edited as code page 936 bytes and as
// UTF-16 in both byte orders; all three must give the model's result.
#include "platform/ProfileEncoding.h"
#include "platform/ProfileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

namespace profiletext = platform::profiletext;
using profiletext::Encoding;

// The Chinese characters the files hold, with their code page 936 bytes: trail bytes ']' and
// letters, and UTF-16 units whose bytes are '\n' and '['. ASCII is the same in both.
const std::pair<char16_t, const char*> chinese[] = {
    {u'\u670D', "\xB7\xFE"}, // 服
    {u'\u4E5A', "\x81\x5D"}, // 乚
    {u'\u4E04', "\x81\x41"}, // 丄
    {u'\u4E64', "\x81\x61"}, // 乤
    {u'\u4E0A', "\xC9\xCF"}, // 上
    {u'\u5B89', "\xB0\xB2"}, // 安
};

std::string CodePage936(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        const auto found = std::find_if(std::begin(chinese), std::end(chinese),
                                        [unit](const auto& c) { return c.first == unit; });
        if (unit < 0x80)
            bytes += static_cast<char>(unit);
        else if (found != std::end(chinese))
            bytes += found->second;
        else
            ADD_FAILURE() << "no code page 936 bytes for U+" << std::hex
                          << static_cast<unsigned>(unit);
    }
    return bytes;
}

std::string InEncoding(std::u16string_view text, Encoding encoding) {
    if (encoding == Encoding::CodePage936)
        return CodePage936(text);
    return profiletext::Utf16Bytes(text, encoding);
}

// The model.

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

std::u16string Trimmed(std::u16string text) {
    while (!text.empty() && IsBlank(text.back()))
        text.pop_back();
    std::size_t from = 0;
    while (from < text.size() && IsBlank(text[from]))
        ++from;
    return text.substr(from);
}

bool SameName(const std::u16string& left, const std::u16string& right) {
    const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    if (left.size() != right.size())
        return false;
    for (std::size_t at = 0; at < left.size(); ++at)
        if (fold(left[at]) != fold(right[at]))
            return false;
    return true;
}

struct ModelLine {
    std::u16string content;
    std::u16string ending;

    std::optional<std::u16string> Header() const {
        const std::u16string text = Trimmed(content);
        const std::size_t close = text.rfind(u']');
        if (text.empty() || text[0] != u'[' || close == std::u16string::npos)
            return std::nullopt;
        return Trimmed(text.substr(1, close - 1));
    }
    bool IsFilled() const { return !Trimmed(content).empty(); }
    std::optional<std::u16string> Key() const {
        const std::u16string text = Trimmed(content);
        if (text.empty() || text[0] == u';' || text[0] == u'#' || Header())
            return std::nullopt;
        return Trimmed(text.substr(0, text.find(u'=')));
    }
};

std::vector<ModelLine> Split(const std::u16string& text) {
    std::vector<ModelLine> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t newline = std::min(text.find(u'\n', at), text.size());
        ModelLine line{text.substr(at, newline - at), newline < text.size() ? u"\n" : u""};
        if (!line.ending.empty() && !line.content.empty() && line.content.back() == u'\r') {
            line.content.pop_back();
            line.ending = u"\r\n";
        }
        lines.push_back(line);
        at = newline + 1;
    }
    return lines;
}

std::u16string Joined(const std::vector<ModelLine>& lines) {
    std::u16string text;
    for (const ModelLine& line : lines)
        text.append(line.content).append(line.ending);
    return text;
}

enum class Op { DeleteKey, EraseSection, WriteString };

std::u16string ModelEdit(const std::u16string& file, Op op, const std::u16string& section,
                         const std::u16string& key, const std::u16string& value) {
    std::vector<ModelLine> lines = Split(file);
    std::size_t header = 0;
    while (header < lines.size() &&
           !(lines[header].Header() && SameName(*lines[header].Header(), section)))
        ++header;
    std::size_t next = header + 1;
    while (next < lines.size() && !lines[next].Header())
        ++next;
    switch (op) {
    case Op::DeleteKey: {
        bool inSection = false;
        for (std::size_t at = 0; at < lines.size(); ++at) {
            if (lines[at].Header()) {
                inSection = SameName(*lines[at].Header(), section);
            } else if (inSection && lines[at].Key() && SameName(*lines[at].Key(), key)) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            }
        }
        return Joined(lines);
    }
    case Op::EraseSection:
        if (header < lines.size())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
                        lines.begin() + static_cast<std::ptrdiff_t>(std::min(next, lines.size())));
        return Joined(lines);
    case Op::WriteString:
        break;
    }
    std::u16string ending = u"\r\n";
    if (file.find(u"\r\n") == std::u16string::npos && file.find(u'\n') != std::u16string::npos)
        ending = u"\n";
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().ending.empty())
            lines.back().ending = ending;
        lines.push_back({std::u16string(u"[").append(section).append(u"]"), ending});
        lines.push_back({std::u16string(key).append(u"=").append(value), ending});
        return Joined(lines);
    }
    std::size_t lastFilled = header;
    for (std::size_t at = header + 1; at < next; ++at) {
        if (lines[at].Key() && SameName(*lines[at].Key(), key)) {
            std::u16string& content = lines[at].content;
            const std::size_t equals = content.find(u'=');
            if (equals != std::u16string::npos) {
                content.resize(equals + 1);
            } else {
                while (!content.empty() && IsBlank(content.back()))
                    content.pop_back();
                content += u'=';
            }
            content += value;
            return Joined(lines);
        }
        if (lines[at].IsFilled())
            lastFilled = at;
    }
    if (lines[lastFilled].ending.empty())
        lines[lastFilled].ending = ending;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastFilled + 1),
                 {std::u16string(key).append(u"=").append(value), ending});
    return Joined(lines);
}

// Random files: lines of random pieces, headers and keys among them often enough to meet the
// names asked for.
const std::u16string pieces[] = {u"[",      u"]",      u"=",      u";",      u"#",      u" ",
                                 u"\t",     u"\r",     u"a",      u"A",      u"ip",     u"IP",
                                 u"k",      u"1",      u"[a]",    u"[ip]",   u"\u670D", u"\u4E5A",
                                 u"\u4E04", u"\u4E64", u"\u4E0A", u"\u5B89", u"ip=1",   u"k ="};
const std::u16string names[] = {u"a",      u"ip",     u"k",   u"\u670D", u"\u4E5A",
                                u"\u4E04", u"\u4E64", u"ip]", u"\u4E5A]"};
const std::u16string values[] = {u"1", u"", u"\u4E0A\u5B89", u"a b"};

template <typename Random, typename Array> const auto& Pick(Random& random, const Array& array) {
    return array[std::uniform_int_distribution<std::size_t>(0, std::size(array) - 1)(random)];
}

std::u16string RandomFile(std::mt19937& random) {
    std::u16string file;
    const int lines = std::uniform_int_distribution<int>(0, 8)(random);
    for (int line = 0; line < lines; ++line) {
        const int count = std::uniform_int_distribution<int>(0, 4)(random);
        for (int piece = 0; piece < count; ++piece)
            file += Pick(random, pieces);
        if (line + 1 < lines || random() % 2 == 0)
            file += random() % 3 == 0 ? u"\n" : u"\r\n";
    }
    return file;
}

std::optional<profiletext::Splice> Edit(std::string_view file, Op op, std::string_view section,
                                        std::string_view key, std::string_view value) {
    switch (op) {
    case Op::DeleteKey:
        return profiletext::DeleteKey(file, section, key);
    case Op::EraseSection:
        return profiletext::EraseSection(file, section);
    case Op::WriteString:
        return profiletext::WriteString(file, section, key, value);
    }
    return std::nullopt;
}

TEST(ProfileTextModel, RandomFilesInEveryEncodingEditAsTheModelSays) {
    constexpr int files = 5000;
    const std::pair<Encoding, std::string> encodings[] = {
        {Encoding::CodePage936, ""},
        {Encoding::Utf16LittleEndian, "\xFF\xFE"},
        {Encoding::Utf16BigEndian, "\xFE\xFF"},
    };
    std::mt19937 random(20261211);
    for (int round = 0; round < files; ++round) {
        const std::u16string file = RandomFile(random);
        const Op op = static_cast<Op>(random() % 3);
        const std::u16string& section = Pick(random, names);
        const std::u16string& key = Pick(random, names);
        const std::u16string& value = Pick(random, values);
        const std::u16string expected = ModelEdit(file, op, section, key, value);
        for (const auto& [encoding, mark] : encodings) {
            const std::string before = mark + InEncoding(file, encoding);
            const std::optional<profiletext::Splice> splice =
                Edit(before, op, InEncoding(section, encoding), InEncoding(key, encoding),
                     InEncoding(value, encoding));
            const std::string after = splice ? profiletext::Applied(before, *splice) : before;
            ASSERT_EQ(after, mark + InEncoding(expected, encoding))
                << "round " << round << ", encoding " << static_cast<int>(encoding)
                << ", operation " << static_cast<int>(op);
            if (!splice)
                continue;
            ASSERT_NE(after, before) << "a splice that changes nothing, round " << round;
        }
    }
}

} // namespace
