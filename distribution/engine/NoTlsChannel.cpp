// The engine where no TLS library is built for the host: it offers no encryption, which
// clients accept unless they require it, and refuses a certificate it could not use.
#include "distribution/engine/TlsChannel.h"

#include <stdexcept>

namespace engine {

struct TlsCredentials::Context {};
struct TlsChannel::Session {};

TlsCredentials::TlsCredentials(const std::string& certificateFile, const std::string&) {
    throw std::runtime_error("cannot use " + certificateFile +
                             ": this engine is built without TLS");
}

TlsCredentials::~TlsCredentials() = default;

// Without credentials no channel is ever made; these only complete the type.
TlsChannel::TlsChannel(const TlsCredentials&) {}
TlsChannel::~TlsChannel() = default;

TlsChannel::Progress TlsChannel::Handshake(std::span<const std::uint8_t>) {
    return Progress::Failed;
}

bool TlsChannel::Decrypt(std::span<const std::uint8_t>, Bytes&) {
    return false;
}

std::optional<Bytes> TlsChannel::Encrypt(std::span<const std::uint8_t>) {
    return std::nullopt;
}

Bytes TlsChannel::TakeOutgoing() {
    return {};
}

} // namespace engine
