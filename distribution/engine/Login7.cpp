#include "distribution/engine/Login7.h"

#include "distribution/engine/Bytes.h"
#include "distribution/engine/Utf16.h"

namespace engine {
namespace {

// Offsets into the fixed part of LOGIN7.
constexpr std::size_t versionOffset = 4;
constexpr std::size_t packetSizeOffset = 8;
constexpr std::size_t optionFlags3Offset = 27;
constexpr std::uint8_t extensionFlag = 0x10;
constexpr std::size_t userNameField = 40;
constexpr std::size_t passwordField = 44;
constexpr std::size_t databaseField = 68;
constexpr std::size_t fixedPartEnd = 72;

std::uint32_t U32At(std::span<const std::uint8_t> payload, std::size_t offset) {
    return *ByteReader(payload.subspan(offset, 4)).U32Le();
}

// A variable field's UTF-16 bytes from its offset/length pair (the length counts characters).
std::optional<std::span<const std::uint8_t>> Field(std::span<const std::uint8_t> payload,
                                                   std::size_t field) {
    ByteReader pair(payload.subspan(field, 4));
    const std::size_t offset = *pair.U16Le();
    const std::size_t bytes = 2 * static_cast<std::size_t>(*pair.U16Le());
    if (offset + bytes > payload.size())
        return std::nullopt;
    return payload.subspan(offset, bytes);
}

std::uint8_t SwapNibbles(std::uint8_t value) {
    return static_cast<std::uint8_t>((value << 4) | (value >> 4));
}

} // namespace

std::optional<Login7> ParseLogin7(std::span<const std::uint8_t> payload) {
    if (payload.size() < fixedPartEnd)
        return std::nullopt;
    const auto user = Field(payload, userNameField);
    const auto password = Field(payload, passwordField);
    const auto database = Field(payload, databaseField);
    if (!user || !password || !database)
        return std::nullopt;
    Login7 login;
    login.tdsVersion = U32At(payload, versionOffset);
    login.packetSize = U32At(payload, packetSizeOffset);
    login.extensions = (payload[optionFlags3Offset] & extensionFlag) != 0;
    login.userName = Utf16LeToUtf8(*user);
    Bytes plain(password->begin(), password->end());
    for (std::uint8_t& byte : plain)
        byte = SwapNibbles(static_cast<std::uint8_t>(byte ^ 0xA5));
    login.password = Utf16LeToUtf8(plain);
    login.database = Utf16LeToUtf8(*database);
    return login;
}

std::uint8_t ObfuscatePasswordByte(std::uint8_t plain) {
    return static_cast<std::uint8_t>(SwapNibbles(plain) ^ 0xA5);
}

} // namespace engine
