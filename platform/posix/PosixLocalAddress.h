#pragma once

#include "platform/LocalAddress.h"

namespace platform {

// Resolves this computer's own name, as HostComputerName gives it, and gives the first
// IPv4 address in the resolver's order; raises when the computer has no name.
class PosixLocalAddress final : public LocalAddress {
public:
    std::string LocalIP() override;
};

} // namespace platform
