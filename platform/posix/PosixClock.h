#pragma once

#include "platform/Clock.h"

namespace platform {

// Blocks the calling thread, so a wait on the UI thread holds the whole window.
class PosixClock : public Clock {
public:
    void Sleep(unsigned milliseconds) override;
};

} // namespace platform
