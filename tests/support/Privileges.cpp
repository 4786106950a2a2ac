#include "tests/support/Privileges.h"

#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {
namespace {

constexpr unsigned overridingCapabilities =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool SetEffective(bool withOverrides) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const bool hadThem = (data[0].effective & overridingCapabilities) != 0;
    if (withOverrides)
        data[0].effective |= data[0].permitted & overridingCapabilities;
    else
        data[0].effective &= ~overridingCapabilities;
    if (syscall(SYS_capset, &header, data) != 0)
        throw std::runtime_error("capset failed");
    return hadThem;
}

} // namespace

FilePermissionsEnforced::FilePermissionsEnforced() : m_dropped(SetEffective(false)) {}

FilePermissionsEnforced::~FilePermissionsEnforced() {
    if (m_dropped)
        SetEffective(true);
}

} // namespace testing_support
