#pragma once

#include "distribution/engine/BackupImage.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace engine {

// The restored databases, one file each in the data folder; the folder is the engine's
// whole state. Names compare case-insensitively (ASCII), as the server's collation does.
// Safe to use from every connection at once.
class DataFolder {
public:
    // Creates the folder when missing, loads the databases in it and removes temporary
    // files left by a restore that was cut off. Throws std::system_error when the folder
    // cannot be created or read.
    explicit DataFolder(std::filesystem::path directory);

    // The database's name as stored, when there is one of that name.
    std::optional<std::string> Find(const std::string& name) const;
    // Every restored database, by name.
    std::vector<std::string> Names() const;

    // Stores the image under its database name, replacing a database of that name. Atomic:
    // written to a temporary file in the folder, flushed, then renamed over the old one, so
    // a failure or crash leaves the previous state. Throws std::system_error with the
    // system's error and the path.
    void Store(const BackupImage& image);

    // The file that holds a database of this name.
    std::filesystem::path FileFor(const std::string& name) const;

private:
    std::filesystem::path m_directory;
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_names; // folded name -> stored spelling
};

} // namespace engine
