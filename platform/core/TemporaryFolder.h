#pragma once

#include <filesystem>

namespace core {

// A new empty folder under the system's temporary folder, removed with everything in it when the
// object goes away. Tests use it in place of the user's real folders.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace core
