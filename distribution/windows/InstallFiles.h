#pragma once

#include <initializer_list>
#include <string>

namespace standin {

// Makes a folder and the folders above it that are missing. Throws std::runtime_error naming
// the folder and the system's reason.
void MakeFolder(const std::wstring& folder);

struct FileToInstall {
    std::wstring source;
    std::wstring target;
};

// Copies files of the distribution into place: every source read whole first, so that a
// missing one leaves nothing behind; then each target's folder made and the target replaced
// atomically through a temporary file beside it. Windows refuses to replace the file of a
// running program: stop it first. Throws std::runtime_error naming the file and the
// system's reason.
void InstallFiles(std::initializer_list<FileToInstall> files);

} // namespace standin
