#include "distribution/engine/Options.h"

#include "platform/Utf8Path.h"

#include <charconv>
#include <chrono>
#include <map>
#include <optional>

namespace engine {
namespace {

constexpr const char* serveOptions[] = {
    "--instance",     "--login",     "--password", "--data",          "--listen",      "--port",
    "--browser-port", "--port-file", "--pid-file", "--login-timeout", "--certificate", "--key"};
constexpr const char* backupOptions[] = {"--make-backup", "--database", "--content"};

template <std::size_t N> bool Known(const std::string& name, const char* const (&names)[N]) {
    for (const char* known : names)
        if (name == known)
            return true;
    return false;
}

std::optional<std::uint16_t> Port(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::optional<std::chrono::seconds> Seconds(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 86400)
        return std::nullopt;
    return std::chrono::seconds(value);
}

} // namespace

std::variant<ServeOptions, MakeBackupOptions, UsageError>
ParseOptions(const std::vector<std::string>& arguments) {
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const std::string& name = arguments[i];
        if (!Known(name, serveOptions) && !Known(name, backupOptions))
            return UsageError{"unknown option " + name};
        if (i + 1 >= arguments.size())
            return UsageError{name + " needs a value"};
        values[name] = arguments[i + 1];
    }
    auto missing = [&](const char* const* first,
                       const char* const* last) -> std::optional<UsageError> {
        for (; first != last; ++first)
            if (!values.contains(*first))
                return UsageError{std::string(*first) + " is required"};
        return std::nullopt;
    };

    if (values.contains("--make-backup")) {
        for (const auto& [name, value] : values)
            if (!Known(name, backupOptions))
                return UsageError{name + " does not go with --make-backup"};
        if (auto error = missing(std::begin(backupOptions), std::end(backupOptions)))
            return *error;
        return MakeBackupOptions{platform::Utf8Path(values["--make-backup"]), values["--database"],
                                 platform::Utf8Path(values["--content"])};
    }

    for (const auto& [name, value] : values)
        if (!Known(name, serveOptions))
            return UsageError{name + " goes only with --make-backup"};
    if (auto error = missing(std::begin(serveOptions), std::begin(serveOptions) + 4))
        return *error;
    ServeOptions serve;
    serve.config.instance = values["--instance"];
    serve.config.login = values["--login"];
    serve.config.password = values["--password"];
    serve.config.dataDirectory = platform::Utf8Path(values["--data"]);
    if (values.contains("--listen"))
        serve.config.listenAddress = values["--listen"];
    for (auto [name, port] :
         {std::pair{"--port", &serve.config.port}, {"--browser-port", &serve.config.browserPort}}) {
        if (!values.contains(name))
            continue;
        const auto parsed = Port(values[name]);
        if (!parsed)
            return UsageError{std::string(name) + " must be a port number, not " + values[name]};
        *port = *parsed;
    }
    if (values.contains("--login-timeout")) {
        const auto seconds = Seconds(values["--login-timeout"]);
        if (!seconds)
            return UsageError{"--login-timeout must be a number of seconds from 1, not " +
                              values["--login-timeout"]};
        serve.config.loginTimeout = *seconds;
    }
    if (values.contains("--certificate") != values.contains("--key"))
        return UsageError{"--certificate and --key go together"};
    serve.config.certificateFile = values["--certificate"];
    serve.config.keyFile = values["--key"];
    if (values.contains("--port-file"))
        serve.portFile = platform::Utf8Path(values["--port-file"]);
    if (values.contains("--pid-file"))
        serve.pidFile = platform::Utf8Path(values["--pid-file"]);
    return serve;
}

} // namespace engine
