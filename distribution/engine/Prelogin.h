#pragma once

#include "distribution/engine/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>

namespace engine {

// The values of the PRELOGIN encryption option.
enum class Encryption : std::uint8_t { Off = 0, On = 1, NotSupported = 2, Required = 3 };

// What a client's PRELOGIN asks for (encryption NotSupported when it does not say), or
// nothing when its option table is malformed: an option outside the payload, or no
// terminator at the end of the table.
std::optional<Encryption> ParsePrelogin(std::span<const std::uint8_t> payload);

// How the connection is encrypted, as a server with a certificate agrees it with a client
// asking for `requested`: the login only (Off), everything (On), or nothing. Without a
// certificate, nothing; a client that requires encryption then hangs up.
Encryption AgreeEncryption(Encryption requested, bool certificate);

// The engine's PRELOGIN answer: its version, the agreed encryption, the instance accepted,
// no MARS.
Bytes PreloginResponse(Encryption encryption);

} // namespace engine
