#include "platform/freetds/BrowserResponse.h"

#include <algorithm>
#include <charconv>

namespace platform::browser {
namespace {

constexpr char instanceRequestType = 0x04;
constexpr char serverResponseType = 0x05;
constexpr std::size_t responseHeaderSize = 3;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(x) == lower(y);
    });
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    unsigned port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || port < 1 ||
        port > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(port);
}

// The next ';'-terminated field; the data's end also ends a field.
std::string_view NextField(std::string_view& data) {
    const std::size_t end = std::min(data.find(';'), data.size());
    const std::string_view field = data.substr(0, end);
    data.remove_prefix(std::min(end + 1, data.size()));
    return field;
}

} // namespace

std::string InstanceRequest(const std::string& instance) {
    std::string request(1, instanceRequestType);
    request += instance;
    request += '\0';
    return request;
}

std::optional<std::vector<ServerInstance>> ParseResponse(std::string_view datagram) {
    if (datagram.size() < responseHeaderSize || datagram[0] != serverResponseType)
        return std::nullopt;
    const std::size_t length = static_cast<unsigned char>(datagram[1]) |
                               static_cast<std::size_t>(static_cast<unsigned char>(datagram[2]))
                                   << 8;
    if (length > datagram.size() - responseHeaderSize)
        return std::nullopt;
    std::string_view data = datagram.substr(responseHeaderSize, length);

    std::vector<ServerInstance> instances;
    ServerInstance current;
    bool inRecord = false;
    while (!data.empty()) {
        const std::string_view key = NextField(data);
        if (key.empty()) {
            // ";;" closes the record of one instance.
            if (inRecord)
                instances.push_back(std::move(current));
            current = {};
            inRecord = false;
            continue;
        }
        const std::string_view value = NextField(data);
        inRecord = true;
        if (SameIgnoringCase(key, "ServerName"))
            current.serverName = value;
        else if (SameIgnoringCase(key, "InstanceName"))
            current.instanceName = value;
        else if (SameIgnoringCase(key, "tcp"))
            current.tcpPort = ParsePort(value);
    }
    if (inRecord)
        instances.push_back(std::move(current));
    return instances;
}

const ServerInstance* FindInstance(const std::vector<ServerInstance>& instances,
                                   const std::string& name) {
    for (const auto& instance : instances)
        if (SameIgnoringCase(instance.instanceName, name))
            return &instance;
    return nullptr;
}

} // namespace platform::browser
