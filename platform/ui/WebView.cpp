#include "platform/ui/WebView.h"

#include "platform/core/DispatchQueue.h"
#include "platform/core/Encoding.h"
#include "platform/core/Files.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Url.h"
#include "platform/ui/UrlOpener.h"

#include <algorithm>
#include <cctype>

namespace ui {

namespace {

constexpr std::string_view kWebErrorDomain = "ui.web";

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

// The text of the page's <title> element, blanks collapsed; empty when it has none.
std::string titleOf(std::string_view html) {
    const std::string lower = lowered(html);
    const size_t open = lower.find("<title");
    const size_t start = open == std::string::npos ? open : lower.find('>', open);
    const size_t end = start == std::string::npos ? start : lower.find("</title", start);
    if (end == std::string::npos)
        return {};
    std::string title;
    for (const char c : html.substr(start + 1, end - start - 1)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!title.empty() && title.back() != ' ')
                title += ' ';
        } else {
            title += c;
        }
    }
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return title;
}

// The value of attribute `name` in the tag text `tag` (quoted or not); empty when it has none.
std::string attribute(std::string_view tag, std::string_view name) {
    const std::string lower = lowered(tag);
    for (size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
        size_t value = at + name.size();
        while (value < tag.size() && tag[value] == ' ')
            ++value;
        if (value >= tag.size() || tag[value] != '=' || (at > 0 && !std::isspace(static_cast<unsigned char>(tag[at - 1]))))
            continue;
        ++value;
        while (value < tag.size() && tag[value] == ' ')
            ++value;
        if (value < tag.size() && (tag[value] == '"' || tag[value] == '\'')) {
            const size_t end = tag.find(tag[value], value + 1);
            return std::string(tag.substr(value + 1, end == std::string_view::npos ? end : end - value - 1));
        }
        const size_t end = tag.find_first_of(" >", value);
        return std::string(tag.substr(value, end == std::string_view::npos ? end : end - value));
    }
    return {};
}

// The <a href> links of a page, with their text stripped of tags.
std::vector<WebView::Link> linksOf(std::string_view html, const std::string& pageUrl) {
    std::vector<WebView::Link> links;
    const std::string lower = lowered(html);
    for (size_t open = lower.find("<a"); open != std::string::npos; open = lower.find("<a", open + 2)) {
        const size_t tagEnd = lower.find('>', open);
        const size_t close = tagEnd == std::string::npos ? tagEnd : lower.find("</a", tagEnd);
        if (close == std::string::npos)
            break;
        if (open + 2 < lower.size() && !std::isspace(static_cast<unsigned char>(lower[open + 2])))
            continue;
        std::string href = attribute(html.substr(open, tagEnd - open), "href");
        if (href.empty())
            continue;
        std::string text;
        bool inTag = false;
        for (const char c : html.substr(tagEnd + 1, close - tagEnd - 1)) {
            if (c == '<' || c == '>')
                inTag = c == '<';
            else if (!inTag)
                text += c;
        }
        if (!Url::parse(href) || Url::parse(href)->scheme.empty()) // relative to the page's folder
            href = pageUrl.substr(0, pageUrl.rfind('/') + 1) + href;
        links.push_back({text.empty() ? href : text, href});
    }
    return links;
}

} // namespace

bool WebViewDelegate::webViewShouldStartLoad(WebView&, const std::string&, NavigationType) {
    return true;
}

void WebViewDelegate::webViewDidStartLoad(WebView&) {}

void WebViewDelegate::webViewDidFinishLoad(WebView&) {}

void WebViewDelegate::webViewDidFailLoad(WebView&, const core::Error&) {}

std::shared_ptr<WebView> WebView::create(const core::Rect& frame) {
    auto view = std::shared_ptr<WebView>(new WebView(frame));
    view->m_openButton->addTarget(ControlEvent::TouchUpInside,
                                  [weak = std::weak_ptr<WebView>(view)](Control&) {
                                      if (const std::shared_ptr<WebView> web = weak.lock())
                                          web->openInBrowser();
                                  });
    return view;
}

