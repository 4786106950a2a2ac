#pragma once

#include <string>

namespace standin {

// Makes a folder and the folders above it that are missing. Throws std::runtime_error naming
// the folder and the system's reason.
void MakeFolder(const std::wstring& folder);

// Copies a file of the distribution into place: read whole first, so that a missing source
// leaves nothing behind, then the target's folder made and the target replaced atomically
// through a temporary file beside it. A program that runs from the old target keeps it
// until it ends only where the system allows replacing a running program (Windows does not:
// stop it first). Throws std::runtime_error naming the file and the system's reason.
void InstallFile(const std::wstring& source, const std::wstring& target);

} // namespace standin
