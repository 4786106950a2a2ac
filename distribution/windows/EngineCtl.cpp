// Starts or stops the engine of the instance whose "bin" folder holds this program:
// "enginectl start" starts it when it is not running, "enginectl stop" stops it when it is.
// Runs hidden: what goes wrong is written to the instance's setup log, and the exit code is
// not 0.
#include "distribution/windows/EngineControl.h"
#include "distribution/windows/SetupLog.h"
#include "distribution/windows/StandInFolders.h"
#include "platform/HostProcess.h"

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring instance;
    try {
        const std::wstring bin = standin::OwnFolder();
        instance = bin.substr(0, bin.find_last_of(L'\\'));
    } catch (const std::exception&) {
        return 2;
    }
    const standin::SetupLog log(instance + L"\\setup.log");
    const std::vector<std::string> arguments = platform::CommandLineArguments(0, nullptr);
    const std::string command = arguments.size() == 1 ? arguments[0] : "";
    try {
        if (command == "start") {
            const bool started =
                standin::EngineControl(instance).Start() == standin::StartOutcome::Started;
            log.Write(started ? "the engine started" : "the engine is running already");
        } else if (command == "stop") {
            const bool stopped =
                standin::EngineControl(instance).Stop() == standin::StopOutcome::Stopped;
            log.Write(stopped ? "the engine stopped" : "the engine was not running");
        } else {
            log.Write("enginectl: usage: enginectl start|stop");
            return 2;
        }
        return 0;
    } catch (const std::exception& error) {
        log.Write(error.what());
        return 1;
    }
}
