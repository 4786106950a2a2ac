#include "tests/support/EnvironmentVariable.h"

#include <cstdlib>

namespace testing_support {

EnvironmentVariable::EnvironmentVariable(std::string name, const std::string& value)
    : m_name(std::move(name)) {
    if (const char* old = std::getenv(m_name.c_str()))
        m_old = old;
    ::setenv(m_name.c_str(), value.c_str(), 1);
}

EnvironmentVariable::~EnvironmentVariable() {
    if (m_old)
        ::setenv(m_name.c_str(), m_old->c_str(), 1);
    else
        ::unsetenv(m_name.c_str());
}

} // namespace testing_support
