#pragma once

#include <string>

namespace standin {

// Folders as Windows names them to every program; each throws std::runtime_error when it
// cannot be found.
std::wstring ProgramFilesFolder(); // %ProgramFiles%
std::wstring TemporaryFolder();    // %TEMP%, as GetTempPathW finds it, without the last '\'
std::wstring OwnFolder();          // the folder this program's file lies in

// The instance "home" of the engine: "<ProgramFiles>\Database Engine\home".
std::wstring InstanceFolder();

} // namespace standin
