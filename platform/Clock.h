#pragma once

namespace platform {

// Fixed waits on the calling thread.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(unsigned milliseconds) = 0;
};

} // namespace platform
