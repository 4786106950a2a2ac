#pragma once

#include "platform/LocalAddress.h"

namespace platform {

// Resolves this computer's own name, $COMPUTERNAME when it is set and not empty, else the
// host name, and gives the first IPv4 address in the resolver's order.
class PosixLocalAddress final : public LocalAddress {
public:
    std::string LocalIP() override;
};

} // namespace platform
