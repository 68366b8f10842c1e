#include "platform/net/HttpTransfers.h"
#include "platform/net/testing/LoopbackServer.h"

#include <condition_variable>
#include <mutex>
#include <optional>

#include <gtest/gtest.h>

namespace net {
namespace {

using testing::LoopbackServer;

// The answers of transfers, as their completions hand them over on the worker thread.
class Answers {
public:
    HttpTransfers::Completion collector(std::string name) {
        return [this, name](core::Result<HttpResponse> answer) {
            std::lock_guard lock(m_lock);
            m_answers.emplace_back(name, std::move(answer));
            m_arrived.notify_all();
        };
    }

    // The answer of `name`, once it is there (nothing after ten seconds).
    std::optional<core::Result<HttpResponse>> await(const std::string& name) {
        std::unique_lock lock(m_lock);
        const auto found = [&] {
            return std::find_if(m_answers.begin(), m_answers.end(), [&](const auto& answer) { return answer.first == name; });
        };
        if (!m_arrived.wait_for(lock, std::chrono::seconds(10), [&] { return found() != m_answers.end(); }))
            return std::nullopt;
        return found()->second;
    }

    size_t count() {
        std::lock_guard lock(m_lock);
        return m_answers.size();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::vector<std::pair<std::string, core::Result<HttpResponse>>> m_answers;
};

// A server whose "/silent" answers only once released; "/echo?q=X" answers X at once.
class SilentServer {
public:
    SilentServer() {
        server.server().Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
            std::unique_lock lock(m_lock);
            m_released.wait(lock, [&] { return m_release; });
            response.set_content("late", "text/plain");
        });
        server.server().Get("/echo", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(request.get_param_value("q"), "text/plain");
        });
        started = server.start();
    }
    ~SilentServer() { release(); }

    void release() {
        {
            std::lock_guard lock(m_lock);
            m_release = true;
        }
        m_released.notify_all();
    }

    LoopbackServer<> server;
    bool started = false;

private:
    std::mutex m_lock;
    std::condition_variable m_released;
    bool m_release = false;
};

HttpFailure failureOf(const std::optional<core::Result<HttpResponse>>& answer) {
    EXPECT_TRUE(answer && !answer->ok());
    return answer && !answer->ok() ? static_cast<HttpFailure>(answer->error().code) : HttpFailure::Transport;
}

TEST(HttpTransfers, AnswersArriveWhileAnotherServerKeepsSilent) {
    SilentServer silent;
    ASSERT_TRUE(silent.started);
    HttpTransfers transfers;
    Answers answers;
    transfers.start({.url = silent.server.url("/silent")}, answers.collector("silent"));
    for (const std::string word : {"one", "two", "three"})
        transfers.start({.url = silent.server.url("/echo?q=" + word)}, answers.collector(word));
    for (const std::string word : {"one", "two", "three"}) {
        const auto answer = answers.await(word);
        ASSERT_TRUE(answer && answer->ok()) << word;
        EXPECT_EQ((*answer)->status, 200);
        EXPECT_EQ((*answer)->body, word);
    }
    EXPECT_EQ(answers.count(), 3u) << "the silent request is still waiting";

    silent.release();
    const auto late = answers.await("silent");
    ASSERT_TRUE(late && late->ok());
    EXPECT_EQ((*late)->body, "late");
}

TEST(HttpTransfers, EveryRequestThatGetsNoAnswerCompletesOnceWithItsReason) {
    SilentServer silent;
    ASSERT_TRUE(silent.started);
    LoopbackServer<> closed;
    ASSERT_TRUE(closed.start());
    const std::string closedUrl = closed.url("/");
    closed.stop();

    const struct {
        const char* name;
        HttpRequest request;
        HttpFailure failure;
    } cases[] = {
        {"header with a line break", {.url = silent.server.url("/echo"), .headers = {{"X", "a\r\nY: b"}}}, HttpFailure::BadRequest},
        {"closed port", {.url = closedUrl}, HttpFailure::Unreachable},
        {"silent server", {.url = silent.server.url("/silent"), .timeout = std::chrono::milliseconds(100)}, HttpFailure::TimedOut},
    };
    HttpTransfers transfers;
    Answers answers;
    for (const auto& c : cases)
        transfers.start(c.request, answers.collector(c.name));
    for (const auto& c : cases)
        EXPECT_EQ(failureOf(answers.await(c.name)), c.failure) << c.name;
    EXPECT_EQ(answers.count(), std::size(cases));
}

TEST(HttpTransfers, ShuttingDownEndsWhatIsStillRunningAsCancelled) {
    SilentServer silent;
    ASSERT_TRUE(silent.started);
    Answers answers;
    {
        HttpTransfers transfers;
        transfers.start({.url = silent.server.url("/silent")}, answers.collector("silent"));
    }
    EXPECT_EQ(failureOf(answers.await("silent")), HttpFailure::Cancelled);
}

} // namespace
} // namespace net
