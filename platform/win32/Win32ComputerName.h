#pragma once

#include "platform/ComputerName.h"

namespace platform::win32 {

// The NetBIOS name Windows keeps for this computer, as UTF-8.
class Win32ComputerName : public ComputerName {
public:
    std::optional<std::string> GetComputerNameA() override;
};

} // namespace platform::win32
