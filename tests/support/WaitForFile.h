#pragma once

#include <chrono>
#include <filesystem>

namespace testing_support {

// Waits until the file exists, for what a started program writes; false when it still does
// not after the limit. Programs under test write such files whole, by renaming them in.
bool WaitForFile(const std::filesystem::path& file,
                 std::chrono::milliseconds limit = std::chrono::seconds(30));

} // namespace testing_support
