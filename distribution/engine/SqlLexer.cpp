#include "distribution/engine/SqlLexer.h"

#include <cctype>
#include <cstring>

namespace engine {
namespace {

bool IsWordCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    // Bytes of UTF-8 sequences count as letters, as identifiers may hold any letter.
    return std::isalnum(byte) || c == '_' || c == '#' || c == '$' || c == '@' || byte >= 0x80;
}

// Reads a quoted run starting after the opening character, where the closing character
// doubled stands for itself. Returns false when the batch ends first.
bool ReadQuoted(const std::string& batch, std::size_t& i, char close, std::string& text) {
    while (i < batch.size()) {
        if (batch[i] == close) {
            if (i + 1 < batch.size() && batch[i + 1] == close) {
                text += close;
                i += 2;
                continue;
            }
            ++i;
            return true;
        }
        text += batch[i++];
    }
    return false;
}

} // namespace

std::string Lowercase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool SqlToken::Is(const char* keyword) const {
    if (kind != Kind::Word || text.size() != std::strlen(keyword))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) !=
            std::toupper(static_cast<unsigned char>(keyword[i])))
            return false;
    return true;
}

std::variant<std::vector<SqlToken>, SqlLexError> Tokenize(const std::string& batch) {
    std::vector<SqlToken> tokens;
    std::size_t i = 0;
    while (i < batch.size()) {
        const char c = batch[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (batch.compare(i, 2, "--") == 0) {
            while (i < batch.size() && batch[i] != '\n')
                ++i;
        } else if (batch.compare(i, 2, "/*") == 0) {
            const auto end = batch.find("*/", i + 2);
            if (end == std::string::npos)
                return SqlLexError{SqlLexError::Kind::UnclosedComment, ""};
            i = end + 2;
        } else if (c == '\'' ||
                   ((c == 'N' || c == 'n') && i + 1 < batch.size() && batch[i + 1] == '\'')) {
            i += c == '\'' ? 1 : 2;
            std::string text;
            if (!ReadQuoted(batch, i, '\'', text))
                return SqlLexError{SqlLexError::Kind::UnclosedQuote, text};
            tokens.push_back({SqlToken::Kind::String, text});
        } else if (c == '[') {
            ++i;
            std::string text;
            if (!ReadQuoted(batch, i, ']', text))
                return SqlLexError{SqlLexError::Kind::UnclosedQuote, text};
            tokens.push_back({SqlToken::Kind::Identifier, text});
        } else if (IsWordCharacter(c)) {
            const std::size_t start = i;
            while (i < batch.size() && IsWordCharacter(batch[i]))
                ++i;
            const std::string text = batch.substr(start, i - start);
            tokens.push_back({c == '@' ? SqlToken::Kind::Variable : SqlToken::Kind::Word, text});
        } else {
            tokens.push_back({SqlToken::Kind::Symbol, std::string(1, c)});
            ++i;
        }
    }
    return tokens;
}

} // namespace engine
