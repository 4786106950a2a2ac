// The demo's driver: the real launcher window on this computer's real components,
// clicked through by DemoDriver. It lies in the distribution directory, like the
// launcher, so that it finds the same files beside it.
#include "app/StartSequence.h"
#include "demo/DemoDriver.h"
#include "platform/HostDrives.h"
#include "platform/host/HostPlatform.h"

#include <QString>
#include <QtGlobal>

#include <iostream>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns, for every box it shows, that it cannot pass size hints on
// to a window system it does not have: nothing the demo's reader needs.
void WithoutSizeHintWarnings(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (!message.contains(QStringLiteral("propagateSizeHints")))
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: launcher-demo SCREENSHOT-FOLDER\n";
        return 2;
    }
    defaultHandler = qInstallMessageHandler(WithoutSizeHintWarnings);
    platform::HostPlatform host(argc, argv);
    const auto clientFolder =
        platform::HostDriveMap().HostPath("c:\\Program Files\\蔚檀").value_or("");
    DemoDriver driver(argv[1], clientFolder);
    driver.Start();
    return RunLauncher(host.Components());
}
