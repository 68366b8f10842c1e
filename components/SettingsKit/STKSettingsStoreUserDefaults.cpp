#include "components/SettingsKit/STKSettingsStoreUserDefaults.h"

#include "platform/core/UserDefaults.h"

#include <algorithm>
#include <limits>

namespace zm {

STKSettingsStoreUserDefaults::STKSettingsStoreUserDefaults() = default;

STKSettingsStoreUserDefaults::STKSettingsStoreUserDefaults(std::shared_ptr<core::UserDefaults> defaults)
    : m_defaults(std::move(defaults)) {}

core::UserDefaults& STKSettingsStoreUserDefaults::defaults() const {
    return m_defaults ? *m_defaults : core::UserDefaults::standard();
}

void STKSettingsStoreUserDefaults::setBool(bool value, std::string_view key) {
    defaults().setBool(value, key);
}
void STKSettingsStoreUserDefaults::setFloat(float value, std::string_view key) {
    defaults().setFloat(value, key);
}
void STKSettingsStoreUserDefaults::setDouble(double value, std::string_view key) {
    defaults().setDouble(value, key);
}
void STKSettingsStoreUserDefaults::setInteger(std::int32_t value, std::string_view key) {
    defaults().setInteger(value, key);
}
void STKSettingsStoreUserDefaults::setObject(core::Value value, std::string_view key) {
    defaults().setObject(std::move(value), key);
}
bool STKSettingsStoreUserDefaults::boolForKey(std::string_view key) const {
    return defaults().boolForKey(key);
}
float STKSettingsStoreUserDefaults::floatForKey(std::string_view key) const {
    return defaults().floatForKey(key);
}
double STKSettingsStoreUserDefaults::doubleForKey(std::string_view key) const {
    return defaults().doubleForKey(key);
}
std::int32_t STKSettingsStoreUserDefaults::integerForKey(std::string_view key) const {
    return std::int32_t(std::clamp<std::int64_t>(defaults().integerForKey(key), std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}
std::optional<core::Value> STKSettingsStoreUserDefaults::objectForKey(std::string_view key) const {
    return defaults().objectForKey(key);
}
bool STKSettingsStoreUserDefaults::synchronize() {
    return defaults().synchronize();
}

} // namespace zm
