#pragma once

#include "platform/IniFile.h"

#include <memory>
#include <string>

// The state the window's handlers share. One per window rather than process-wide, so
// that each test builds its own; the launcher has exactly one window.
struct ModuleState {
    std::string ExeFileName;                       // full path of the running launcher
    std::string ProgramDir;                        // its directory, as ExtractFileDir gives it
    std::string IniFileName;                       // "hjpz.ini" beside the launcher
    std::unique_ptr<platform::TIniFile> ConfigIni; // kept until the program ends
    std::string IniSection;                        // section of the next configuration write
    std::string IniIdent;                          // key of the next configuration write
};
