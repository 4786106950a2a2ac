#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace engine {

// The parts of a LOGIN7 request the engine acts on.
struct Login7 {
    std::uint32_t tdsVersion = 0;
    std::uint32_t packetSize = 0;
    std::string userName;
    std::string password;    // de-obfuscated
    std::string database;    // empty: the login's default
    bool extensions = false; // the client lists features it would use (TDS 7.4)
};

// Nothing when the request is shorter than its fixed part or a field lies outside it.
std::optional<Login7> ParseLogin7(std::span<const std::uint8_t> payload);

// The client's reversible scrambling of the password: each byte's nibbles swapped, then
// XOR 0xA5. Tests and benchmarks build requests with it.
std::uint8_t ObfuscatePasswordByte(std::uint8_t plain);

} // namespace engine
