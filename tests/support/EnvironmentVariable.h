#pragma once

#include <optional>
#include <string>

namespace testing_support {

// Sets an environment variable for one scope and puts back what was there before.
class EnvironmentVariable {
public:
    EnvironmentVariable(std::string name, const std::string& value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace testing_support
