#include "components/SettingsKit/STKSettingsStore.h"

namespace zm {

void STKAbstractSettingsStore::setBool(bool value, std::string_view key) {
    setObject(value, key);
}

void STKAbstractSettingsStore::setFloat(float value, std::string_view key) {
    setObject(value, key);
}

void STKAbstractSettingsStore::setDouble(double value, std::string_view key) {
    setObject(value, key);
}

void STKAbstractSettingsStore::setInteger(std::int32_t value, std::string_view key) {
    setObject(value, key);
}

bool STKAbstractSettingsStore::boolForKey(std::string_view key) const {
    const std::optional<core::Value> value = objectForKey(key);
    return value && value->boolValue();
}

float STKAbstractSettingsStore::floatForKey(std::string_view key) const {
    const std::optional<core::Value> value = objectForKey(key);
    return value ? value->floatValue() : 0;
}

double STKAbstractSettingsStore::doubleForKey(std::string_view key) const {
    const std::optional<core::Value> value = objectForKey(key);
    return value ? value->doubleValue() : 0;
}

std::int32_t STKAbstractSettingsStore::integerForKey(std::string_view key) const {
    const std::optional<core::Value> value = objectForKey(key);
    return value ? value->intValue() : 0;
}

bool STKAbstractSettingsStore::synchronize() {
    return false;
}

} // namespace zm
