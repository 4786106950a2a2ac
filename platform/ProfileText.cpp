#include "platform/ProfileText.h"

#include "platform/ProfileEncoding.h"

#include <utility>

namespace platform::profiletext {
namespace {

// The rules below run on the file's characters: code page 936 bytes as they are, or UTF-16
// code units. Offsets count those units.
template <typename Char> using View = std::basic_string_view<Char>;
template <typename Char> using Text = std::basic_string<Char>;

template <typename Char> struct Change {
    std::size_t from = 0;
    std::size_t to = 0;
    Text<Char> text;
};

enum class LineKind { Blank, Comment, Section, Key };

struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0; // where "\r\n" or "\n" starts
    std::size_t end = 0;        // after the line ending
    LineKind kind = LineKind::Blank;
};

template <typename Char> bool IsBlank(Char c) {
    return c == Char(' ') || c == Char('\t') || c == Char('\r');
}

template <typename Char> View<Char> Trimmed(View<Char> text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A lead byte and its trail byte form one character; trail bytes include '[', ']', '\' and
// letters, which must neither end a name nor be folded to another case.
bool IsDoubleByte(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x81 || lead == 0xFF || at + 1 >= text.size())
        return false;
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    return trail >= 0x40 && trail != 0x7F && trail != 0xFF;
}

// Every UTF-16 unit that is part of a longer character is a surrogate, never ASCII.
bool IsDoubleByte(std::u16string_view, std::size_t) {
    return false;
}

template <typename Char> std::size_t Find(View<Char> text, Char wanted) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsDoubleByte(text, at))
            ++at;
        else if (text[at] == wanted)
            return at;
    }
    return View<Char>::npos;
}

// The last ']' of a line that is a character of its own. A ']' byte after a byte below 0x81
// is no trail byte, which settles nearly every header without walking it from its start.
std::size_t LastCloser(std::string_view text) {
    const std::size_t last = text.rfind(']');
    if (last == std::string_view::npos || last == 0 ||
        static_cast<unsigned char>(text[last - 1]) < 0x81)
        return last;
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsDoubleByte(text, at))
            ++at;
        else if (text[at] == ']')
            found = at;
    }
    return found;
}

std::size_t LastCloser(std::u16string_view text) {
    return text.rfind(u']');
}

