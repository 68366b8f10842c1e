#include "analytics/TMEventThread.h"

#include "analytics/TMDB.h"
#include "analytics/testing/AnalyticsFixture.h"
#include "analytics/TmClock.h"
#include "platform/core/ManualClock.h"
#include "platform/core/Random.h"

#include <algorithm>
#include <csignal>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace zm {
namespace {

using testing::kAccount;
using testing::kSecret;

// Waits, in real time but briefly, for another thread or process to reach a state.
template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 400; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

// A record whose first sends find no service.
class Unsent : public TMSAPI, public TMAPIEvent {
public:
    explicit Unsent(int failures)
        : TMSAPI(kAccount, kSecret)
        , m_failures(failures) {}
    TMAPIEvent* apiEvent() override { return this; }
    int sent() const override { return m_sent; }
    int send() override { return m_sent = m_failures-- > 0 ? -1 : 1; }
    bool batchable() const override { return false; }
    std::string description() const override { return "unsent"; }

private:
    int m_failures;
    int m_sent = -1;
};

class ThreadsTest : public testing::AnalyticsFixture {
protected:
    std::shared_ptr<TMEvent> event(const std::string& name) {
        return std::make_shared<TMEvent>(kAccount, kSecret, core::Dictionary{{"sessionId", session->sessionId()},
                                                                             {"name", name}});
    }
    size_t storedEvents() { return TMDB(kAccount, kSecret).events().size(); }
    size_t listedEvents() { return service.listed("events").size(); }
    // Moves the clock to the next timed wait of the threads and answers how far that was.
    double advanceToNextWait() {
        EXPECT_TRUE(clock->awaitPending(1));
        const auto deadline = clock->nextDeadline().value_or(clock->now());
        const double seconds = core::toSeconds(deadline - clock->now());
        clock->advanceTo(deadline);
        return seconds;
    }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    ScopedTmClock analyticsClock{clock};
    std::shared_ptr<TMSession> session = std::make_shared<TMSession>(kAccount, kSecret);
};

TEST_F(ThreadsTest, TheApiThreadBacksOffOnTheClockWithARandomFactorUpTo300Seconds) {
    core::ScopedRandomSource random(core::makeScriptedRandom({0, 2147483648u})); // r = 0, 0.5, 0, ...
    Queue<TMQueueItem> finished(clock);
    TMAPIThread api(finished);
    api.start();
    auto record = std::make_shared<Unsent>(7);
    api.eventQueue().push(std::shared_ptr<TMSAPI>(record));
    std::vector<double> sleeps;
    for (int i = 0; i < 7; ++i)
        sleeps.push_back(advanceToNextWait());
    EXPECT_EQ(sleeps, (std::vector<double>{15, 45, 90, 270, 300, 450, 300}));
    const TMQueueItem back = finished.newPull();
    EXPECT_EQ(std::get<std::shared_ptr<TMSAPI>>(back).get(), record.get());
    EXPECT_EQ(record->sent(), 1);
}

TEST_F(ThreadsTest, HeartbeatsFollowTheSessionAtDoublingIntervalsUpTo26000Seconds) {
    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
    thread.start();
    std::vector<double> intervals;
    for (int i = 0; i < 9; ++i) {
        intervals.push_back(advanceToNextWait());
        ASSERT_TRUE(eventually([&] { return listedEvents() == static_cast<size_t>(i + 1); }));
    }
    for (double& interval : intervals)
        interval = std::round(interval);
    EXPECT_EQ(intervals, (std::vector<double>{300, 600, 1200, 2400, 4800, 9600, 19200, 26000, 26000}));
    const auto events = service.listed("events");
    EXPECT_EQ(events[0].find("name")->stringValue(), "heartbeat");
    EXPECT_EQ(events[0].find("delta")->doubleValue(), 300);
    EXPECT_EQ(service.listed("sessions").size(), 1u);
}

TEST_F(ThreadsTest, BatchingHoldsEventsUntilTheTimerAFlushOrAPurchaseButNeverTheSession) {
    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.setBatchesEvents(true);
    thread.setBatchInterval(30);
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
    thread.start();
    ASSERT_TRUE(eventually([&] { return service.listed("sessions").size() == 1; })) << "the session goes at once";

    int held = 0;
    const struct {
        const char* trigger; // null: the batch timer
        bool isEvent;
        size_t listed;
    } cases[] = {{"flush", false, 2}, {nullptr, false, 4}, {"__iap__", true, 7}, {"end_session", true, 10}};
    for (const auto& test : cases) {
        // The rows of the last batch go only once its answer is back, after the service has listed it.
        ASSERT_TRUE(eventually([&] { return storedEvents() == 0; }));
        // Each its own event (under the manual clock, twins would be one record to the service).
        for (int i = 0; i < 2; ++i)
            thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("held" + std::to_string(held++))));
        ASSERT_TRUE(eventually([&] { return storedEvents() == 2; }));
        ASSERT_TRUE(clock->awaitPending(1));
        EXPECT_EQ(listedEvents(), test.listed - 2 - (test.isEvent ? 1 : 0))
            << "held until " << (test.trigger ? test.trigger : "the timer");
        if (!test.trigger)
            EXPECT_NEAR(advanceToNextWait(), 30, 1e-3);
        else if (test.isEvent)
            thread.eventQueue().push(std::shared_ptr<TMSAPI>(event(test.trigger)));
        else
            thread.eventQueue().push(std::string(test.trigger));
        ASSERT_TRUE(eventually([&] { return listedEvents() == test.listed; })) << listedEvents();
        EXPECT_TRUE(service.listed("events").back().find("batched")->boolValue());
    }
    EXPECT_TRUE(eventually([&] { return storedEvents() == 0; }));
}

