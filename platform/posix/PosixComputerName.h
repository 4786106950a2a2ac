#pragma once

#include "platform/ComputerName.h"

namespace platform {

// This computer's name as HostComputerName gives it; nothing when it has none.
class PosixComputerName : public ComputerName {
public:
    std::optional<std::string> GetComputerNameA() override;
};

} // namespace platform
