#include "crashlog/service/CLGWebClient.h"
#include "crashlog/service/CLGWebRequest.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

const std::string kStart = "MIME-Version: 1.0\r\n";
const std::string kEnd = "--AaB03x--\r\n";

TEST(CLGWebRequest, TheFormBodyIsWrittenByteForByte) {
    const struct {
        const char* name;
        std::function<void(CLGWebRequest&)> fill;
        std::string body;
    } cases[] = {
        {"one text field",
         [](CLGWebRequest& r) { r.addValueForFormField("b", "a"); },
         kStart + "--AaB03x\r\nContent-Disposition: form-data; name=\"a\"\r\nContent-Type: text/plain\r\n\r\nb\r\n" + kEnd},
        {"bytes with a type",
         [](CLGWebRequest& r) { r.addData(core::asBytes(std::string("\0\xff", 2)), "image/png", "icon.png", "app[icon][data]"); },
         kStart + "--AaB03x\r\nContent-Disposition: form-data; name=\"app[icon][data]\"; filename=\"icon.png\"\r\n"
                  "Content-Type: image/png\r\nContent-Transfer-Encoding: binary\r\n\r\n" + std::string("\0\xff", 2) + "\r\n" + kEnd},
        {"bytes without a type",
         [](CLGWebRequest& r) { r.addData(core::asBytes("x"), "", "f", "file"); },
         kStart + "--AaB03x\r\nContent-Disposition: form-data; name=\"file\"; filename=\"f\"\r\n"
                  "Content-Type: application/octet-stream\r\n\r\nx\r\n" + kEnd},
        {"a field without value is left out",
         [](CLGWebRequest& r) {
             r.addValueForFormField(std::nullopt, "gone");
             r.setFormData({{"n", 1}});
         },
         kStart + "--AaB03x\r\nContent-Disposition: form-data; name=\"n\"\r\nContent-Type: text/plain\r\n\r\n1\r\n" + kEnd},
    };
    for (const auto& c : cases) {
        CLGWebRequest request("POST");
        c.fill(request);
        EXPECT_EQ(request.formData(), c.body) << c.name;
        const net::HttpRequest sent = request.URLRequest();
        EXPECT_EQ(sent.body, c.body) << c.name;
        EXPECT_EQ(sent.headers, (net::HttpHeaders{{"Content-Type", "multipart/form-data; boundary=AaB03x"}})) << c.name;
    }
    EXPECT_EQ(CLGWebRequest("GET").formData(), std::nullopt);
}

TEST(CLGWebRequest, TheRequestsOwnHeadersWinAndTheWholeExchangeHasFifteenSeconds) {
    auto request = CLGWebRequest::requestWithMethod("PUT", "/p");
    request->setURL("http://127.0.0.1:1/p");
    request->setParameters({{"a", "1"}, {"b", "x/y z"}});
    request->addValueForHTTPHeaderField("first", "X-One");
    request->addValueForHTTPHeaderField("second", "x-one");
    request->addHeaders({{"X-ONE", "default"}, {"Accept", "application/x-plist"}});
    const net::HttpRequest sent = request->URLRequest();
    EXPECT_EQ(sent.method, "PUT");
    EXPECT_EQ(sent.url, "http://127.0.0.1:1/p?a=1&b=x%2Fy%20z");
    EXPECT_EQ(sent.headers, (net::HttpHeaders{{"X-One", "second"}, {"Accept", "application/x-plist"}}));
    EXPECT_EQ(sent.timeout, std::chrono::seconds(15));
    EXPECT_TRUE(sent.body.empty());
}

TEST(CLGWebClient, EscapesAllButLettersDigitsAndExistingEscapes) {
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"plain-._~09AZaz", "plain-._~09AZaz"},
        {"already%2Fescaped%20", "already%2Fescaped%20"},
        {"a/b", "a%2Fb"},
        {"a b", "a%20b"},
        {"100%", "100%25"},
        {"%zz", "%25zz"},
        {"!*'();:@&=+$,?#[]\"", "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%3F%23%5B%5D%22"},
        {"<{|}>\\^`", "%3C%7B%7C%7D%3E%5C%5E%60"},
        {"é", "%C3%A9"},
        {"(unknown)", "%28unknown%29"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLGWebClient::escapeURLString(c.text), c.escaped) << c.text;
}

TEST(CLGWebClient, ResolvesPathsAgainstItsBaseURL) {
    const struct {
        const char* base;
        const char* path;
        const char* url;
    } cases[] = {
        {"https://h:8/api/", "/spi/v1/x?y=1", "https://h:8/spi/v1/x?y=1"},
        {"https://h:8/api/v?q=1", "w", "https://h:8/api/w"},
        {"https://h:8", "w", "https://h:8/w"},
        {"https://h:8/api/v", "?q=2", "https://h:8/api/v?q=2"},
        {"https://h:8/api", "", "https://h:8/api"},
        {"https://h:8/api", "http://other/x", "http://other/x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CLGWebClient::create(c.base)->resolve(c.path), c.url) << c.base << " + " << c.path;
}

} // namespace
} // namespace zm
