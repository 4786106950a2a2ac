#pragma once

#include "distribution/engine/Bytes.h"

#include <span>

namespace engine {

// Whether a client's PRELOGIN option table is well formed: every option inside the payload,
// a terminator at the end of the table. The options themselves change nothing: the answer
// is the same for every client, and one that insists on encryption hangs up on it.
bool ValidPrelogin(std::span<const std::uint8_t> payload);

// The engine's PRELOGIN answer: its version, no encryption, the instance accepted, no MARS.
Bytes PreloginResponse();

} // namespace engine
