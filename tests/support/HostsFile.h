#pragma once

#include <string>

namespace testing_support {

// Whether /etc/hosts maps the name to a loopback address, so that resolving it sends no
// query off this computer. Tests that resolve a name skip where it does not.
bool HostsFileMapsToLoopback(const std::string& name);

} // namespace testing_support
