#pragma once

#include "components/SettingsKit/STKSettingsDelegate.h"
#include "platform/core/NotificationCenter.h"

#include <filesystem>
#include <iosfwd>
#include <memory>

namespace zm {

class STKAppSettingsViewController;

// Which store the harness's settings screen keeps its values in.
enum class HarnessStore { UserDefaults, File };

// The settings screen on trial: the sample settings bundle, the chosen store (a file under the data
// root, or the user defaults), and a log of every change, button and Done.
class SettingsTrial : public STKSettingsDelegate, public std::enable_shared_from_this<SettingsTrial> {
public:
    SettingsTrial(std::filesystem::path bundle, HarnessStore store, std::ostream& log);

    // A new settings screen over the sample bundle, with this trial as its delegate.
    std::shared_ptr<STKAppSettingsViewController> makeScreen();

    void settingsViewControllerDidEnd(STKAppSettingsViewController& sender) override;
    bool respondsTo(STKSettingsMessage message) const override;
    void buttonTappedForSpecifier(STKAppSettingsViewController& sender, const STKSpecifier& specifier) override;

private:
    std::filesystem::path m_bundle;
    HarnessStore m_store;
    std::ostream& m_log;
    core::NotificationCenter::Observation m_changes;
};

} // namespace zm
