#include "platform/core/DispatchQueue.h"
#include "platform/core/Thread.h"
#include "platform/core/testsupport/Timeline.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace core {
namespace {

using MainLoopTest = testing::TimelineTest;

TEST_F(MainLoopTest, IsTheRunningLoopAndItsQueueIsTheMainQueue) {
    EXPECT_EQ(&MainLoop::current(), &loop);
    EXPECT_EQ(DispatchQueue::main(), loop.queue());
    EXPECT_EQ(currentClock(), clock);
    EXPECT_EQ(currentDate(), clock->date());
    EXPECT_TRUE(DispatchQueue::main()->isCurrent());
}

TEST_F(MainLoopTest, RunUntilIdleRunsPostedWorkInOrderIncludingWorkItPosts) {
    const auto main = DispatchQueue::main();
    main->async([&] {
        note("a");
        main->async([&] { note("c"); });
    });
    main->async([&] { note("b"); });
    EXPECT_TRUE(events.empty()) << "posting never runs work inline";
    loop.runUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"a@0", "b@0", "c@0"}));
    EXPECT_EQ(clock->now(), start);
}

TEST_F(MainLoopTest, AdvanceByRunsDelayedWorkInTimeOrderWithTheWorkItCauses) {
    const auto main = DispatchQueue::main();
    main->after(300ms, [&] {
        note("a");
        main->async([&] { note("a's follow-up"); });
        main->after(100ms, [&] { note("b"); });
    });
    main->after(350ms, [&] { note("between"); });
    main->after(1s, [&] { note("later"); });
    loop.advanceBy(500ms);
    EXPECT_EQ(events, (std::vector<std::string>{"a@300", "a's follow-up@300", "between@350", "b@400"}));
    EXPECT_EQ(clock->now(), start + 500ms);
}

TEST_F(MainLoopTest, WorkDueAtTheSameTimeRunsInTheOrderItWasScheduled) {
    const auto main = DispatchQueue::main();
    for (const char* name : {"first", "second", "third"})
        main->after(1s, [this, name] { note(name); });
    main->after(0s, [&] { note("now"); });
    loop.advanceBy(1s);
    EXPECT_EQ(events, (std::vector<std::string>{"now@0", "first@1000", "second@1000", "third@1000"}));
}

TEST_F(MainLoopTest, DelayedCallThatOutlivesItsOwnerDoesNothing) {
    struct Owner {
        int calls = 0;
    };
    auto owner = std::make_shared<Owner>();
    bool ran = false;
    DispatchQueue::main()->after(1s, [weak = std::weak_ptr(owner), &ran] {
        ran = true;
        if (const auto alive = weak.lock())
            ++alive->calls;
    });
    const std::weak_ptr<Owner> watch = owner;
    owner.reset();
    EXPECT_TRUE(watch.expired()) << "the pending call must not keep its owner alive";
    loop.advanceBy(2s);
    EXPECT_TRUE(ran);
}

TEST_F(MainLoopTest, FramesRunEveryIntervalInPhaseOrderBetweenTimers) {
    loop.setFrameInterval(100ms);
    loop.addFrameHandler(FramePhase::Render, [&](TimePoint) { note("render"); });
    loop.addFrameHandler(FramePhase::Animation, [&](TimePoint t) {
        EXPECT_EQ(t, clock->now());
        note("animate");
    });
    loop.addFrameHandler(FramePhase::Input, [&](TimePoint) { note("input"); });
    DispatchQueue::main()->after(150ms, [&] { note("timer"); });
    loop.advanceBy(250ms);
    EXPECT_EQ(events, (std::vector<std::string>{"input@100", "animate@100", "render@100", "timer@150",
                                                "input@200", "animate@200", "render@200"}));
}

TEST_F(MainLoopTest, FrameHandlersRemovedDuringAFrameAreNotCalledAndFramesStopWithoutHandlers) {
    loop.setFrameInterval(100ms);
    MainLoop::FrameHandlerId render = 0;
    const auto animate = loop.addFrameHandler(FramePhase::Animation, [&](TimePoint) {
        note("animate");
        loop.removeFrameHandler(render);
    });
    render = loop.addFrameHandler(FramePhase::Render, [&](TimePoint) { note("render"); });
    loop.advanceBy(100ms);
    loop.removeFrameHandler(animate);
    loop.advanceBy(1s);
    EXPECT_EQ(events, std::vector<std::string>{"animate@100"});
}

TEST_F(MainLoopTest, RunForeverReturnsOnQuitFromAnotherThread) {
    const auto worker = DispatchQueue::serial("test.quitter");
    worker->async([&] {
        DispatchQueue::main()->async([&] { note("posted from the worker"); });
        loop.quit();
    });
    loop.runForever();
    loop.runUntilIdle();
    EXPECT_EQ(events, std::vector<std::string>{"posted from the worker@0"});
}

TEST_F(MainLoopTest, RunForeverWakesForFramesWhenAnotherThreadMovesTheClock) {
    loop.setFrameInterval(100ms);
    loop.addFrameHandler(FramePhase::Render, [&](TimePoint) {
        note("frame");
        loop.quit();
    });
    Thread advancer("test.advancer", [&] {
        while (!clock->fireNext(start + 100ms))
            std::this_thread::yield();
    });
    loop.runForever();
    EXPECT_EQ(events, std::vector<std::string>{"frame@100"});
}

TEST(MainQueueWithoutLoop, DropsWorkAndIsNeverCurrent) {
    const auto main = DispatchQueue::main();
    bool ran = false;
    main->async([&] { ran = true; });
    main->sync([&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(main->isCurrent());
}

} // namespace
} // namespace core