template <typename Char> Char FoldedAscii(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char> bool SameName(View<Char> left, View<Char> right) {
    if (left.size() != right.size())
        return false;
    for (std::size_t at = 0; at < left.size(); ++at) {
        if (IsDoubleByte(left, at)) {
            if (left.compare(at, 2, right, at, 2) != 0)
                return false;
            ++at;
        } else if (FoldedAscii(left[at]) != FoldedAscii(right[at])) {
            return false;
        }
    }
    return true;
}

// A header is '[' up to the last ']' of its line; a line with '[' and no ']' is none.
template <typename Char> View<Char> SectionName(View<Char> content) {
    const View<Char> text = Trimmed(content);
    const View<Char> inside = text.substr(1);
    return Trimmed(inside.substr(0, LastCloser(inside)));
}

// The first byte that is not blank decides a line's kind, and only a '[' needs a look further,
// so walking past the lines of other sections costs little more than finding their ends.
template <typename Char> LineKind KindOf(View<Char> content) {
    std::size_t at = 0;
    while (at < content.size() && IsBlank(content[at]))
        ++at;
    if (at == content.size())
        return LineKind::Blank;
    switch (content[at]) {
    case ';':
    case '#':
        return LineKind::Comment;
    case '[':
        return LastCloser(content.substr(at + 1)) != View<Char>::npos ? LineKind::Section
                                                                      : LineKind::Key;
    default:
        return LineKind::Key;
    }
}

template <typename Char> View<Char> Content(View<Char> file, const Line& line) {
    return file.substr(line.begin, line.contentEnd - line.begin);
}

// A key line's name, and the offset of its '=' in the file (contentEnd when it has none).
template <typename Char>
std::pair<View<Char>, std::size_t> KeyOf(View<Char> file, const Line& line) {
    const View<Char> content = Content(file, line);
    const std::size_t equals = Find(content, Char('='));
    return {Trimmed(content.substr(0, equals)),
            equals == View<Char>::npos ? line.contentEnd : line.begin + equals};
}

template <typename Char> bool IsKey(View<Char> file, const Line& line, View<Char> key) {
    return line.kind == LineKind::Key && SameName(KeyOf(file, line).first, key);
}

template <typename Char> bool IsHeaderOf(View<Char> file, const Line& line, View<Char> section) {
    return line.kind == LineKind::Section && SameName(SectionName(Content(file, line)), section);
}

// Walks the file line by line; a file without a final line ending has a last line all the same.
template <typename Char> class Lines {
public:
    explicit Lines(View<Char> file) : m_file(file) {}

    bool Next(Line& line) {
        if (m_at >= m_file.size())
            return false;
        const std::size_t found = m_file.find(Char('\n'), m_at);
        const std::size_t newline = found == View<Char>::npos ? m_file.size() : found;
        std::size_t contentEnd = newline;
        if (newline < m_file.size() && contentEnd > m_at && m_file[contentEnd - 1] == Char('\r'))
            --contentEnd;
        const std::size_t end = newline < m_file.size() ? newline + 1 : newline;
        line = {m_at, contentEnd, end, KindOf(m_file.substr(m_at, contentEnd - m_at))};
        m_at = end;
        return true;
    }

private:
    View<Char> m_file;
    std::size_t m_at = 0;
};

template <typename Char> constexpr Char crlf[] = {Char('\r'), Char('\n')};

// New lines follow the file: LF alone when every line of it ends so, otherwise CRLF.
template <typename Char> View<Char> LineEnding(View<Char> file) {
    bool anyNewline = false;
    for (std::size_t at = file.find(Char('\n')); at != View<Char>::npos;
         at = file.find(Char('\n'), at + 1)) {
        if (at > 0 && file[at - 1] == Char('\r'))
            return {crlf<Char>, 2};
        anyNewline = true;
    }
    return anyNewline ? View<Char>(crlf<Char> + 1, 1) : View<Char>(crlf<Char>, 2);
}

template <typename Char>
std::optional<Change<Char>> DeleteKeyIn(View<Char> file, View<Char> section, View<Char> key) {
    Lines<Char> lines(file);
    bool inSection = false;
    for (Line line; lines.Next(line);) {
        if (line.kind == LineKind::Section)
            inSection = IsHeaderOf(file, line, section);
        else if (inSection && IsKey(file, line, key))
            return Change<Char>{line.begin, line.end, {}};
    }
    return std::nullopt;
}

template <typename Char>
std::optional<Change<Char>> EraseSectionIn(View<Char> file, View<Char> section) {
    Lines<Char> lines(file);
    Line line;
    bool found = false;
    while (!found && lines.Next(line))
        found = IsHeaderOf(file, line, section);
    if (!found)
        return std::nullopt;
    const std::size_t from = line.begin;
    std::size_t to = file.size();
    while (lines.Next(line)) {
        if (line.kind == LineKind::Section) {
            to = line.begin;
            break;
        }
    }
    return Change<Char>{from, to, {}};
}

template <typename Char>
std::optional<Change<Char>> WriteStringIn(View<Char> file, View<Char> section, View<Char> key,
                                          View<Char> value) {
    const View<Char> ending = LineEnding(file);
    // Built by appending: GCC 12 at -O3 misreads chains of operator+ as overlapping copies.
    Text<Char> entry(key);
    entry += Char('=');
    entry += value;
    entry += ending;
    Lines<Char> lines(file);
    Line line;
    bool found = false;
    while (!found && lines.Next(line))
        found = IsHeaderOf(file, line, section);

    if (!found) {
        Text<Char> added;
        if (!file.empty() && file.back() != Char('\n'))
            added += ending;
        added += Char('[');
        added += section;
        added += Char(']');
        added += ending;
        added += entry;
        return Change<Char>{file.size(), file.size(), std::move(added)};
    }

    Line lastFilled = line;
    while (lines.Next(line) && line.kind != LineKind::Section) {
        if (IsKey(file, line, key)) {
            // The key keeps its spelling and everything up to its '='; only the value changes.
            const std::size_t equals = KeyOf(file, line).second;
            Text<Char> replacement;
            std::size_t from = equals + 1;
            if (equals == line.contentEnd) {
                from = line.contentEnd;
                while (from > line.begin && IsBlank(file[from - 1]))
                    --from;
                replacement += Char('=');
            }
            replacement += value;
            if (file.substr(from, line.contentEnd - from) == replacement)
                return std::nullopt;
            return Change<Char>{from, line.contentEnd, std::move(replacement)};
        }
        if (line.kind != LineKind::Blank)
            lastFilled = line;
    }
    Text<Char> added;
    if (lastFilled.end == lastFilled.contentEnd)
        added += ending;
    added += entry;
    return Change<Char>{lastFilled.end, lastFilled.end, std::move(added)};
}

// Runs an edit on the file's characters, given the names and value as bytes in the file's
// encoding, and gives its change as a splice of the file's bytes. A UTF-16 file is edited
// as its units behind the mark, so a unit's bytes are never taken apart.
template <typename Edit>
std::optional<Splice> InFileEncoding(std::string_view file, const Edit& edit) {
    const Encoding encoding = EncodingOf(file);
    if (encoding == Encoding::CodePage936) {
        std::optional<Change<char>> change =
            edit(file, [](std::string_view bytes) { return bytes; });
        if (!change)
            return std::nullopt;
        return Splice{change->from, change->to, std::move(change->text)};
    }
    const std::size_t mark = MarkSize(encoding);
    const std::u16string units = Utf16Units(file.substr(mark), encoding);
    const std::optional<Change<char16_t>> change =
        edit(std::u16string_view(units),
             [encoding](std::string_view bytes) { return Utf16Units(bytes, encoding); });
    if (!change)
        return std::nullopt;
    return Splice{mark + 2 * change->from, mark + 2 * change->to,
                  Utf16Bytes(change->text, encoding)};
}

} // namespace

std::string Applied(std::string_view file, const Splice& splice) {
    std::string result;
    result.reserve(file.size() - (splice.to - splice.from) + splice.text.size());
    result.append(file.substr(0, splice.from));
    result.append(splice.text);
    result.append(file.substr(splice.to));
    return result;
}

std::optional<Splice> DeleteKey(std::string_view file, std::string_view section,
                                std::string_view key) {
    return InFileEncoding(file, [&](auto text, auto inText) {
        return DeleteKeyIn<typename decltype(text)::value_type>(text, inText(section), inText(key));
    });
}

std::optional<Splice> EraseSection(std::string_view file, std::string_view section) {
    return InFileEncoding(file, [&](auto text, auto inText) {
        return EraseSectionIn<typename decltype(text)::value_type>(text, inText(section));
    });
}

std::optional<Splice> WriteString(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view value) {
    return InFileEncoding(file, [&](auto text, auto inText) {
        return WriteStringIn<typename decltype(text)::value_type>(text, inText(section),
                                                                  inText(key), inText(value));
    });
}

} // namespace platform::profiletext
