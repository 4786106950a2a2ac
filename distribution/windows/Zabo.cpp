// The client's setup: installs the client into "<ProgramFiles>\蔚檀", the folder that the
// launcher's configuration step copies "hjpz.ini" into. Runs hidden: what goes wrong is
// written to "zabo-setup.log" in the temporary folder, and the exit code is not 0.
#include "distribution/windows/InstallFiles.h"
#include "distribution/windows/SetupLog.h"
#include "distribution/windows/StandInFolders.h"

#include <windows.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring logFile;
    try {
        logFile = standin::TemporaryFolder() + L"\\zabo-setup.log";
    } catch (const std::exception&) {
        return 2;
    }
    const standin::SetupLog log(logFile);
    try {
        standin::InstallFiles({{standin::OwnFolder() + L"\\client\\zabo.bat",
                                standin::ProgramFilesFolder() + L"\\蔚檀\\zabo.bat"}});
        log.Write("the client is installed");
        return 0;
    } catch (const std::exception& error) {
        log.Write(error.what());
        return 1;
    }
}
