#pragma once

#include "distribution/engine/DataFolder.h"
#include "distribution/engine/Statement.h"
#include "distribution/engine/Tokens.h"
#include "platform/DriveMap.h"

#include <cstdint>
#include <string>

namespace engine {

// The databases every server has; they are listed but never restored.
inline constexpr const char* systemDatabases[] = {"master", "tempdb", "model", "msdb"};

// Runs the statements of logged-in sessions against the data folder, writing their
// messages and rows. Backup paths in statements are Windows paths, mapped to host paths
// through the drive map.
class CommandRunner {
public:
    CommandRunner(DataFolder& data, platform::DriveMap drives, std::string versionText)
        : m_data(data), m_drives(std::move(drives)), m_versionText(std::move(versionText)) {}

    // What the statement's DONE token reports.
    struct Outcome {
        std::uint16_t status = 0; // doneError, doneCount
        std::uint16_t command = 0;
        std::uint64_t rows = 0;
    };

    // Runs one statement; `database` is the session's current database, changed by USE.
    Outcome Run(const Statement& statement, std::string& database, TokenWriter& out);

    // Whether a database of this name exists, system or restored; its stored spelling.
    std::optional<std::string> FindDatabase(const std::string& name) const;

private:
    Outcome Restore(const RestoreStatement& restore, TokenWriter& out);
    Outcome ListDatabases(TokenWriter& out) const;
    Outcome Version(TokenWriter& out) const;
    Outcome Use(const UseStatement& use, std::string& database, TokenWriter& out) const;

    DataFolder& m_data;
    platform::DriveMap m_drives;
    std::string m_versionText;
};

} // namespace engine
