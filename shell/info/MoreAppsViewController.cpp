#include "shell/info/MoreAppsViewController.h"

#include "platform/core/Localization.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Url.h"
#include "platform/ui/UrlOpener.h"
#include "shell/container/ContainerViewController.h"
#include "shell/info/InfoAddresses.h"
#include "shell/info/InfoViewController.h"
#include "shell/screens/ScreenFactory.h"

namespace zm {

std::shared_ptr<MoreAppsViewController> MoreAppsViewController::spawnFromStoryboard() {
    return zm::spawnFromStoryboard<MoreAppsViewController>("MoreAppsViewController");
}

std::shared_ptr<MoreAppsViewController> MoreAppsViewController::create() {
    return std::shared_ptr<MoreAppsViewController>(new MoreAppsViewController);
}

MoreAppsViewController::MoreAppsViewController() = default;

void MoreAppsViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("webView", m_webView);
    outlets.weak("activityView", m_activityView);
    outlets.weak("backBarButtonItem", m_backBarButtonItem);
    TopicViewController::connectOutlets(outlets);
}

std::function<void()> MoreAppsViewController::actionNamed(std::string_view name) {
    if (name == "hitBack:")
        return [this] { hitBack(); };
    return TopicViewController::actionNamed(name);
}

void MoreAppsViewController::viewDidLoad() {
    TopicViewController::viewDidLoad();
    if (m_urlString.empty())
        m_urlString = InfoAddresses::shared().moreAppsPage();
    if (const std::shared_ptr<ui::WebView> page = webView())
        page->loadRequest(m_urlString);
    // Two blanks leave room for the back arrow drawn beside the title.
    if (const std::shared_ptr<ui::BarButtonItem> back = backBarButtonItem())
        back->setTitle("  " + core::localized("Back"));
}

bool MoreAppsViewController::opensOutside(const std::string& url) {
    const std::optional<ui::Url> parsed = ui::Url::parse(url);
    if (!parsed)
        return false;
    const InfoAddresses& addresses = InfoAddresses::shared();
    return parsed->host == addresses.storeHost || parsed->host == addresses.otherStoreHost;
}

bool MoreAppsViewController::webViewShouldStartLoad(ui::WebView&, const std::string& url,
                                                    ui::NavigationType) {
    if (!opensOutside(url))
        return true;
    ui::UrlOpener::shared().open(url);
    return false;
}

void MoreAppsViewController::webViewDidStartLoad(ui::WebView&) {
    if (const std::shared_ptr<ui::ActivityIndicatorView> spinner = activityView()) {
        spinner->startAnimating();
        spinner->setHidden(false);
    }
}

void MoreAppsViewController::webViewDidFinishLoad(ui::WebView&) {
    if (const std::shared_ptr<ui::ActivityIndicatorView> spinner = activityView()) {
        spinner->stopAnimating();
        spinner->setHidden(true);
    }
}

void MoreAppsViewController::hitBack() {
    std::shared_ptr<InfoViewController> info = InfoViewController::spawnFromStoryboard();
    const std::shared_ptr<ContainerViewController> container = containerVC();
    if (info && container)
        container->popToTopicVC(std::move(info));
}

} // namespace zm
