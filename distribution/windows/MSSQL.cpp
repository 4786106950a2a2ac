// The database engine's setup: installs the engine as the instance "home" with the login
// "sa" under Program Files, and starts it. Running it again keeps the data and leaves an
// engine that already runs alone. Runs hidden: what goes wrong is written to the instance's
// setup log, and the exit code is not 0.
#include "distribution/windows/EngineControl.h"
#include "distribution/windows/InstallFiles.h"
#include "distribution/windows/SetupLog.h"
#include "distribution/windows/StandInFolders.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using platform::win32::Narrow;
    std::wstring instance;
    try {
        instance = standin::InstanceFolder();
        standin::MakeFolder(instance + L"\\data");
    } catch (const std::exception&) {
        return 2; // no folder to log into
    }
    const standin::SetupLog log(instance + L"\\setup.log");
    try {
        const std::wstring distribution = standin::OwnFolder();
        log.Write("setup from " + Narrow(distribution));
        const standin::EngineControl control(instance);
        // Windows refuses to replace the file of a running program: a running engine keeps
        // its own, as it is left alone.
        if (control.Running()) {
            log.Write("the engine is running already");
            return 0;
        }
        standin::InstallFiles(
            {{distribution + L"\\engine\\tdsengine.exe", instance + L"\\bin\\tdsengine.exe"},
             {distribution + L"\\engine\\enginectl.exe", instance + L"\\bin\\enginectl.exe"}});
        control.Start();
        log.Write("the engine started");
        return 0;
    } catch (const std::exception& error) {
        log.Write(error.what());
        return 1;
    }
}
