#pragma once

#include <optional>
#include <string>

namespace platform {

class ComputerName {
public:
    virtual ~ComputerName() = default;
    // This computer's name, or nothing when the query fails.
    virtual std::optional<std::string> GetComputerNameA() = 0;
};

} // namespace platform
