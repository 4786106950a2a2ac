#include "distribution/engine/DataFolder.h"

#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

namespace engine {
namespace {

constexpr const char* databaseExtension = ".db";
// What a replace that was cut off leaves beside the file it was replacing.
constexpr const char* temporaryExtension = ".tmp";

std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

} // namespace

DataFolder::DataFolder(std::filesystem::path directory) : m_directory(std::move(directory)) {
    std::filesystem::create_directories(m_directory);
    for (const auto& entry : std::filesystem::directory_iterator(m_directory)) {
        if (entry.path().extension() == temporaryExtension) {
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
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string path = platform::Utf8String(target);
    if (!platform::ReplaceFile(path, {content}))
        throw std::system_error(errno, std::generic_category(), "replace " + path);
    m_names[Folded(image.database)] = image.database;
}

} // namespace engine
