#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// A fresh directory under the system's temporary folder, removed with everything in it
// when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes bytes to a file below the directory, creating parent folders.
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const;
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path m_path;
};

} // namespace testing_support
