#pragma once

#include "platform/ProfileFileStore.h"

namespace platform::win32 {

// The profile file on a real Windows path, converted with code page 936 and replaced whole
// through a flushed temporary file. A read-only file fails every operation.
class Win32ProfileStore : public ProfileFileStore {
public:
    Win32ProfileStore();

private:
    bool Apply(const std::string& file, const Edit& edit) const override;
};

} // namespace platform::win32
