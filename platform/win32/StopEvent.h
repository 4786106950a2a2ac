#pragma once

#include <string>

namespace platform::win32 {

// The name of the event that asks the engine serving a data folder to stop. Every spelling
// of the folder (relative, either slash, any case, a trailing separator) gives the same
// name. The engine holds the event while it runs, so the event exists exactly as long as
// that engine does.
std::wstring StopEventName(const std::wstring& dataFolder);

} // namespace platform::win32
