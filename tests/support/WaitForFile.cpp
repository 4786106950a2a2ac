#include "tests/support/WaitForFile.h"

#include <thread>

namespace testing_support {

bool WaitForFile(const std::filesystem::path& file, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(file)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace testing_support
