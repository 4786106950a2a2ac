#include "platform/HostProcess.h"

#include <csignal>
#include <pthread.h>
#include <unistd.h>

namespace platform {
namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}

} // namespace

const char* HostSystemName() {
    return "Linux";
}

unsigned long CurrentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

void HoldStopRequests(const std::filesystem::path&) {
    // Blocked in this thread and so in every thread it starts: only sigwait receives them.
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void WaitForStopRequest() {
    const sigset_t signals = StopSignals();
    int received = 0;
    sigwait(&signals, &received);
}

} // namespace platform
