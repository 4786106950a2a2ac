#include "distribution/engine/Commands.h"

#include "distribution/engine/BackupDevice.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace engine {
namespace {

constexpr std::uint16_t selectCommand = 0xC1;
constexpr std::size_t pageSize = 8192;
// The log of a freshly restored database: a couple of pages, as a small database has.
constexpr std::uint64_t logPages = 2;

ServerMessage RestoreTerminated() {
    return {3013, 1, 16, "RESTORE DATABASE is terminating abnormally."};
}

bool SameName(const std::string& left, const std::string& right) {
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(left[i])) !=
            std::tolower(static_cast<unsigned char>(right[i])))
            return false;
    return true;
}

std::string Fixed3(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

} // namespace

CommandRunner::Outcome CommandRunner::Run(const Statement& statement, std::string& database,
                                          TokenWriter& out) {
    if (const auto* restore = std::get_if<RestoreStatement>(&statement))
        return Restore(*restore, out);
    if (std::holds_alternative<ListDatabasesStatement>(statement))
        return ListDatabases(out);
    if (std::holds_alternative<VersionStatement>(statement))
        return Version(out);
    return Use(std::get<UseStatement>(statement), database, out);
}

std::optional<std::string> CommandRunner::FindDatabase(const std::string& name) const {
    for (const char* system : systemDatabases)
        if (SameName(name, system))
            return system;
    return m_data.Find(name);
}

CommandRunner::Outcome CommandRunner::Restore(const RestoreStatement& restore, TokenWriter& out) {
    const auto started = std::chrono::steady_clock::now();
    auto fail = [&](ServerMessage message) {
        out.Message(message);
        out.Message(RestoreTerminated());
        return Outcome{doneError};
    };
    auto cannotOpen = [&](WindowsError error) {
        return fail({3201, 2, 16,
                     "Cannot open backup device '" + restore.disk + "'. Operating system error " +
                         WindowsErrorText(error) + "."});
    };

    // A path on no mapped drive is what Windows reports for a missing drive: path not found.
    const auto hostPath = m_drives.HostPath(restore.disk);
    if (!hostPath)
        return cannotOpen({3});
    const auto read = ReadBackupDevice(*hostPath);
    if (const auto* error = std::get_if<WindowsError>(&read))
        return cannotOpen(*error);
    const auto decoded = DecodeBackup(std::get<Bytes>(read));
    if (const auto* defect = std::get_if<BackupDefect>(&decoded)) {
        if (*defect == BackupDefect::NotABackup)
            return fail(
                {3241, 0, 16,
                 "The media family on device '" + restore.disk +
                     "' is incorrectly formed. SQL Server cannot process this media family."});
        return fail({3189, 1, 16, "Damage to the backup set was detected."});
    }
    const BackupImage& backup = std::get<BackupImage>(decoded);

    for (const char* system : systemDatabases)
        if (SameName(restore.database, system))
            return fail({3108, 1, 16,
                         "The system database '" + std::string(system) +
                             "' cannot be restored on this server."});
    // Restoring over a database that holds another database's data would lose it.
    if (m_data.Find(restore.database) && !SameName(backup.database, restore.database))
        return fail({3154, 4, 16,
                     "The backup set holds a backup of a database other than the existing '" +
                         restore.database + "' database."});

    try {
        m_data.Store({restore.database, backup.content});
    } catch (const std::system_error& error) {
        return fail({3634, 1, 16,
                     "The operating system returned the error '" + error.code().message() +
                         "' while attempting 'RestoreContainer' on '" + restore.database + "'."});
    }

    const std::uint64_t dataPages = (backup.content.size() + pageSize - 1) / pageSize + 1;
    out.Message({4035, 1, 0,
                 "Processed " + std::to_string(dataPages) + " pages for database '" +
                     restore.database + "', file '" + restore.database + "' on file 1."});
    out.Message({4035, 1, 0,
                 "Processed " + std::to_string(logPages) + " pages for database '" +
                     restore.database + "', file '" + restore.database + "_log' on file 1."});
    const double seconds = std::max(
        0.001, std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    const double megabytesPerSecond =
        static_cast<double>((dataPages + logPages) * pageSize) / 1048576.0 / seconds;
    out.Message({3014, 1, 0,
                 "RESTORE DATABASE successfully processed " + std::to_string(dataPages + logPages) +
                     " pages in " + Fixed3(seconds) + " seconds (" + Fixed3(megabytesPerSecond) +
                     " MB/sec)."});
    return {};
}

CommandRunner::Outcome CommandRunner::ListDatabases(TokenWriter& out) const {
    std::vector<std::string> names(std::begin(systemDatabases), std::end(systemDatabases));
    for (const std::string& name : m_data.Names())
        names.push_back(name);
    out.Columns({"name"}, 128);
    for (const std::string& name : names)
        out.Row({name});
    return {doneCount, selectCommand, names.size()};
}

CommandRunner::Outcome CommandRunner::Version(TokenWriter& out) const {
    out.Columns({""}, 300);
    out.Row({m_versionText});
    return {doneCount, selectCommand, 1};
}

CommandRunner::Outcome CommandRunner::Use(const UseStatement& use, std::string& database,
                                          TokenWriter& out) const {
    const auto found = FindDatabase(use.database);
    if (!found) {
        out.Message({911, 1, 16,
                     "Database '" + use.database +
                         "' does not exist. Make sure that the name is entered correctly."});
        return {doneError};
    }
    out.EnvChange(EnvChangeType::Database, *found, database);
    out.Message({5701, 1, 0, "Changed database context to '" + *found + "'."});
    database = *found;
    return {};
}

} // namespace engine
