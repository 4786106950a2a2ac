#pragma once

#include "distribution/engine/Bytes.h"

#include <optional>
#include <span>

namespace engine {

// What the engine needs from a client's PRELOGIN: whether the client insists on encryption,
// which this engine does not offer.
struct PreloginRequest {
    bool encryptionRequired = false;
};

// Nothing when the option table is malformed (an option outside the payload, no terminator).
std::optional<PreloginRequest> ParsePrelogin(std::span<const std::uint8_t> payload);

// The engine's PRELOGIN answer: its version, no encryption, the instance accepted, no MARS.
Bytes PreloginResponse();

} // namespace engine
