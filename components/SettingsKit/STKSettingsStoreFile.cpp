#include "components/SettingsKit/STKSettingsStoreFile.h"

#include "platform/core/DictionaryFile.h"
#include "platform/core/Log.h"

namespace zm {

STKSettingsStoreFile::STKSettingsStoreFile(std::filesystem::path filePath)
    : m_filePath(std::move(filePath)) {
    core::DictionaryFileContent content = core::readDictionaryFile(m_filePath, "settings store");
    m_values = std::move(content.values);
    m_fileMustStay = content.mustNotWrite;
}

void STKSettingsStoreFile::setObject(core::Value value, std::string_view key) {
    m_values.set(std::string(key), std::move(value));
}

std::optional<core::Value> STKSettingsStoreFile::objectForKey(std::string_view key) const {
    const core::Value* value = m_values.find(key);
    return value ? std::optional(*value) : std::nullopt;
}

bool STKSettingsStoreFile::synchronize() {
    if (m_fileMustStay) {
        core::logf(core::LogLevel::Error, "settings store: cannot save %s: it could not be read nor set aside",
                   m_filePath.c_str());
        return false;
    }
    if (const core::Status written = core::writeDictionaryFile(m_filePath, m_values); !written) {
        core::logf(core::LogLevel::Error, "settings store: cannot save %s: %s", m_filePath.c_str(),
                   written.error().description.c_str());
        return false;
    }
    return true;
}

} // namespace zm
