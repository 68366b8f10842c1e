#pragma once

#include "platform/core/Error.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Button;
class Label;
class WebView;

// How a navigation came about.
enum class NavigationType { LinkClicked, FormSubmitted, BackForward, Reload, FormResubmitted, Other };

// Asked about every navigation and told how loading goes. Every operation is optional.
class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;

    // Whether the page at `url` may load in the view (the delegate may open it elsewhere instead).
    virtual bool webViewShouldStartLoad(WebView& webView, const std::string& url, NavigationType type);
    virtual void webViewDidStartLoad(WebView& webView);
    virtual void webViewDidFinishLoad(WebView& webView);
    virtual void webViewDidFailLoad(WebView& webView, const core::Error& error);
};

// A stand-in for a web page inside the game: the desktop game shows no web content. It goes through a
// page load as a browser view would — the delegate is asked about the navigation, hears that loading
// started and, on a later turn of the main loop, that it finished — and then shows the page's title
// and address with a button that opens the page in the desktop's browser (through the shared
// UrlOpener). Pages are not fetched: the title of a page from the network is its host; a page from a
// file has the title written in it, and its links show as buttons that follow them.
class WebView : public View {
public:
    static std::shared_ptr<WebView> create(const core::Rect& frame = {});
    ~WebView() override;

    // Asks the delegate (NavigationType::Other) and loads the page; an address that is not one fails.
    void loadRequest(const std::string& url);
    // A link of the page was followed: asked about as a clicked link, then loaded.
    void followLink(const std::string& url);

    // The page shown (or loading): its address and title.
    const std::string& url() const { return m_url; }
    const std::string& pageTitle() const { return m_title; }
    // The links of a page from a file, in page order: their text and their address (relative
    // addresses resolved against the page's folder).
    struct Link {
        std::string text;
        std::string url;
    };
    const std::vector<Link>& links() const { return m_links; }
    bool isLoading() const { return m_loading; }

    // What the page's button does: the page in the desktop's browser.
    bool openInBrowser();

    const std::weak_ptr<WebViewDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { m_delegate = std::move(delegate); }

    void connectOutlets(Outlets& outlets) override;

protected:
    explicit WebView(const core::Rect& frame);

    void layoutSubviews() override;

private:
    void navigate(const std::string& url, NavigationType type);
    void finishLoading(std::uint64_t load);
    void showLinks(std::vector<Link> links);

    std::string m_url;
    std::string m_title;
    bool m_loading = false;
    std::uint64_t m_load = 0; // the load in progress; a newer one makes older ones moot
    std::weak_ptr<WebViewDelegate> m_delegate;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<Label> m_addressLabel;
    std::shared_ptr<Button> m_openButton;
    std::vector<Link> m_links;
    std::vector<std::shared_ptr<Button>> m_linkButtons;
};

} // namespace ui
