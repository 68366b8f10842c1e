#pragma once

#include <memory>

namespace zm {

class STKSettingsReader;
class STKSettingsStore;

// A screen of the kit that shows rows: it reads them with a settings reader and keeps their values in
// a settings store; both may be handed in.
class STKViewController {
public:
    virtual ~STKViewController() = default;

    virtual std::shared_ptr<STKSettingsReader> settingsReader() = 0;
    virtual void setSettingsReader(std::shared_ptr<STKSettingsReader> reader) = 0;
    // The store, made over the standard user defaults when none was handed in.
    virtual std::shared_ptr<STKSettingsStore> settingsStore() = 0;
    virtual void setSettingsStore(std::shared_ptr<STKSettingsStore> store) = 0;
};

// The notification every change of a setting posts, with no sender and {key: new value} as user
// information.
inline constexpr std::string_view kAppSettingChanged = "kAppSettingChanged";

} // namespace zm
