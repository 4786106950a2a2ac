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

// The encryption option's answer: this engine offers none.
constexpr std::uint8_t encryptNotSupported = 2;

// 15.0.2000: a version recent enough that clients expect TDS 7.4 from it.
constexpr std::uint8_t engineVersion[6] = {15, 0, 0x07, 0xD0, 0, 0};

} // namespace

bool ValidPrelogin(std::span<const std::uint8_t> payload) {
    ByteReader table(payload);
    for (;;) {
        const auto option = table.U8();
        if (!option)
            return false;
        if (*option == terminator)
            return true;
        const auto offset = table.U16Be();
        const auto length = table.U16Be();
        if (!offset || !length || static_cast<std::size_t>(*offset) + *length > payload.size())
            return false;
    }
}

Bytes PreloginResponse() {
    struct Entry {
        Option option;
        std::vector<std::uint8_t> value;
    };
    const std::vector<Entry> entries = {
        {version, {std::begin(engineVersion), std::end(engineVersion)}},
        {encryption, {encryptNotSupported}},
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
