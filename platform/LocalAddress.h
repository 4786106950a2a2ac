#pragma once

#include <string>

namespace platform {

class LocalAddress {
public:
    virtual ~LocalAddress() = default;
    // The first IPv4 address that resolving this computer's own name yields, dotted
    // decimal; raises an Exception when the name does not resolve.
    virtual std::string LocalIP() = 0;
};

} // namespace platform
