#pragma once

#include "platform/LocalAddress.h"

namespace platform::win32 {

// The first IPv4 address of the host's own name, through Winsock.
class Win32LocalAddress : public LocalAddress {
public:
    std::string LocalIP() override;
};

} // namespace platform::win32
