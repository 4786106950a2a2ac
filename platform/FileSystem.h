#pragma once

#include <string>

namespace platform {

enum class CopyOutcome { Copied, DestinationExists, Failed };

struct CopyResult {
    CopyOutcome outcome;
    std::string reason; // the system's words when the copy failed
};

// The current directory and file copies, on Windows paths.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Changes the process's current directory; raises EInOutError with the Windows code.
    virtual void ChDir(const std::string& directory) = 0;

    // Copies a file (a relative source resolves in the current directory) unless the
    // destination exists already, in which case it is left untouched.
    virtual CopyResult CopyFileFailIfExists(const std::string& source,
                                            const std::string& destination) = 0;
};

} // namespace platform
