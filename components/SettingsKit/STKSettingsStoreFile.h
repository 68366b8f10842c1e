#pragma once

#include "components/SettingsKit/STKSettingsStore.h"

#include <filesystem>

namespace zm {

// Settings kept in memory and written to one property-list file by synchronize. A file that cannot
// be read is set aside (as FILE.unreadable, numbered after the first) and the store starts empty, so
// that the first synchronize does not destroy it; one that cannot be set aside is never written.
class STKSettingsStoreFile : public STKAbstractSettingsStore {
public:
    explicit STKSettingsStoreFile(std::filesystem::path filePath);

    const std::filesystem::path& filePath() const { return m_filePath; }

    void setObject(core::Value value, std::string_view key) override;
    std::optional<core::Value> objectForKey(std::string_view key) const override;
    // Writes every value atomically; on failure the file keeps what it had.
    bool synchronize() override;

private:
    std::filesystem::path m_filePath;
    core::Dictionary m_values;
    bool m_fileMustStay = false; // unreadable and not set aside
};

} // namespace zm
