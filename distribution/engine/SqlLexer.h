#pragma once

#include <string>
#include <variant>
#include <vector>

namespace engine {

// A lexical token of a Transact-SQL batch.
struct SqlToken {
    enum class Kind {
        Word,       // keyword, regular identifier or number: `text` as written
        Identifier, // [bracketed]: `text` without the brackets, "]]" undone
        String,     // 'literal' or N'literal': `text` without the quotes, "''" undone
        Variable,   // @name or @@name, as written
        Symbol,     // any other single character
    };
    Kind kind;
    std::string text;

    // Whether this is the word `keyword`, compared case-insensitively.
    bool Is(const char* keyword) const;
};

// Why a batch could not be split into tokens; `near` is the text the error quotes.
struct SqlLexError {
    enum class Kind { UnclosedQuote, UnclosedComment };
    Kind kind;
    std::string near;
};

// A name in ASCII lower case, as names compare whatever case they were written in.
std::string Lowercase(std::string text);

// Splits a batch into tokens, skipping blanks and comments (-- and /* */).
std::variant<std::vector<SqlToken>, SqlLexError> Tokenize(const std::string& batch);

} // namespace engine