TEST_F(ThreadsTest, EventsPastTheBufferWaitInTheStoreAndGoInTheFollowingIntervals) {
    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.setBatchesEvents(true);
    thread.setBatchInterval(30);
    thread.setMaximumBufferSize(100);
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
    thread.start();
    // The session is back (it counts among the records held until then).
    ASSERT_TRUE(eventually([&] {
        return service.listed("sessions").size() == 1 && TMDB(kAccount, kSecret).sessions().empty();
    }));
    for (int i = 0; i < 250; ++i)
        thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("e" + std::to_string(i))));
    ASSERT_TRUE(eventually([&] { return storedEvents() == 250; }));
    for (size_t listed : {100u, 200u, 250u}) {
        EXPECT_NEAR(advanceToNextWait(), 30, 1e-3);
        ASSERT_TRUE(eventually([&] { return listedEvents() == listed; })) << listedEvents();
        ASSERT_TRUE(eventually([&] { return storedEvents() == 250 - listed; }));
    }
    const auto events = service.listed("events");
    for (size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(events[i].find("name")->stringValue(), "e" + std::to_string(i)) << "in the order recorded";
}

TEST_F(ThreadsTest, WhileTheServiceCannotBeReachedOnlyTheBufferIsHeldAndTheStoreKeepsTheRest) {
    TmService::setHost(std::nullopt);
    {
        TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
        thread.setMaximumBufferSize(50);
        thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
        for (int i = 0; i < 300; ++i)
            thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("e" + std::to_string(i))));
        thread.start();
        ASSERT_TRUE(eventually([&] { return storedEvents() == 300; }));
        ASSERT_TRUE(clock->awaitPending(1)) << "the API thread backs off";
        thread.stop();
        EXPECT_LE(thread.heldEvents(), 50u + 1) << "the session beside the events";
    }
    // The service is back: everything goes, each once.
    TmService::setHost(service.host());
    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.setMaximumBufferSize(50);
    thread.start();
    ASSERT_TRUE(eventually([&] { return listedEvents() == 300 && storedEvents() == 0; })) << listedEvents();
    EXPECT_EQ(service.listed("sessions").size(), 1u);
}

