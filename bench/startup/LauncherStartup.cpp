// The launcher's real start sequence over the host's components, ended at first paint.
#include "FirstPaint.h"
#include "app/StartSequence.h"
#include "platform/host/HostPlatform.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    platform::HostPlatform host(argc, argv);
    FirstPaint firstPaint;
    QCoreApplication::instance()->installEventFilter(&firstPaint);
    return RunLauncher(host.Components());
}
