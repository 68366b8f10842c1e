#include "shell/info/InfoViewController.h"

#include "platform/core/Localization.h"
#include "platform/core/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShareSheet.h"
#include "platform/ui/UrlOpener.h"
#include "shell/container/ContainerViewController.h"
#include "shell/info/InfoAddresses.h"
#include "shell/info/LicensesViewController.h"
#include "shell/info/MoreAppsViewController.h"
#include "shell/screens/ScreenFactory.h"
#include "shell/topics/TopicIdentifiers.h"
#include "shell/topics/TopicStatsDataController.h"

namespace zm {

namespace {

// The button area's first content size, until the first layout pass sets the device's.
constexpr float kLoadedContentHeight = 420;

// The fade of the button area's top and bottom edges: transparent at the edge, opaque a tenth in.
const std::vector<float> kMaskLocations{0, 0.1f, 0.9f, 1};

} // namespace

std::shared_ptr<InfoViewController> InfoViewController::spawnFromStoryboard() {
    return zm::spawnFromStoryboard<InfoViewController>("InfoStoryboard");
}

std::shared_ptr<InfoViewController> InfoViewController::create() {
    return std::shared_ptr<InfoViewController>(new InfoViewController);
}

InfoViewController::InfoViewController() = default;

void InfoViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("homeButton", m_homeButton);
    outlets.weak("scrollView", m_scrollView);
    outlets.strong("backgroundImageView", m_backgroundImageView);
    outlets.strong("scrollViewContainer", m_scrollViewContainer);
    TopicViewController::connectOutlets(outlets);
}

std::function<void()> InfoViewController::actionNamed(std::string_view name) {
    const std::pair<std::string_view, void (InfoViewController::*)()> actions[] = {
        {"hitEmail:", &InfoViewController::hitEmail},
        {"hitSubscribe:", &InfoViewController::hitSubscribe},
        {"hitShare:", &InfoViewController::hitShare},
        {"hitMoreApps:", &InfoViewController::hitMoreApps},
        {"hitRate:", &InfoViewController::hitRate},
        {"hitWebsite:", &InfoViewController::hitWebsite},
        {"hitDone:", &InfoViewController::hitDone},
        {"hitResetProgress:", &InfoViewController::hitResetProgress},
        {"hitLicenses:", &InfoViewController::hitLicenses},
    };
    for (const auto& [actionName, action] : actions) {
        if (actionName == name)
            return [this, method = action] { (this->*method)(); };
    }
    return TopicViewController::actionNamed(name);
}

void InfoViewController::viewDidLoad() {
    TopicViewController::viewDidLoad();
    // The background as it is now; it does not follow later changes.
    if (const std::shared_ptr<ContainerViewController> container = containerVC()) {
        if (m_backgroundImageView)
            m_backgroundImageView->setImage(container->bigBlurBackgroundImage());
    }
    if (const std::shared_ptr<ui::ScrollView> scroll = scrollView()) {
        const float width = m_scrollViewContainer ? m_scrollViewContainer->bounds().width() : 0;
        scroll->setContentSize({width, kLoadedContentHeight});
    }
    if (const std::shared_ptr<ui::Button> home = homeButton())
        home->setTitle(core::localized("Topics"));
}

void InfoViewController::viewDidLayoutSubviews() {
    TopicViewController::viewDidLayoutSubviews();
    if (const std::shared_ptr<ui::ScrollView> scroll = scrollView())
        scroll->setContentSize(ui::Device::current().isTablet() ? kTabletContentSize : kPhoneContentSize);
}

void InfoViewController::viewDidAppear(bool animated) {
    TopicViewController::viewDidAppear(animated);
    if (m_maskLayer || ui::Device::current().isTablet() || !m_scrollViewContainer)
        return;
    const core::Color opaque = core::Color::white();
    const core::Color clear = opaque.withAlpha(0);
    m_maskLayer = ui::GradientLayer::create();
    m_maskLayer->setColors({clear, opaque, opaque, clear});
    m_maskLayer->setLocations(kMaskLocations);
    const core::Rect frame = m_scrollViewContainer->frame();
    m_maskLayer->setBounds({0, 0, frame.width(), frame.height()});
    m_maskLayer->setAnchorPoint({0, 0});
    m_scrollViewContainer->layer().setMask(m_maskLayer);
}

void InfoViewController::hitEmail() {
    const std::shared_ptr<ui::MailComposer> composer = ui::MailComposer::create();
    composer->setDelegate(std::static_pointer_cast<InfoViewController>(shared_from_this()));
    composer->setToRecipients({InfoAddresses::shared().feedbackEmail});
    composer->setSubject(std::string(kFeedbackSubject));
    if (ui::MailComposer::canSendMail())
        presentViewController(composer, true);
}

void InfoViewController::mailComposerDidFinish(ui::MailComposer&, ui::MailComposeResult,
                                               const std::optional<core::Error>&) {
    dismissViewController(true);
}

void InfoViewController::pushWebPage(std::string url) {
    std::shared_ptr<MoreAppsViewController> page = MoreAppsViewController::spawnFromStoryboard();
    const std::shared_ptr<ContainerViewController> container = containerVC();
    if (!page || !container)
        return;
    page->setUrlString(std::move(url));
    container->pushTopicVC(std::move(page));
}

void InfoViewController::hitSubscribe() {
    pushWebPage(InfoAddresses::shared().mailingListPage());
}

void InfoViewController::hitMoreApps() {
    pushWebPage(InfoAddresses::shared().moreAppsPage());
}

std::string InfoViewController::shareText() {
    return core::localized("Zembrix: " + InfoAddresses::shared().storePage());
}

void InfoViewController::hitShare() {
    presentViewController(ui::ShareSheet::create(shareText()), true);
}

void InfoViewController::hitRate() {
    ui::UrlOpener::shared().open(InfoAddresses::shared().storePage());
}

void InfoViewController::hitWebsite() {
    ui::UrlOpener::shared().open(InfoAddresses::shared().homePage());
}

void InfoViewController::hitDone() {
    if (const std::shared_ptr<ContainerViewController> container = containerVC())
        container->goHome();
}

void InfoViewController::hitResetProgress() {
    core::UserDefaults& defaults = core::UserDefaults::standard();
    defaults.removeObject(AlgebraTopicState);
    TopicStatsDataController::sharedInstance().resetProgress();
    defaults.synchronize();
    ui::AlertView::create(std::string(kResetTitle), std::string(kResetMessage), {}, std::string(kResetButton))
        ->show();
}

void InfoViewController::hitLicenses() {
    presentViewController(LicensesViewController::create(), true);
}

} // namespace zm
