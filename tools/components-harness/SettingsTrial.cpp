#include "tools/components-harness/SettingsTrial.h"

#include "components/SettingsKit/STKAppSettingsViewController.h"
#include "components/SettingsKit/STKAppSettingsWebViewController.h"
#include "components/SettingsKit/STKNamedOperations.h"
#include "components/SettingsKit/STKSettingsStoreFile.h"
#include "components/SettingsKit/STKSpecifier.h"
#include "platform/core/FileLocations.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/NavigationController.h"

#include <ostream>

namespace zm {

SettingsTrial::SettingsTrial(std::filesystem::path bundle, HarnessStore store, std::ostream& log)
    : m_bundle(std::move(bundle))
    , m_store(store)
    , m_log(log) {
    m_changes = core::NotificationCenter::defaultCenter().addObserver(
        std::string(kAppSettingChanged), nullptr, [this](const core::Notification& notification) {
            for (const auto& entry : notification.userInfo.asDictionary()->entries())
                m_log << "kAppSettingChanged " << entry.key << " = " << entry.value.stringValue() << "\n";
        });
    // The web page row names its screen by class and initialiser; its page lies in the sample bundle.
    ui::ClassRegistry::shared().registerClass<STKAppSettingsWebViewController, ui::ViewController>(
        "STKAppSettingsWebViewController", "ViewController", [] { return STKAppSettingsWebViewController::create(); });
    STKNamedOperations::shared().addInitializer(
        "initWithFile:key:", [bundle = m_bundle](ui::ViewController& screen, const std::string& file, const std::string& key) {
            if (auto* page = dynamic_cast<STKAppSettingsWebViewController*>(&screen))
                page->initWithFile("file://" + (bundle / file).string(), key);
        });
}

std::shared_ptr<STKAppSettingsViewController> SettingsTrial::makeScreen() {
    auto screen = STKAppSettingsViewController::create();
    screen->setApplicationBundle(m_bundle);
    screen->setDelegate(weak_from_this());
    if (m_store == HarnessStore::File)
        screen->setSettingsStore(std::make_shared<STKSettingsStoreFile>(
            core::FileLocations::shared().applicationSupport / "components-harness-settings.plist"));
    return screen;
}

void SettingsTrial::settingsViewControllerDidEnd(STKAppSettingsViewController& sender) {
    m_log << "settings: done\n";
    if (ui::NavigationController* navigation = sender.navigationController())
        navigation->popViewController(true);
}

bool SettingsTrial::respondsTo(STKSettingsMessage message) const {
    return message == STKSettingsMessage::ButtonTappedForSpecifier;
}

void SettingsTrial::buttonTappedForSpecifier(STKAppSettingsViewController&, const STKSpecifier& specifier) {
    m_log << "settings: button " << specifier.key().value_or("") << "\n";
}

} // namespace zm
