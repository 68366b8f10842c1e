#pragma once

#include "components/SettingsKit/STKSettingsStore.h"

#include <memory>

namespace core {
class UserDefaults;
}

namespace zm {

// Settings in a user-defaults database (the program's standard one unless given another).
class STKSettingsStoreUserDefaults : public STKSettingsStore {
public:
    STKSettingsStoreUserDefaults();
    explicit STKSettingsStoreUserDefaults(std::shared_ptr<core::UserDefaults> defaults);

    // The given database, or the standard one of the moment.
    core::UserDefaults& defaults() const;

    void setBool(bool value, std::string_view key) override;
    void setFloat(float value, std::string_view key) override;
    void setDouble(double value, std::string_view key) override;
    void setInteger(std::int32_t value, std::string_view key) override;
    void setObject(core::Value value, std::string_view key) override;
    bool boolForKey(std::string_view key) const override;
    float floatForKey(std::string_view key) const override;
    double doubleForKey(std::string_view key) const override;
    std::int32_t integerForKey(std::string_view key) const override;
    std::optional<core::Value> objectForKey(std::string_view key) const override;
    bool synchronize() override;

private:
    std::shared_ptr<core::UserDefaults> m_defaults; // null: the standard database
};

} // namespace zm
