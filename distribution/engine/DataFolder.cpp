#include "distribution/engine/DataFolder.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace engine {
namespace {

constexpr const char* databaseExtension = ".db";
constexpr const char* temporaryPrefix = ".restore-";

std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

[[noreturn]] void ThrowErrno(const std::string& call, const std::filesystem::path& path) {
    throw std::system_error(errno, std::generic_category(), call + " " + path.string());
}

void WriteAll(int fd, const Bytes& bytes, const std::filesystem::path& path) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            ThrowErrno("write", path);
        written += static_cast<std::size_t>(count);
    }
}

void SyncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno("open", directory);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    errno = error;
    if (result != 0)
        ThrowErrno("fsync", directory);
}

} // namespace

DataFolder::DataFolder(std::filesystem::path directory) : m_directory(std::move(directory)) {
    std::filesystem::create_directories(m_directory);
    for (const auto& entry : std::filesystem::directory_iterator(m_directory)) {
        const std::string file = entry.path().filename().string();
        if (file.starts_with(temporaryPrefix)) {
            std::filesystem::remove(entry.path());
            continue;
        }
        if (entry.path().extension() != databaseExtension || !entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A file that does not decode is not a database of ours; it stays, unlisted.
        const auto decoded = DecodeBackup(bytes);
        if (const auto* image = std::get_if<BackupImage>(&decoded))
            m_names[Folded(image->database)] = image->database;
    }
}

std::optional<std::string> DataFolder::Find(const std::string& name) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_names.find(Folded(name));
    if (found == m_names.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> DataFolder::Names() const {
    const std::lock_guard lock(m_mutex);
    std::vector<std::string> names;
    for (const auto& [folded, name] : m_names)
        names.push_back(name);
    return names;
}

std::filesystem::path DataFolder::FileFor(const std::string& name) const {
    // Percent-encoding keeps any name a single safe file name ("..", "/", NUL included).
    std::string file;
    for (const unsigned char c : Folded(name)) {
        if (std::isalnum(c) || c == '_' || c == '-') {
            file += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            file += escaped;
        }
    }
    return m_directory / (file + databaseExtension);
}

void DataFolder::Store(const BackupImage& image) {
    const Bytes bytes = EncodeBackup(image);
    const std::filesystem::path target = FileFor(image.database);
    // One restore at a time: two restores of one database must not interleave their renames
    // with the catalogue update.
    const std::lock_guard lock(m_mutex);
    std::string temporary = (m_directory / (std::string(temporaryPrefix) + "XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        ThrowErrno("mkostemp", temporary);
    try {
        WriteAll(fd, bytes, temporary);
        if (::fchmod(fd, 0644) != 0)
            ThrowErrno("fchmod", temporary);
        if (::fsync(fd) != 0)
            ThrowErrno("fsync", temporary);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        ThrowErrno("close", temporary);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        ThrowErrno("rename", target);
    }
    m_names[Folded(image.database)] = image.database;
    SyncDirectory(m_directory);
}

} // namespace engine
