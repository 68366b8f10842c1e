#include "platform/ui/Url.h"
#include "platform/ui/UrlOpener.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(Url, PartsOfAddresses) {
    const struct {
        const char* text;
        const char* scheme;
        const char* host;
        const char* path;
        const char* query;
    } cases[] = {
        {"https://user@www.Example.com:8080/a/b?x=1#top", "https", "www.Example.com", "/a/b", "x=1"},
        {"HTTP://apps.example.com", "http", "apps.example.com", "", ""},
        {"http://example.com/moreapps.php?appid=1", "http", "example.com", "/moreapps.php", "appid=1"},
        {"mailto:someone@example.com?subject=Hi%20there", "mailto", "", "someone@example.com",
         "subject=Hi%20there"},
        {"file:///tmp/page.html", "file", "", "/tmp/page.html", ""},
    };
    for (const auto& test : cases) {
        const std::optional<Url> url = Url::parse(test.text);
        ASSERT_TRUE(url) << test.text;
        EXPECT_EQ(url->scheme, test.scheme) << test.text;
        EXPECT_EQ(url->host, test.host) << test.text;
        EXPECT_EQ(url->path, test.path) << test.text;
        EXPECT_EQ(url->query, test.query) << test.text;
    }
    for (const char* notAnAddress : {"", "example.com", "://x", "1http://x", "http://a b", "http://x\n"})
        EXPECT_FALSE(Url::parse(notAnAddress)) << notAnAddress;
}

TEST(Url, TheDesktopOpensOnlyAddressesOfTheWebMailAndFiles) {
    EXPECT_TRUE(DesktopUrlOpener::isOpenable("https://example.com/"));
    EXPECT_TRUE(DesktopUrlOpener::isOpenable("mailto:a@example.com"));
    EXPECT_FALSE(DesktopUrlOpener::isOpenable("-h"));
    EXPECT_FALSE(DesktopUrlOpener::isOpenable("javascript:alert(1)"));
    EXPECT_FALSE(DesktopUrlOpener::isOpenable("itms-apps://example.com"));
    EXPECT_FALSE(DesktopUrlOpener().open("--version")); // refused before anything runs
}

} // namespace
} // namespace ui
