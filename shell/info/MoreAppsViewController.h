#pragma once

#include "platform/ui/WebView.h"
#include "shell/screens/TopicViewController.h"

#include <memory>
#include <string>

namespace ui {
class ActivityIndicatorView;
class BarButtonItem;
} // namespace ui

namespace zm {

// A page of the maker's web site shown inside the game (the mailing list, more apps), with a spinner
// while it loads and a back item to a new information screen. Links to the app store leave the game:
// they open in the desktop's browser instead.
//
// Main thread only.
class MoreAppsViewController : public TopicViewController, public ui::WebViewDelegate {
public:
    // The screen of "MoreAppsViewController" ("~ipad" on a tablet); null when it cannot be made. Its
    // address is set before its view loads.
    static std::shared_ptr<MoreAppsViewController> spawnFromStoryboard();
    // The interface-file way of making one.
    static std::shared_ptr<MoreAppsViewController> create();

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;
    // Loads the page (the more-apps page when no address was given) and titles the back item.
    void viewDidLoad() override;

    bool webViewShouldStartLoad(ui::WebView& webView, const std::string& url,
                                ui::NavigationType type) override;
    void webViewDidStartLoad(ui::WebView& webView) override;
    void webViewDidFinishLoad(ui::WebView& webView) override;

    // Back to a new information screen, sliding in from the left.
    void hitBack();

    // Whether links to `url` leave the game: those whose host is exactly one of the store's.
    static bool opensOutside(const std::string& url);

    const std::string& urlString() const { return m_urlString; }
    void setUrlString(std::string url) { m_urlString = std::move(url); }
    std::shared_ptr<ui::WebView> webView() const { return m_webView.lock(); }
    std::shared_ptr<ui::ActivityIndicatorView> activityView() const { return m_activityView.lock(); }
    std::shared_ptr<ui::BarButtonItem> backBarButtonItem() const { return m_backBarButtonItem.lock(); }

protected:
    MoreAppsViewController();

private:
    std::weak_ptr<ui::WebView> m_webView;
    std::weak_ptr<ui::ActivityIndicatorView> m_activityView;
    std::weak_ptr<ui::BarButtonItem> m_backBarButtonItem;
    std::string m_urlString;
};

} // namespace zm
