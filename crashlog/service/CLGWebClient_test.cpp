#include "crashlog/service/CLGWebClient.h"
#include "platform/core/Json.h"
#include "platform/net/testing/LoopbackServer.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace zm {
namespace {

using net::testing::LoopbackServer;

// The response a completion received (null when none came within ten seconds).
std::shared_ptr<const CLGWebResponse> awaitResponse(const std::function<void(CLGWebClient::Completion)>& start) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<const CLGWebResponse>>>();
    auto future = promise->get_future();
    start([promise](std::shared_ptr<const CLGWebResponse> response) { promise->set_value(std::move(response)); });
    if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return nullptr;
    return future.get();
}

class CLGWebClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        // "/answer?type=T&body=B&status=N" answers B as T with status N.
        server.server().Get("/answer", [](const httplib::Request& request, httplib::Response& response) {
            response.status = request.has_param("status") ? std::stoi(request.get_param_value("status")) : 200;
            response.set_content(request.get_param_value("body"), request.get_param_value("type"));
        });
        // Answers the headers it was sent, as JSON.
        server.server().Get("/spi/headers", [](const httplib::Request& request, httplib::Response& response) {
            core::Dictionary headers;
            for (const auto& [name, value] : request.headers)
                headers.set(name, value);
            headers.set("query", request.get_param_value("q"));
            response.set_content(core::toJson(headers), "application/json");
        });
        ASSERT_TRUE(server.start());
        client = CLGWebClient::create(server.url("/base/"));
    }

    std::shared_ptr<const CLGWebResponse> get(const std::string& path) {
        return awaitResponse([&](CLGWebClient::Completion done) {
            client->startRequest(CLGWebRequest::requestWithMethod("GET", path), std::move(done));
        });
    }

    LoopbackServer<> server;
    std::shared_ptr<CLGWebClient> client;
};

std::string answerPath(const std::string& type, const std::string& body) {
    return "/answer?type=" + CLGWebClient::escapeURLString(type) + "&body=" + CLGWebClient::escapeURLString(body);
}

TEST_F(CLGWebClientTest, DecodesTheBodyByItsContentType) {
    const std::string plist = R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>a</key><integer>1</integer></dict></plist>)";
    const struct {
        const char* name;
        std::string type;
        std::string body;
        core::Value decoded;
        bool error;
    } cases[] = {
        {"JSON beside other parameters", "application/json; charset=utf-8", R"({"a":1})", core::Dictionary{{"a", 1}}, false},
        {"property list", "application/x-plist", plist, core::Dictionary{{"a", 1}}, false},
        {"HTML stays raw bytes", "text/html", "<p>hi</p>", core::Value(core::asBytes("<p>hi</p>")), false},
        {"an empty body is nothing", "application/json", "", core::Value(), false},
        {"malformed JSON is nothing, without error", "application/json", "{", core::Value(), false},
        {"a malformed property list is an error", "application/x-plist", "<plist", core::Value(), true},
    };
    for (const auto& c : cases) {
        const auto response = get(answerPath(c.type, c.body));
        ASSERT_TRUE(response) << c.name;
        EXPECT_EQ(response->statusCode, 200u) << c.name;
        EXPECT_EQ(response->body, c.decoded) << c.name;
        EXPECT_EQ(response->error.has_value(), c.error) << c.name;
        EXPECT_EQ(response->responseData, c.body) << c.name;
        EXPECT_EQ(response->wasSuccessful(), !c.error) << c.name;
    }
}

TEST_F(CLGWebClientTest, ARequestsHeaderBeatsTheClientsDefault) {
    client->addValue("default", "X-Default");
    client->addValue("default", "X-Both");
    auto request = CLGWebRequest::requestWithMethod("GET", "/spi/headers?q=a%20b");
    request->addValueForHTTPHeaderField("own", "x-both");
    const auto response = awaitResponse([&](CLGWebClient::Completion done) { client->startRequest(request, std::move(done)); });
    ASSERT_TRUE(response && response->wasSuccessful());
    EXPECT_EQ(response->requestURL, server.url("/spi/headers?q=a%20b"));
    const core::Value& seen = response->body;
    EXPECT_EQ(seen.find("X-Default")->stringValue(), "default");
    EXPECT_EQ(seen.find("x-both")->stringValue(), "own");
    EXPECT_EQ(seen.find("Accept")->stringValue(), "application/json, application/x-plist");
    EXPECT_EQ(seen.find("query")->stringValue(), "a b");
}

TEST_F(CLGWebClientTest, AnUnexpectedStatusBecomesAnErrorOnlyWhereAStatusIsExpected) {
    const std::string created = answerPath("text/plain", "made") + "&status=201";
    const auto expected201 = awaitResponse([&](CLGWebClient::Completion done) {
        client->startRequest(CLGWebRequest::requestWithMethod("GET", created), 201, std::move(done));
    });
    ASSERT_TRUE(expected201);
    EXPECT_TRUE(expected201->wasSuccessful());

    const auto expected200 = awaitResponse([&](CLGWebClient::Completion done) {
        client->startRequest(CLGWebRequest::requestWithMethod("GET", created), 200, std::move(done));
    });
    ASSERT_TRUE(expected200 && expected200->error);
    EXPECT_EQ(expected200->error->domain, kCLGWebClientErrorDomain);
    EXPECT_EQ(expected200->error->code, kCLGWebClientUnexpectedStatus);

    const auto missing = get("/nothing-here");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->statusCode, 404u);
    EXPECT_FALSE(missing->error) << "a status is no error by itself";
    EXPECT_FALSE(missing->wasSuccessful());
}

TEST_F(CLGWebClientTest, TheSynchronousFormsAnswerOnTheCallingThread) {
    std::shared_ptr<const CLGWebResponse> response;
    client->syncStartRequest(CLGWebRequest::requestWithMethod("GET", answerPath("application/json", "[1]")), 200,
                             [&](std::shared_ptr<const CLGWebResponse> answer) { response = std::move(answer); });
    ASSERT_TRUE(response && response->wasSuccessful());
    EXPECT_EQ(response->body, core::Value(core::Array{1}));

    const auto posted = awaitResponse([&](CLGWebClient::Completion done) { client->getPath("/nothing-here", std::move(done)); });
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->statusCode, 404u);
}

TEST(CLGWebClient, ATransportFailureReachesTheCallerAndTheTransactionIsLetGo) {
    LoopbackServer<> closed;
    ASSERT_TRUE(closed.start());
    const std::string url = closed.url("/");
    closed.stop();
    auto client = CLGWebClient::create(url);
    const auto response = awaitResponse([&](CLGWebClient::Completion done) {
        client->startRequest(CLGWebRequest::requestWithMethod("GET", "/x"), std::move(done));
    });
    ASSERT_TRUE(response && response->error);
    EXPECT_EQ(response->error->domain, net::kHttpErrorDomain);
    EXPECT_EQ(response->statusCode, 0u);
    EXPECT_TRUE(response->body.isNull());
    // The running set lets the transaction go on the client's queue just after the caller has its answer.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (client->runningTransactions() > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(client->runningTransactions(), 0u);
}

} // namespace
} // namespace zm
