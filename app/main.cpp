#include "app/StartSequence.h"
#include "platform/host/HostPlatform.h"

int main(int argc, char** argv) {
    platform::HostPlatform host(argc, argv);
    return RunLauncher(host.Components());
}
