#include "platform/core/DispatchGroup.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/NotificationCenter.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace core {
namespace {

struct NotificationCenterTest : ::testing::Test {
    MainLoop loop{std::make_shared<ManualClock>()};
    NotificationCenter center;
    std::vector<std::string> calls;
    const int documentA = 0;
    const int documentB = 0;

    NotificationCenter::Handler record(std::string observer) {
        return [this, observer](const Notification& n) { calls.push_back(observer + ":" + n.name); };
    }
};

TEST_F(NotificationCenterTest, DeliversToObserversOfTheNameInOrderWithSenderAndDetails) {
    std::optional<Notification> received;
    auto first = center.addObserver("changed", nullptr, [&](const Notification& n) {
        received = n;
        calls.push_back("first");
    });
    auto second = center.addObserver("changed", nullptr, record("second"));
    auto other = center.addObserver("other", nullptr, record("other"));
    center.post("changed", &documentA, Dictionary{{"key", "value"}});
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second:changed"}));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->sender, &documentA);
    EXPECT_EQ(received->userInfo, Value(Dictionary{{"key", "value"}}));
}

TEST_F(NotificationCenterTest, ObserverOfOneSenderIgnoresTheOthers) {
    auto onlyA = center.addObserver("state", &documentA, record("a"));
    auto any = center.addObserver("state", nullptr, record("any"));
    center.post("state", &documentB);
    center.post("state", nullptr);
    center.post("state", &documentA);
    EXPECT_EQ(calls, (std::vector<std::string>{"any:state", "any:state", "a:state", "any:state"}));
}

TEST_F(NotificationCenterTest, EndedObservationsAreNotCalledEvenWithinTheSamePost) {
    NotificationCenter::Observation second;
    auto first = center.addObserver("tick", nullptr, [&](const Notification&) {
        calls.push_back("first");
        second.reset();
    });
    second = center.addObserver("tick", nullptr, record("second"));
    NotificationCenter::Observation late;
    auto adder = center.addObserver("tick", nullptr, [&](const Notification&) {
        if (!late.isActive())
            late = center.addObserver("tick", nullptr, record("late"));
    });
    center.post("tick");
    EXPECT_EQ(calls, std::vector<std::string>{"first"}) << "removed and added observers skip this post";
    { auto scoped = center.addObserver("tick", nullptr, record("scoped")); }
    first.reset();
    center.post("tick");
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "late:tick"}));
}

TEST_F(NotificationCenterTest, ObservationMayOutliveItsCentre) {
    auto owned = std::make_unique<NotificationCenter>();
    auto observation = owned->addObserver("gone", nullptr, record("x"));
    owned.reset();
    observation.reset();
    EXPECT_FALSE(observation.isActive());
}

TEST_F(NotificationCenterTest, DeliveryOnAQueueHappensThereAndNotAfterTheObservationEnded) {
    bool deliveredOnMain = false;
    auto onMain = center.addObserver(
        "done", nullptr,
        [&](const Notification& n) {
            deliveredOnMain = DispatchQueue::main()->isCurrent();
            calls.push_back("main:" + n.userInfo.stringValue());
        },
        DispatchQueue::main());
    const auto worker = DispatchQueue::serial("test.poster");
    bool onPostingThread = false;
    auto onPoster = center.addObserver("done", nullptr,
                                       [&](const Notification&) { onPostingThread = worker->isCurrent(); });
    worker->sync([&] { center.post("done", nullptr, "first"); });
    EXPECT_TRUE(onPostingThread);
    EXPECT_TRUE(calls.empty());
    loop.runUntilIdle();
    EXPECT_EQ(calls, std::vector<std::string>{"main:first"});
    EXPECT_TRUE(deliveredOnMain);

    worker->sync([&] { center.post("done", nullptr, "second"); });
    onMain.reset();
    loop.runUntilIdle();
    EXPECT_EQ(calls, std::vector<std::string>{"main:first"});
}

TEST_F(NotificationCenterTest, PostingAndObservingFromManyThreadsAtOnce) {
    std::atomic<int> delivered = 0;
    auto counter = center.addObserver("ping", nullptr, [&](const Notification&) { ++delivered; });
    DispatchGroup group;
    for (int t = 0; t < 4; ++t)
        group.async(DispatchQueue::global(), [&] {
            for (int i = 0; i < 200; ++i) {
                auto passing = center.addObserver("ping", nullptr, [](const Notification&) {});
                center.post("ping");
            }
        });
    group.wait();
    EXPECT_EQ(delivered, 800);
}

} // namespace
} // namespace core
