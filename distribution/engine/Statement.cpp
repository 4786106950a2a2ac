#include "distribution/engine/Statement.h"

#include "distribution/engine/SqlLexer.h"

#include <optional>

namespace engine {
namespace {

// Statement keywords of the language: a batch starting with one of these that this engine
// cannot run is reported as unsupported rather than as a syntax error.
constexpr const char* statementKeywords[] = {
    "ALTER",    "BACKUP",  "BEGIN", "COMMIT",   "CREATE", "DBCC",  "DECLARE", "DELETE",  "DROP",
    "EXEC",     "EXECUTE", "GRANT", "IF",       "INSERT", "MERGE", "PRINT",   "RESTORE", "REVOKE",
    "ROLLBACK", "SELECT",  "SET",   "TRUNCATE", "UPDATE", "USE",   "WAITFOR", "WHILE",   "WITH",
};

ServerMessage SyntaxError(const std::string& near) {
    return {102, 1, 15, "Incorrect syntax near '" + near + "'."};
}

ServerMessage NotSupported(const std::string& keyword) {
    return {40517, 1, 16,
            "Keyword or statement option '" + keyword +
                "' is not supported in this version of SQL Server."};
}

// Matches one statement's tokens; a mismatch leaves the error to report.
class StatementParser {
public:
    explicit StatementParser(const std::vector<SqlToken>& tokens) : m_tokens(tokens) {}

    std::variant<Statement, ServerMessage> Parse() {
        const SqlToken& first = m_tokens.front();
        if (first.Is("RESTORE"))
            return Restore();
        if (first.Is("SELECT"))
            return Select();
        if (first.Is("USE"))
            return Use();
        if (first.kind == SqlToken::Kind::Word) {
            for (const char* keyword : statementKeywords)
                if (first.Is(keyword))
                    return NotSupported(keyword);
            // A batch that starts with a name calls the procedure of that name.
            return ServerMessage{2812, 62, 16,
                                 "Could not find stored procedure '" + first.text + "'."};
        }
        return SyntaxError(first.text);
    }

private:
    bool Keyword(const char* keyword) {
        if (m_position < m_tokens.size() && m_tokens[m_position].Is(keyword)) {
            ++m_position;
            return true;
        }
        return false;
    }

    bool Symbol(const char* symbol) {
        if (m_position < m_tokens.size() && m_tokens[m_position].kind == SqlToken::Kind::Symbol &&
            m_tokens[m_position].text == symbol) {
            ++m_position;
            return true;
        }
        return false;
    }

    std::optional<std::string> Name() {
        if (m_position < m_tokens.size() &&
            (m_tokens[m_position].kind == SqlToken::Kind::Word ||
             m_tokens[m_position].kind == SqlToken::Kind::Identifier))
            return m_tokens[m_position++].text;
        return std::nullopt;
    }

    // The error for the token where matching stopped; at the end, the last token.
    ServerMessage Stopped() const {
        const std::size_t at = m_position < m_tokens.size() ? m_position : m_tokens.size() - 1;
        if (m_tokens[at].Is("WITH"))
            return NotSupported("WITH");
        return SyntaxError(m_tokens[at].text);
    }

    bool AtEnd() const { return m_position == m_tokens.size(); }

    std::variant<Statement, ServerMessage> Restore() {
        ++m_position;
        RestoreStatement restore;
        if (!Keyword("DATABASE"))
            return Stopped();
        const auto database = Name();
        if (!database || !Keyword("FROM") || !Keyword("DISK") || !Symbol("="))
            return Stopped();
        restore.database = *database;
        if (m_position == m_tokens.size() || m_tokens[m_position].kind != SqlToken::Kind::String)
            return Stopped();
        restore.disk = m_tokens[m_position++].text;
        if (!AtEnd())
            return Stopped();
        return restore;
    }

    std::variant<Statement, ServerMessage> Select() {
        ++m_position;
        if (m_position < m_tokens.size() && m_tokens[m_position].kind == SqlToken::Kind::Variable) {
            if (!Same(m_tokens[m_position].text, "@@VERSION") || m_position + 1 != m_tokens.size())
                return NotSupported("SELECT");
            return VersionStatement{};
        }
        const auto column = Name();
        if (!column || !Same(*column, "name") || !Keyword("FROM"))
            return NotSupported("SELECT");
        // [master.]sys.databases
        const std::size_t start = m_position;
        if (!(Keyword("master") && Symbol(".")))
            m_position = start;
        if (!Keyword("sys") || !Symbol(".") || !Keyword("databases") || !AtEnd())
            return NotSupported("SELECT");
        return ListDatabasesStatement{};
    }

    std::variant<Statement, ServerMessage> Use() {
        ++m_position;
        const auto database = Name();
        if (!database || !AtEnd())
            return Stopped();
        return UseStatement{*database};
    }

    static bool Same(const std::string& text, const char* keyword) {
        return SqlToken{SqlToken::Kind::Word, text}.Is(keyword);
    }

    const std::vector<SqlToken>& m_tokens;
    std::size_t m_position = 0;
};

} // namespace

std::variant<std::vector<Statement>, ServerMessage> ParseBatch(const std::string& batch) {
    auto lexed = Tokenize(batch);
    if (const auto* error = std::get_if<SqlLexError>(&lexed)) {
        if (error->kind == SqlLexError::Kind::UnclosedComment)
            return ServerMessage{113, 1, 15, "Missing end comment mark '*/'."};
        return ServerMessage{105, 1, 15,
                             "Unclosed quotation mark after the character string '" + error->near +
                                 "'."};
    }
    const auto& tokens = std::get<std::vector<SqlToken>>(lexed);
    std::vector<Statement> statements;
    std::vector<SqlToken> current;
    auto finish = [&]() -> std::optional<ServerMessage> {
        if (current.empty())
            return std::nullopt;
        auto parsed = StatementParser(current).Parse();
        current.clear();
        if (auto* error = std::get_if<ServerMessage>(&parsed))
            return *error;
        statements.push_back(std::get<Statement>(parsed));
        return std::nullopt;
    };
    for (const SqlToken& token : tokens) {
        if (token.kind == SqlToken::Kind::Symbol && token.text == ";") {
            if (auto error = finish())
                return *error;
        } else {
            current.push_back(token);
        }
    }
    if (auto error = finish())
        return *error;
    return statements;
}

} // namespace engine
