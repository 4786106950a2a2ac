#include "distribution/engine/Statement.h"

#include "distribution/engine/SqlLexer.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>

namespace engine {
namespace {

// Statement keywords of the language: a batch starting with one of these that this engine
// cannot run is reported as unsupported rather than as a syntax error. Each also ends the
// statement before it.
constexpr const char* statementKeywords[] = {
    "ALTER",    "BACKUP",  "BEGIN", "COMMIT",   "CREATE", "DBCC",  "DECLARE", "DELETE",  "DROP",
    "EXEC",     "EXECUTE", "GRANT", "IF",       "INSERT", "MERGE", "PRINT",   "RESTORE", "REVOKE",
    "ROLLBACK", "SELECT",  "SET",   "TRUNCATE", "UPDATE", "USE",   "WAITFOR", "WHILE",   "WITH",
};

// Connection options that take ON or OFF.
constexpr const char* switchOptions[] = {
    "ANSI_DEFAULTS",
    "ANSI_NULL_DFLT_OFF",
    "ANSI_NULL_DFLT_ON",
    "ANSI_NULLS",
    "ANSI_PADDING",
    "ANSI_WARNINGS",
    "ARITHABORT",
    "ARITHIGNORE",
    "CONCAT_NULL_YIELDS_NULL",
    "CURSOR_CLOSE_ON_COMMIT",
    "IMPLICIT_TRANSACTIONS",
    "NOCOUNT",
    "NUMERIC_ROUNDABORT",
    "QUOTED_IDENTIFIER",
    "XACT_ABORT",
};
// Connection options that take a number (LOCK_TIMEOUT also -1) or a name.
constexpr const char* valueOptions[] = {"TEXTSIZE",  "LOCK_TIMEOUT",      "DATEFIRST",
                                        "ROWCOUNT",  "DEADLOCK_PRIORITY", "LANGUAGE",
                                        "DATEFORMAT"};
constexpr const char* isolationLevels[][2] = {{"READ", "COMMITTED"},
                                              {"READ", "UNCOMMITTED"},
                                              {"REPEATABLE", "READ"},
                                              {"SNAPSHOT", nullptr},
                                              {"SERIALIZABLE", nullptr}};

ServerMessage SyntaxError(const std::string& near) {
    return {102, 1, 15, "Incorrect syntax near '" + near + "'."};
}

ServerMessage NotSupported(const std::string& keyword) {
    return {40517, 1, 16,
            "Keyword or statement option '" + keyword +
                "' is not supported in this version of SQL Server."};
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

template <std::size_t N> bool OneOf(const SqlToken& token, const char* const (&keywords)[N]) {
    for (const char* keyword : keywords)
        if (token.Is(keyword))
            return true;
    return false;
}

std::optional<std::int64_t> Integer(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// 'hh:mm[:ss[.mmm]]' as WAITFOR DELAY takes it, up to a day.
std::optional<std::int64_t> DelayMilliseconds(const std::string& text) {
    int hours = 0, minutes = 0, seconds = 0, millis = 0;
    char tail = 0;
    const int read =
        std::sscanf(text.c_str(), "%2d:%2d:%2d.%3d%c", &hours, &minutes, &seconds, &millis, &tail);
    if (read < 2 || read == 5 || hours < 0 || hours > 23 || minutes < 0 || minutes > 59 ||
        seconds < 0 || seconds > 59 || millis < 0)
        return std::nullopt;
    return ((hours * 60 + minutes) * 60 + seconds) * std::int64_t{1000} + millis;
}

// Matches the statements of a batch one after the other; a mismatch leaves the error to
// report.
class StatementParser {
public:
    explicit StatementParser(const std::vector<SqlToken>& tokens) : m_tokens(tokens) {}

    std::variant<std::vector<Statement>, ServerMessage> Parse() {
        std::vector<Statement> statements;
        for (;;) {
            while (Symbol(";")) {
            }
            if (AtEnd())
                return statements;
            auto parsed = One();
            if (auto* error = std::get_if<ServerMessage>(&parsed))
                return *error;
            statements.push_back(std::get<Statement>(parsed));
            // The next statement may follow at once, but nothing else may.
            if (!AtEnd() && !AtSymbol(";") && !OneOf(m_tokens[m_position], statementKeywords))
                return Stopped();
        }
    }

private:
    std::variant<Statement, ServerMessage> One() {
        const SqlToken& first = m_tokens[m_position];
        if (first.Is("RESTORE"))
            return Restore();
        if (first.Is("SELECT"))
            return Select();
        if (first.Is("USE"))
            return Use();
        if (first.Is("SET"))
            return Set();
        if (first.Is("BEGIN") || first.Is("COMMIT") || first.Is("ROLLBACK"))
            return Transaction();
        if (first.Is("WAITFOR"))
            return WaitFor();
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

    bool Keyword(const char* keyword) {
        if (!AtEnd() && m_tokens[m_position].Is(keyword)) {
            ++m_position;
            return true;
        }
        return false;
    }

    bool AtSymbol(const char* symbol) const {
        return !AtEnd() && m_tokens[m_position].kind == SqlToken::Kind::Symbol &&
               m_tokens[m_position].text == symbol;
    }

    bool Symbol(const char* symbol) {
        if (!AtSymbol(symbol))
            return false;
        ++m_position;
        return true;
    }

    bool At(SqlToken::Kind kind) const { return !AtEnd() && m_tokens[m_position].kind == kind; }

    std::optional<std::string> Name() {
        if (At(SqlToken::Kind::Word) || At(SqlToken::Kind::Identifier))
            return m_tokens[m_position++].text;
        return std::nullopt;
    }

    // A name that is not the keyword of the next statement.
    std::optional<std::string> OptionalName() {
        if (At(SqlToken::Kind::Identifier) ||
            (At(SqlToken::Kind::Word) && !OneOf(m_tokens[m_position], statementKeywords)))
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
        if (!At(SqlToken::Kind::String))
            return Stopped();
        restore.disk = m_tokens[m_position++].text;
        return restore;
    }

    std::variant<Statement, ServerMessage> Select() {
        ++m_position;
        if (At(SqlToken::Kind::Variable)) {
            const std::string variable = m_tokens[m_position++].text;
            if (Upper(variable) == "@@VERSION")
                return VersionStatement{};
            return Column(SelectValueStatement{{}, variable, ""});
        }
        if (At(SqlToken::Kind::String))
            return Column(SelectValueStatement{m_tokens[m_position++].text, "", ""});
        const bool negative = Symbol("-");
        if (At(SqlToken::Kind::Word)) {
            if (const auto number = Integer((negative ? "-" : "") + m_tokens[m_position].text)) {
                ++m_position;
                return Column(SelectValueStatement{*number, "", ""});
            }
        }
        if (negative)
            return NotSupported("SELECT");
        const auto column = Name();
        if (!column || !Same(*column, "name") || !Keyword("FROM"))
            return NotSupported("SELECT");
        // [master.]sys.databases
        const std::size_t start = m_position;
        if (!(Keyword("master") && Symbol(".")))
            m_position = start;
        if (!Keyword("sys") || !Symbol(".") || !Keyword("databases"))
            return NotSupported("SELECT");
        return ListDatabasesStatement{};
    }

    // The optional column name after a selected value: [AS] name or [AS] 'name'.
    std::variant<Statement, ServerMessage> Column(SelectValueStatement select) {
        const bool as = Keyword("AS");
        if (At(SqlToken::Kind::String)) {
            select.column = m_tokens[m_position++].text;
        } else if (const auto name = as ? Name() : OptionalName()) {
            select.column = *name;
        } else if (as) {
            return Stopped();
        }
        if (!AtEnd() && !AtSymbol(";") && !OneOf(m_tokens[m_position], statementKeywords))
            return NotSupported("SELECT");
        return select;
    }

    std::variant<Statement, ServerMessage> Use() {
        ++m_position;
        const auto database = Name();
        if (!database)
            return Stopped();
        return UseStatement{*database};
    }

    std::variant<Statement, ServerMessage> Set() {
        ++m_position;
        if (At(SqlToken::Kind::Variable))
            return NotSupported("SET");
        if (Keyword("TRANSACTION")) {
            if (!Keyword("ISOLATION") || !Keyword("LEVEL"))
                return Stopped();
            for (const auto& level : isolationLevels) {
                const std::size_t start = m_position;
                if (Keyword(level[0]) && (level[1] == nullptr || Keyword(level[1])))
                    return SetStatement{{"TRANSACTION ISOLATION LEVEL"},
                                        std::string(level[0]) +
                                            (level[1] ? std::string(" ") + level[1] : "")};
                m_position = start;
            }
            return Stopped();
        }
        SetStatement set;
        do {
            if (!At(SqlToken::Kind::Word))
                return Stopped();
            const SqlToken& option = m_tokens[m_position];
            if (!OneOf(option, switchOptions) && !OneOf(option, valueOptions))
                return ServerMessage{195, 1, 15,
                                     "'" + option.text + "' is not a recognized SET option."};
            set.options.push_back(Upper(option.text));
            ++m_position;
        } while (Symbol(","));
        const bool switches = OneOf(SqlToken{SqlToken::Kind::Word, set.options[0]}, switchOptions);
        if (set.options.size() > 1 || switches) {
            // Only switches may be set together, and only to ON or OFF.
            for (const std::string& option : set.options)
                if (!OneOf(SqlToken{SqlToken::Kind::Word, option}, switchOptions))
                    return SyntaxError(option);
            if (!Keyword("ON") && !Keyword("OFF"))
                return Stopped();
            set.value = Upper(m_tokens[m_position - 1].text);
            return set;
        }
        const bool negative = Symbol("-");
        if (!At(SqlToken::Kind::Word) && !At(SqlToken::Kind::String) &&
            !At(SqlToken::Kind::Identifier))
            return Stopped();
        set.value = (negative ? "-" : "") + m_tokens[m_position++].text;
        return set;
    }

    std::variant<Statement, ServerMessage> Transaction() {
        const SqlToken& first = m_tokens[m_position++];
        TransactionStatement statement{TransactionStatement::Kind::Begin};
        if (first.Is("BEGIN")) {
            if (!Keyword("TRAN") && !Keyword("TRANSACTION"))
                return NotSupported("BEGIN");
        } else {
            statement.kind = first.Is("COMMIT") ? TransactionStatement::Kind::Commit
                                                : TransactionStatement::Kind::Rollback;
            if (Keyword("WORK"))
                return statement;
            if (!Keyword("TRAN"))
                Keyword("TRANSACTION");
        }
        // An optional transaction name, which only marks it.
        if (At(SqlToken::Kind::Variable))
            ++m_position;
        else
            OptionalName();
        return statement;
    }

    std::variant<Statement, ServerMessage> WaitFor() {
        ++m_position;
        if (!Keyword("DELAY"))
            return NotSupported("WAITFOR");
        if (!At(SqlToken::Kind::String))
            return Stopped();
        const std::string text = m_tokens[m_position++].text;
        const auto delay = DelayMilliseconds(text);
        if (!delay)
            return ServerMessage{148, 1, 15,
                                 "Incorrect time syntax in time string '" + text +
                                     "' used with WAITFOR."};
        return WaitForStatement{*delay};
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
    return StatementParser(std::get<std::vector<SqlToken>>(lexed)).Parse();
}

} // namespace engine
