#pragma once

#include "platform/ComputerName.h"

namespace platform {

// COMPUTERNAME when set, as Windows sets it; otherwise the host name's first label in
// upper case, at most 15 characters, as Windows derives its computer name.
class PosixComputerName : public ComputerName {
public:
    std::optional<std::string> GetComputerNameA() override;
};

} // namespace platform
