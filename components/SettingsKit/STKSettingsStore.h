#pragma once

#include "platform/core/Value.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zm {

// Where the settings screens keep the values of their rows: typed values under string keys. The
// screens never touch a storage mechanism themselves; an embedding program may hand them any store.
class STKSettingsStore {
public:
    virtual ~STKSettingsStore() = default;

    virtual void setBool(bool value, std::string_view key) = 0;
    virtual void setFloat(float value, std::string_view key) = 0;
    virtual void setDouble(double value, std::string_view key) = 0;
    virtual void setInteger(std::int32_t value, std::string_view key) = 0;
    virtual void setObject(core::Value value, std::string_view key) = 0;
    virtual bool boolForKey(std::string_view key) const = 0;
    virtual float floatForKey(std::string_view key) const = 0;
    virtual double doubleForKey(std::string_view key) const = 0;
    virtual std::int32_t integerForKey(std::string_view key) const = 0;
    virtual std::optional<core::Value> objectForKey(std::string_view key) const = 0;
    // Makes the values last; answers whether that worked.
    virtual bool synchronize() = 0;
};

// The base of stores that keep objects: the typed operations go through setObject and objectForKey,
// and a missing value reads as false or 0.
class STKAbstractSettingsStore : public STKSettingsStore {
public:
    void setBool(bool value, std::string_view key) override;
    void setFloat(float value, std::string_view key) override;
    void setDouble(double value, std::string_view key) override;
    void setInteger(std::int32_t value, std::string_view key) override;
    bool boolForKey(std::string_view key) const override;
    float floatForKey(std::string_view key) const override;
    double doubleForKey(std::string_view key) const override;
    std::int32_t integerForKey(std::string_view key) const override;
    // Keeps nothing: answers false.
    bool synchronize() override;
};

} // namespace zm
