#pragma once

#include <optional>
#include <string>

namespace platform {

// This computer's name, as the launcher, its local address and the engine all see it. On
// Windows the name the system keeps. On POSIX COMPUTERNAME as it stands when it is set and
// not empty (Windows sets it), otherwise the Windows computer name of the host name; nothing
// when neither gives a name: COMPUTERNAME unset or empty and gethostname failing or giving
// no usable name.
std::optional<std::string> HostComputerName();

} // namespace platform
