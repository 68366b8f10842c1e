#include "platform/core/Encoding.h"
#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"
#include "platform/ui/Button.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/UrlOpener.h"
#include "platform/ui/WebView.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

class RecordingOpener : public UrlOpener {
public:
    bool open(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

// A more-apps page: store links leave for the browser, everything else loads.
class MoreApps : public WebViewDelegate {
public:
    bool webViewShouldStartLoad(WebView&, const std::string& url, NavigationType type) override {
        calls.push_back(std::string(type == NavigationType::LinkClicked ? "link " : "load ") + url);
        if (url.starts_with("https://apps.example.com/")) {
            UrlOpener::shared().open(url);
            return false;
        }
        return true;
    }
    void webViewDidStartLoad(WebView&) override { calls.push_back("started"); }
    void webViewDidFinishLoad(WebView& view) override { calls.push_back("finished " + view.pageTitle()); }
    void webViewDidFailLoad(WebView&, const core::Error& error) override {
        calls.push_back("failed " + error.domain);
    }

    std::vector<std::string> calls;
};

class WebViews : public testing::AnimationFixture {
protected:
    void SetUp() override {
        UrlOpener::setShared(opener);
        web->setDelegate(delegate);
    }
    void TearDown() override { UrlOpener::setShared(nullptr); }

    std::shared_ptr<RecordingOpener> opener = std::make_shared<RecordingOpener>();
    std::shared_ptr<MoreApps> delegate = std::make_shared<MoreApps>();
    std::shared_ptr<WebView> web = WebView::create({0, 0, 480, 320});
};

TEST_F(WebViews, APageLoadsOnALaterTurnAndOpensInTheBrowser) {
    web->loadRequest("http://www.example.com/moreapps.php?appid=1");
    EXPECT_TRUE(web->isLoading());
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"load http://www.example.com/moreapps.php?appid=1", "started"}));
    settle();
    EXPECT_FALSE(web->isLoading());
    EXPECT_EQ(delegate->calls.back(), "finished www.example.com");
    EXPECT_TRUE(web->openInBrowser());
    EXPECT_EQ(opener->opened, (std::vector<std::string>{"http://www.example.com/moreapps.php?appid=1"}));
}

TEST_F(WebViews, TheDelegateDecidesEachNavigation) {
    web->loadRequest("http://www.example.com/");
    settle();
    web->followLink("https://apps.example.com/us/app/id1");
    settle();
    EXPECT_EQ(web->url(), "http://www.example.com/"); // still the page it was
    EXPECT_EQ(opener->opened, (std::vector<std::string>{"https://apps.example.com/us/app/id1"}));
    EXPECT_EQ(delegate->calls[3], "link https://apps.example.com/us/app/id1");

    // A newer load makes the one before it moot.
    delegate->calls.clear();
    web->loadRequest("http://a.example.com/");
    web->loadRequest("http://b.example.com/");
    settle();
    EXPECT_EQ(delegate->calls.back(), "finished b.example.com");
    EXPECT_EQ(std::count(delegate->calls.begin(), delegate->calls.end(), "finished a.example.com"), 0);

    web->loadRequest("no address");
    EXPECT_EQ(delegate->calls.back(), "failed ui.web");
}

TEST_F(WebViews, APageFromAFileHasItsOwnTitle) {
    core::TemporaryFolder folder;
    const std::filesystem::path page = folder.path() / "help page.html";
    ASSERT_TRUE(
        core::writeFileAtomically(page, "<html><head><TITLE>\n  Settings   help\n</title></head></html>")
            .ok());
    web->loadRequest("file://" + core::percentEscape(page.string(), "/-._~"));
    settle();
    EXPECT_EQ(web->pageTitle(), "Settings help");
    web->loadRequest("file:///no/such/page.html");
    settle();
    EXPECT_EQ(delegate->calls.back(), "failed core.file");
}

} // namespace
} // namespace ui

namespace ui {
namespace {

TEST_F(WebViews, APageFromAFileShowsItsLinksAsButtonsThatFollowThem) {
    core::TemporaryFolder folder;
    ASSERT_TRUE(core::writeFileAtomically(
        folder.path() / "page.html",
        "<title>Help</title><p>Ask <A class=x HREF='mailto:help@example.com?subject=Hi'>the <b>desk</b></a>, "
        "or read <a href=\"next.html\">more</a>. <a name=\"anchor\">no link</a></p>"));
    const std::string page = "file://" + (folder.path() / "page.html").string();
    web->loadRequest(page);
    settle();
    ASSERT_EQ(web->links().size(), 2u);
    EXPECT_EQ(web->links()[0].text, "the desk");
    EXPECT_EQ(web->links()[0].url, "mailto:help@example.com?subject=Hi");
    EXPECT_EQ(web->links()[1].url, "file://" + (folder.path() / "next.html").string()) << "beside the page";
    delegate->calls.clear();
    for (const auto& subview : web->subviews())
        if (auto* button = dynamic_cast<Button*>(subview.get()); button && button->currentTitle() == "the desk")
            button->sendActions(ControlEvent::TouchUpInside);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"link mailto:help@example.com?subject=Hi", "started"}));
}

} // namespace
} // namespace ui
