#include "platform/posix/PosixClock.h"

#include <chrono>
#include <thread>

namespace platform {

void PosixClock::Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
