#include "distribution/engine/Prelogin.h"

#include <vector>

namespace engine {
namespace {

enum Option : std::uint8_t {
    version = 0,
    encryption = 1,
    instance = 2,
    threadId = 3,
    mars = 4,
    terminator = 0xFF
};

// 15.0.2000: a version recent enough that clients expect TDS 7.4 from it.
constexpr std::uint8_t engineVersion[6] = {15, 0, 0x07, 0xD0, 0, 0};

} // namespace

std::optional<Encryption> ParsePrelogin(std::span<const std::uint8_t> payload) {
    ByteReader table(payload);
    Encryption requested = Encryption::NotSupported;
    for (;;) {
        const auto option = table.U8();
        if (!option)
            return std::nullopt;
        if (*option == terminator)
            return requested;
        const auto offset = table.U16Be();
        const auto length = table.U16Be();
        if (!offset || !length || static_cast<std::size_t>(*offset) + *length > payload.size())
            return std::nullopt;
        if (*option == encryption && *length >= 1 && payload[*offset] <= 3)
            requested = static_cast<Encryption>(payload[*offset] & 0x03);
    }
}

Encryption AgreeEncryption(Encryption requested, bool certificate) {
    if (!certificate || requested == Encryption::NotSupported)
        return Encryption::NotSupported;
    return requested == Encryption::Off ? Encryption::Off : Encryption::On;
}

Bytes PreloginResponse(Encryption agreed) {
    struct Entry {
        Option option;
        std::vector<std::uint8_t> value;
    };
    const std::vector<Entry> entries = {
        {version, {std::begin(engineVersion), std::end(engineVersion)}},
        {encryption, {static_cast<std::uint8_t>(agreed)}},
        {instance, {0}},
        {threadId, {}},
        {mars, {0}},
    };
    ByteWriter out;
    std::size_t offset = entries.size() * 5 + 1;
    for (const Entry& entry : entries) {
        out.U8(entry.option);
        out.U16Be(static_cast<std::uint16_t>(offset));
        out.U16Be(static_cast<std::uint16_t>(entry.value.size()));
        offset += entry.value.size();
    }
    out.U8(terminator);
    for (const Entry& entry : entries)
        out.Append(entry.value);
    return out.Take();
}

} // namespace engine
