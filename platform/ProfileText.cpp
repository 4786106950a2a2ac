#include "platform/ProfileText.h"

#include <cstring>
#include <utility>

namespace platform::profiletext {
namespace {

enum class LineKind { Blank, Comment, Section, Key };

struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0; // where "\r\n" or "\n" starts
    std::size_t end = 0;        // after the line ending
    LineKind kind = LineKind::Blank;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
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

std::size_t Find(std::string_view text, char wanted) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsDoubleByte(text, at))
            ++at;
        else if (text[at] == wanted)
            return at;
    }
    return std::string_view::npos;
}

char FoldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view left, std::string_view right) {
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

// Only the first byte that is not blank decides a line's kind, so walking past the lines of
// other sections costs no more than finding their ends.
LineKind KindOf(std::string_view content) {
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
        return LineKind::Section;
    default:
        return LineKind::Key;
    }
}

std::string_view Content(std::string_view file, const Line& line) {
    return file.substr(line.begin, line.contentEnd - line.begin);
}

std::string_view SectionName(std::string_view file, const Line& line) {
    const std::string_view text = Trimmed(Content(file, line));
    const std::string_view inside = text.substr(1);
    return Trimmed(inside.substr(0, Find(inside, ']')));
}

// A key line's name, and the offset of its '=' in the file (contentEnd when it has none).
std::pair<std::string_view, std::size_t> KeyOf(std::string_view file, const Line& line) {
    const std::string_view content = Content(file, line);
    const std::size_t equals = Find(content, '=');
    return {Trimmed(content.substr(0, equals)),
            equals == std::string_view::npos ? line.contentEnd : line.begin + equals};
}

bool IsKey(std::string_view file, const Line& line, std::string_view key) {
    return line.kind == LineKind::Key && SameName(KeyOf(file, line).first, key);
}

// Walks the file line by line; a file without a final line ending has a last line all the same.
class Lines {
public:
    explicit Lines(std::string_view file) : m_file(file) {}

    bool Next(Line& line) {
        if (m_at >= m_file.size())
            return false;
        const void* found = std::memchr(m_file.data() + m_at, '\n', m_file.size() - m_at);
        const std::size_t newline =
            found ? static_cast<const char*>(found) - m_file.data() : m_file.size();
        std::size_t contentEnd = newline;
        if (found && contentEnd > m_at && m_file[contentEnd - 1] == '\r')
            --contentEnd;
        const std::size_t end = found ? newline + 1 : newline;
        line = {m_at, contentEnd, end, KindOf(m_file.substr(m_at, contentEnd - m_at))};
        m_at = end;
        return true;
    }

private:
    std::string_view m_file;
    std::size_t m_at = 0;
};

// New lines follow the file: LF alone when every line of it ends so, otherwise CRLF.
std::string_view LineEnding(std::string_view file) {
    bool anyNewline = false;
    for (std::size_t at = file.find('\n'); at != std::string_view::npos;
         at = file.find('\n', at + 1)) {
        if (at > 0 && file[at - 1] == '\r')
            return "\r\n";
        anyNewline = true;
    }
    return anyNewline ? "\n" : "\r\n";
}

bool IsHeaderOf(std::string_view file, const Line& line, std::string_view section) {
    return line.kind == LineKind::Section && SameName(SectionName(file, line), section);
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
    Lines lines(file);
    bool inSection = false;
    for (Line line; lines.Next(line);) {
        if (line.kind == LineKind::Section)
            inSection = IsHeaderOf(file, line, section);
        else if (inSection && IsKey(file, line, key))
            return Splice{line.begin, line.end, {}};
    }
    return std::nullopt;
}

std::optional<Splice> EraseSection(std::string_view file, std::string_view section) {
    Lines lines(file);
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
    return Splice{from, to, {}};
}

std::optional<Splice> WriteString(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view value) {
    const std::string_view ending = LineEnding(file);
    const std::string entry = std::string(key) + "=" + std::string(value);
    Lines lines(file);
    Line line;
    bool found = false;
    while (!found && lines.Next(line))
        found = IsHeaderOf(file, line, section);

    if (!found) {
        std::string added(file.empty() || file.back() == '\n' ? "" : ending);
        added +=
            "[" + std::string(section) + "]" + std::string(ending) + entry + std::string(ending);
        return Splice{file.size(), file.size(), std::move(added)};
    }

    Line lastFilled = line;
    while (lines.Next(line) && line.kind != LineKind::Section) {
        if (IsKey(file, line, key)) {
            // The key keeps its spelling and everything up to its '='; only the value changes.
            const std::size_t equals = KeyOf(file, line).second;
            std::string replacement;
            std::size_t from = equals + 1;
            if (equals == line.contentEnd) {
                from = line.contentEnd;
                while (from > line.begin && IsBlank(file[from - 1]))
                    --from;
                replacement = "=";
            }
            replacement += value;
            if (file.substr(from, line.contentEnd - from) == replacement)
                return std::nullopt;
            return Splice{from, line.contentEnd, std::move(replacement)};
        }
        if (line.kind != LineKind::Blank)
            lastFilled = line;
    }
    std::string added(lastFilled.end == lastFilled.contentEnd ? ending : "");
    added += entry + std::string(ending);
    return Splice{lastFilled.end, lastFilled.end, std::move(added)};
}

} // namespace platform::profiletext