TEST_F(ThreadsTest, AStopKeepsEachRecordEitherAtTheServiceOrInTheStore) {
    std::vector<std::string> recorded;
    {
        TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
        thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
        thread.start();
        for (int i = 0; i < 200; ++i) {
            recorded.push_back("e" + std::to_string(i));
            ASSERT_TRUE(thread.add(std::shared_ptr<TMSAPI>(event(recorded.back()))));
        }
        thread.stop();
        EXPECT_FALSE(thread.add(std::shared_ptr<TMSAPI>(event("late")))) << "a stopped thread takes nothing";
    }
    std::vector<std::string> found;
    for (const core::Value& listed : service.listed("events"))
        found.push_back(listed.find("name")->stringValue());
    for (const auto& stored : TMDB(kAccount, kSecret).events())
        found.push_back(stored->name());
    std::sort(found.begin(), found.end());
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(found, recorded);
}

TEST_F(ThreadsTest, AStopGivesARequestUnderWayHalfASecondThenGivesItUp) {
    // A service that takes the connection and never answers.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 8), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    TmService::setHost("127.0.0.1:" + std::to_string(ntohs(address.sin_port)));

    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
    thread.start();
    ASSERT_TRUE(eventually([&] { return TMDB(kAccount, kSecret).sessions().size() == 1; }));
    const auto began = std::chrono::steady_clock::now();
    thread.stop();
    // Within the request's own minute: the request was given up, not waited out.
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);
    EXPECT_EQ(TMDB(kAccount, kSecret).sessions().size(), 1u) << "the unsent session waits for the next start";
    ::close(listener);
}

TEST_F(ThreadsTest, RowsGoWhenTheirRecordIsDoneOrGivenUpAndStayWhileItIsRetried) {
    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(session));
    thread.start();
    ASSERT_TRUE(eventually([&] { return service.listed("sessions").size() == 1; }));
    service.script("event", {{"status", "refused"}});
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("refused")));
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("taken")));
    ASSERT_TRUE(eventually([&] { return listedEvents() == 1 && storedEvents() == 0; }));
    EXPECT_EQ(TMDB(kAccount, kSecret).sessions().size(), 0u);

    service.script("event", {{"no_answer", true}}, 0);
    thread.eventQueue().push(std::shared_ptr<TMSAPI>(event("retried")));
    ASSERT_TRUE(eventually([&] { return queries("event").size() == 3; })) << "asked once, without an answer";
    ASSERT_TRUE(clock->awaitPending(1)) << "the API thread backs off";
    EXPECT_EQ(storedEvents(), 1u);
}

TEST_F(ThreadsTest, RecordsOfAKilledProcessComeBackAtTheNextStartSessionsFirst) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Nothing can be sent: the records wait in the store when the process dies.
        TmService::setHost(std::nullopt);
        auto thread = new TMEventThread(std::make_shared<TMDB>(kAccount, kSecret));
        thread->eventQueue().push(std::shared_ptr<TMSAPI>(session));
        for (const char* name : {"newUser", "iPad"})
            thread->eventQueue().push(std::shared_ptr<TMSAPI>(event(name)));
        thread->start();
        eventually([&] { return storedEvents() == 2; });
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(storedEvents(), 2u);

    TMEventThread thread(std::make_shared<TMDB>(kAccount, kSecret));
    thread.start();
    ASSERT_TRUE(eventually([&] { return listedEvents() == 2; }));
    EXPECT_EQ(service.listed("sessions").at(0).find("session")->stringValue(), session->sessionId());
    const auto events = service.listed("events");
    EXPECT_EQ(events[0].find("name")->stringValue(), "newUser");
    EXPECT_EQ(events[1].find("name")->stringValue(), "iPad");
    std::vector<std::string> order;
    for (const core::Value& request : service.listed("requests"))
        order.push_back(request.find("endpoint")->stringValue());
    EXPECT_EQ(order, (std::vector<std::string>{"resolve", "start", "event", "event"}));
    EXPECT_TRUE(eventually([&] { return storedEvents() == 0 && TMDB(kAccount, kSecret).sessions().empty(); }));
}

} // namespace
} // namespace zm
