#include "platform/net/HttpRequest.h"
#include "platform/net/testing/LoopbackServer.h"
#include "platform/net/testing/TestCertificate.h"

#include "platform/core/Files.h"
#include "platform/core/TemporaryFolder.h"

#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

namespace net {
namespace {

using testing::LoopbackServer;

HttpFailure failureOf(const core::Result<HttpResponse>& result) {
    EXPECT_FALSE(result.ok());
    return result.ok() ? HttpFailure::Transport : static_cast<HttpFailure>(result.error().code);
}

class HttpRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.server().Get("/echo", [](const httplib::Request& request, httplib::Response& response) {
            response.status = 203;
            response.set_header("X-Seen", request.get_header_value("X-Asked"));
            response.set_content("query " + request.get_param_value("q"), "text/plain");
        });
        server.server().Post("/echo", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content("posted " + request.body, "text/plain");
        });
        server.server().Put("/echo", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content("put " + request.body, "text/plain");
        });
        server.server().Get("/moved", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("/echo?q=after");
        });
        server.server().Get("/elsewhere", [](const httplib::Request&, httplib::Response& response) {
            response.set_redirect("file:///etc/hostname");
        });
        server.server().Get("/large", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(100, 'x'), "text/plain");
        });
        ASSERT_TRUE(server.start());
    }

    LoopbackServer<> server;
};

TEST_F(HttpRequestTest, AnswersCarryStatusHeadersAndBodyWhateverTheStatus) {
    const auto answer = perform({.url = server.url("/echo?q=a%20b"), .headers = {{"X-Asked", "yes"}}});
    ASSERT_TRUE(answer.ok()) << answer.error().text();
    EXPECT_EQ(answer->status, 203);
    EXPECT_EQ(answer->body, "query a b");
    EXPECT_EQ(answer->header("x-seen"), "yes");
    EXPECT_EQ(answer->header("Content-Type"), "text/plain");
    EXPECT_EQ(answer->header("X-Missing"), std::nullopt);

    const auto missing = perform({.url = server.url("/nothing")});
    ASSERT_TRUE(missing.ok());
    EXPECT_EQ(missing->status, 404);
}

TEST_F(HttpRequestTest, BodiesGoWithTheirMethod) {
    const struct {
        const char* method;
        const char* expected;
    } cases[] = {{"POST", "posted a=1&b=2"}, {"PUT", "put a=1&b=2"}};
    for (const auto& test : cases) {
        const auto answer = perform({.method = test.method, .url = server.url("/echo"), .body = "a=1&b=2"});
        ASSERT_TRUE(answer.ok()) << test.method;
        EXPECT_EQ(answer->body, test.expected);
    }
}

TEST_F(HttpRequestTest, RedirectsAreFollowedOnlyToWebAddresses) {
    const auto moved = perform({.url = server.url("/moved")});
    ASSERT_TRUE(moved.ok());
    EXPECT_EQ(moved->status, 203);
    EXPECT_EQ(moved->body, "query after");
    EXPECT_EQ(moved->header("Location"), std::nullopt) << "only the final response's headers are kept";

    EXPECT_EQ(failureOf(perform({.url = server.url("/elsewhere")})), HttpFailure::BadRequest);
    EXPECT_EQ(failureOf(perform({.url = "file:///etc/hostname"})), HttpFailure::BadRequest);
}

TEST_F(HttpRequestTest, WhatCannotBeSentSafelyIsRefusedBeforeSending) {
    EXPECT_EQ(failureOf(perform({.url = server.url("/echo"), .headers = {{"X-Asked", "a\r\nX-Injected: 1"}}})),
              HttpFailure::BadRequest);
    EXPECT_EQ(failureOf(perform({.method = "GET /x", .url = server.url("/echo")})), HttpFailure::BadRequest);
    EXPECT_EQ(failureOf(perform({.url = "not a url"})), HttpFailure::BadRequest);
}

TEST_F(HttpRequestTest, AnAnswerLargerThanTheLimitIsNoAnswer) {
    EXPECT_TRUE(perform({.url = server.url("/large"), .maximumBodySize = 100}).ok());
    EXPECT_EQ(failureOf(perform({.url = server.url("/large"), .maximumBodySize = 99})), HttpFailure::TooLarge);
}

TEST(HttpRequest, AClosedPortIsUnreachable) {
    LoopbackServer<> server;
    ASSERT_TRUE(server.start());
    const std::string url = server.url("/");
    server.stop();
    EXPECT_EQ(failureOf(perform({.url = url})), HttpFailure::Unreachable);
}

TEST(HttpRequest, AServerThatKeepsSilentTimesOut) {
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    LoopbackServer<> server;
    server.server().Get("/", [&](const httplib::Request&, httplib::Response& response) {
        std::unique_lock lock(mutex);
        released.wait(lock, [&] { return release; });
        response.set_content("late", "text/plain");
    });
    ASSERT_TRUE(server.start());
    EXPECT_EQ(failureOf(perform({.url = server.url("/"), .timeout = std::chrono::milliseconds(100)})),
              HttpFailure::TimedOut);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
}

TEST(HttpRequest, AnHttpsPeerWhoseCertificateDoesNotVerifyGetsNothingUntilItsAuthorityIsTrusted) {
    core::TemporaryFolder folder;
    const auto certificate = folder.path() / "certificate.pem";
    const auto key = folder.path() / "key.pem";
    ASSERT_TRUE(testing::writeSelfSignedCertificate(certificate, key));
    bool reached = false;
    LoopbackServer<httplib::SSLServer> server(certificate.c_str(), key.c_str());
    ASSERT_TRUE(server.server().is_valid());
    server.server().Get("/", [&](const httplib::Request&, httplib::Response& response) {
        reached = true;
        response.set_content("secret", "text/plain");
    });
    ASSERT_TRUE(server.start());
    EXPECT_EQ(failureOf(perform({.url = server.url("/", "https")})), HttpFailure::Insecure);
    EXPECT_FALSE(reached);

    const auto trusted = perform({.url = server.url("/", "https"), .certificateAuthorities = certificate});
    ASSERT_TRUE(trusted.ok()) << trusted.error().text();
    EXPECT_EQ(trusted->body, "secret");
}

} // namespace
} // namespace net
