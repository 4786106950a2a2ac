#include "platform/ConnectionString.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace platform {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

// Values are never quoted in messages: one of them is the password.
[[noreturn]] void Malformed(const std::string& what) {
    throw Exception(messages::InvalidConnectionString(what));
}

[[noreturn]] void BadDataSource(const std::string& text, const std::string& what) {
    throw Exception(messages::InvalidDataSource(text, what));
}

// Reads a quoted value starting at the opening quote; `position` ends after the closing one.
std::string ReadQuoted(const std::string& text, std::size_t& position, const std::string& key) {
    const char quote = text[position++];
    std::string value;
    for (;;) {
        if (position == text.size())
            Malformed(messages::ValueWithoutClosingQuote(key));
        const char c = text[position++];
        if (c != quote) {
            value += c;
        } else if (position < text.size() && text[position] == quote) {
            value += quote;
            ++position;
        } else {
            return value;
        }
    }
}

// The value of a key, or nothing when the connection string does not give it.
std::optional<std::string> Take(const std::map<std::string, std::string>& entries,
                                const char* key) {
    const auto found = entries.find(key);
    if (found == entries.end())
        return std::nullopt;
    return found->second;
}

} // namespace

ConnectionSettings ParseConnectionString(const std::string& connectionString) {
    const std::string& text = connectionString;
    std::map<std::string, std::string> entries; // by lower-case key; the last one wins
    std::size_t position = 0;
    int entry = 0;
    while (position < text.size()) {
        if (text[position] == ';' || IsBlank(text[position])) {
            ++position;
            continue;
        }
        ++entry;
        const std::size_t equals = text.find_first_of("=;", position);
        if (equals == std::string::npos || text[equals] == ';')
            Malformed(messages::EntryWithoutEquals(entry));
        const std::string key = Trim(text.substr(position, equals - position));
        if (key.empty())
            Malformed(messages::EntryWithoutKey(entry));
        position = equals + 1;
        while (position < text.size() && IsBlank(text[position]))
            ++position;

        std::string value;
        if (position < text.size() && (text[position] == '"' || text[position] == '\'')) {
            value = ReadQuoted(text, position, key);
            while (position < text.size() && IsBlank(text[position]))
                ++position;
            if (position < text.size() && text[position] != ';')
                Malformed(messages::TextAfterClosingQuote(key));
        } else {
            const std::size_t end = std::min(text.find(';', position), text.size());
            value = Trim(text.substr(position, end - position));
            position = end;
        }
        entries[Lower(key)] = std::move(value);
    }

    const auto dataSource = Take(entries, "data source");
    if (!dataSource)
        Malformed(messages::MissingSetting("Data Source"));
    const auto user = Take(entries, "user id");
    if (!user)
        Malformed(messages::MissingSetting("User ID"));
    return ConnectionSettings{*user, Take(entries, "password").value_or(""),
                              Take(entries, "initial catalog").value_or(""),
                              ParseDataSource(*dataSource)};
}

DataSource ParseDataSource(const std::string& text) {
    DataSource source;
    source.text = Trim(text);
    std::string server = source.text;

    if (const std::size_t comma = server.find(','); comma != std::string::npos) {
        const std::string portText = Trim(server.substr(comma + 1));
        unsigned port = 0;
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (portText.empty() || error != std::errc() || end != portText.data() + portText.size() ||
            port < 1 || port > 65535)
            BadDataSource(source.text, messages::PortOutOfRange());
        source.port = static_cast<std::uint16_t>(port);
        server = server.substr(0, comma);
    }
    if (const std::size_t backslash = server.find('\\'); backslash != std::string::npos) {
        source.instance = Trim(server.substr(backslash + 1));
        if (source.instance.empty())
            BadDataSource(source.text, messages::NoInstanceName());
        server = server.substr(0, backslash);
    }
    source.host = Trim(server);
    if (source.host.empty())
        BadDataSource(source.text, messages::NoComputerNamed());
    return source;
}

} // namespace platform