WebView::WebView(const core::Rect& frame)
    : View(frame)
    , m_titleLabel(Label::create())
    , m_addressLabel(Label::create())
    , m_openButton(Button::create()) {
    setBackgroundColor(core::Color::white());
    m_titleLabel->setFont(gfx::Font::boldSystem(20));
    m_titleLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_titleLabel->setNumberOfLines(2);
    m_addressLabel->setFont(gfx::Font::system(13));
    m_addressLabel->setTextColor(core::Color::rgb255(142, 142, 147));
    m_addressLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_addressLabel->setLineBreakMode(gfx::LineBreakMode::TruncateMiddle);
    m_openButton->setTitle("Open in Browser");
    m_openButton->setTitleColor(core::Color::rgb255(0, 122, 255));
    m_openButton->setTitleColor(core::Color::rgb255(0, 122, 255).withAlpha(0.3f), ControlState::Highlighted);
    m_openButton->titleLabel().setFont(gfx::Font::system(17));
    m_openButton->setHidden(true);
    addSubview(m_titleLabel);
    addSubview(m_addressLabel);
    addSubview(m_openButton);
}

WebView::~WebView() = default;

void WebView::loadRequest(const std::string& url) {
    navigate(url, NavigationType::Other);
}

void WebView::followLink(const std::string& url) {
    navigate(url, NavigationType::LinkClicked);
}

void WebView::navigate(const std::string& url, NavigationType type) {
    const std::shared_ptr<View> keep = shared_from_this();
    const std::shared_ptr<WebViewDelegate> delegate = m_delegate.lock();
    if (delegate && !delegate->webViewShouldStartLoad(*this, url, type))
        return;
    if (!Url::parse(url)) {
        if (delegate)
            delegate->webViewDidFailLoad(
                *this, core::Error{std::string(kWebErrorDomain), 1, "\"" + url + "\" is not an address", {}});
        return;
    }
    m_url = url;
    m_title.clear();
    m_loading = true;
    const std::uint64_t load = ++m_load;
    m_titleLabel->setText("Loading\u2026");
    m_addressLabel->setText(url);
    m_openButton->setHidden(true);
    showLinks({});
    if (delegate)
        delegate->webViewDidStartLoad(*this);
    core::DispatchQueue::main()->async([weak = std::weak_ptr<View>(keep), load] {
        if (const std::shared_ptr<View> view = weak.lock())
            static_cast<WebView&>(*view).finishLoading(load);
    });
}

void WebView::finishLoading(std::uint64_t load) {
    if (load != m_load || !m_loading)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    m_loading = false;
    const Url url = *Url::parse(m_url);
    const std::shared_ptr<WebViewDelegate> delegate = m_delegate.lock();
    if (url.scheme == "file") {
        const std::optional<std::string> path = core::percentUnescape(url.path);
        core::Result<std::string> page = path ? core::readFile(*path)
                                              : core::Result<std::string>(core::Error{
                                                    std::string(kWebErrorDomain), 2, "bad file address", {}});
        if (!page) {
            m_titleLabel->setText("Cannot open the page");
            if (delegate)
                delegate->webViewDidFailLoad(*this, page.error());
            return;
        }
        m_title = titleOf(*page);
        showLinks(linksOf(*page, m_url));
    } else {
        m_title = url.host;
    }
    m_titleLabel->setText(m_title.empty() ? m_url : m_title);
    m_openButton->setHidden(false);
    setNeedsLayout();
    if (delegate)
        delegate->webViewDidFinishLoad(*this);
}

void WebView::showLinks(std::vector<Link> links) {
    for (const std::shared_ptr<Button>& button : m_linkButtons)
        button->removeFromSuperview();
    m_linkButtons.clear();
    m_links = std::move(links);
    for (const Link& link : m_links) {
        auto button = Button::create();
        button->setTitle(link.text);
        button->setTitleColor(core::Color::rgb255(0, 122, 255));
        button->titleLabel().setFont(gfx::Font::system(15));
        button->addTarget(ControlEvent::TouchUpInside, [this, url = link.url](Control&) { followLink(url); });
        addSubview(button);
        m_linkButtons.push_back(std::move(button));
    }
    setNeedsLayout();
}

bool WebView::openInBrowser() {
    return !m_url.empty() && UrlOpener::shared().open(m_url);
}

void WebView::layoutSubviews() {
    const core::Rect area = bounds().insetBy(20, 0).isNull() ? bounds() : bounds().insetBy(20, 0);
    const float middle = area.midY();
    m_titleLabel->setFrame({area.minX(), middle - 70, area.width(), 50});
    m_addressLabel->setFrame({area.minX(), middle - 18, area.width(), 20});
    m_openButton->setFrame({area.midX() - 90, middle + 14, 180, 44});
    float y = middle + 62;
    for (const std::shared_ptr<Button>& button : m_linkButtons) {
        button->setFrame({area.minX(), y, area.width(), 30});
        y += 32;
    }
}

void WebView::connectOutlets(Outlets& outlets) {
    outlets.weak("delegate", m_delegate);
    View::connectOutlets(outlets);
}

} // namespace ui
