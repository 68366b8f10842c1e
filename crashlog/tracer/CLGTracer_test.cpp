#include "crashlog/tracer/CLGTracer.h"

#include "crashlog/log/CLGLog.h"
#include "platform/core/DispatchQueue.h"
#include "platform/core/Log.h"
#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"
#include "platform/core/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace zm {
namespace {

using namespace std::chrono_literals;

class CLGTracerTest : public ::testing::Test {
protected:
    void SetUp() override { CLGSetDebugMode(true); }
    void TearDown() override { CLGSetDebugMode(false); }

    // The tracer's lines, once everything handed to its queue has been written.
    std::vector<std::string> lines(CLGTracer& tracer) {
        tracer.queue()->sync([] {});
        std::vector<std::string> traced;
        for (const std::string& message : log.messages()) {
            if (message.starts_with("[Crashlog] Tracer: "))
                traced.push_back(message.substr(19));
        }
        return traced;
    }

    std::shared_ptr<core::ManualClock> clock = std::make_shared<core::ManualClock>();
    core::MainLoop loop{clock};
    core::NotificationCenter center;
    core::TemporaryFolder folder;
    core::LogCapture log;
};

TEST_F(CLGTracerTest, SamplesAtOnceAndEveryMinuteOnTheClock) {
    const auto tracer = CLGTracer::initWithPath(folder.path() / "trace", center);
    ASSERT_TRUE(tracer);
    EXPECT_EQ(lines(*tracer), std::vector<std::string>{"sampling"});
    loop.advanceBy(59s);
    EXPECT_EQ(lines(*tracer).size(), 1u);
    loop.advanceBy(1s);
    // The next sample is timed once this one has run on the tracer's queue.
    EXPECT_EQ(lines(*tracer).size(), 2u);
    loop.advanceBy(60s);
    EXPECT_EQ(lines(*tracer), (std::vector<std::string>{"sampling", "sampling", "sampling"}));
}

TEST_F(CLGTracerTest, TracesEachObservedNotificationInTheOrderPosted) {
    const auto tracer = CLGTracer::initWithPath(folder.path() / "trace", center);
    ASSERT_TRUE(tracer);
    std::vector<std::string> expected{"sampling"};
    std::string previous;
    for (const std::string_view name : CLGTracer::observedNotificationNames()) {
        expected.emplace_back(name);
        if (name == previous)
            continue; // registered twice: one post gives both lines
        center.post(std::string(name));
        previous = name;
    }
    center.post("SomethingElse");
    EXPECT_EQ(lines(*tracer), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "ApplicationDidEnterBackground"), 2);
}

TEST_F(CLGTracerTest, WritesNoLineOutsideDebugMode) {
    CLGSetDebugMode(false);
    const auto tracer = CLGTracer::initWithPath(folder.path() / "trace", center);
    ASSERT_TRUE(tracer);
    center.post("ApplicationDidBecomeActive");
    loop.advanceBy(60s);
    EXPECT_TRUE(lines(*tracer).empty());
}

TEST_F(CLGTracerTest, OpensAnEmptyTraceFileAndWritesNothingIntoIt) {
    const std::filesystem::path earlier = folder.path() / "earlier";
    std::ofstream(earlier) << "an earlier run's trace";
    const std::filesystem::path fresh = folder.path() / "fresh";
    const mode_t mask = umask(022);
    for (const std::filesystem::path& path : {earlier, fresh}) {
        const auto tracer = CLGTracer::initWithPath(path, center);
        ASSERT_TRUE(tracer);
        center.post("ApplicationDidBecomeActive");
        lines(*tracer);
    }
    umask(mask);
    EXPECT_EQ(std::filesystem::file_size(earlier), 0u);
    EXPECT_EQ(std::filesystem::file_size(fresh), 0u);
    struct stat status {};
    ASSERT_EQ(stat(fresh.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
}

TEST_F(CLGTracerTest, AFileThatCannotBeOpenedGivesNoTracerAndLeavesNoObserver) {
    EXPECT_FALSE(CLGTracer::initWithPath(folder.path() / "missing" / "trace", center));
    center.post("ApplicationDidBecomeActive");
    loop.advanceBy(60s);
    const auto witness = CLGTracer::initWithPath(folder.path() / "trace", center);
    ASSERT_TRUE(witness);
    // Only the witness's own first sample and its line of the post after it.
    center.post("ApplicationWillTerminate");
    EXPECT_EQ(lines(*witness), (std::vector<std::string>{"sampling", "ApplicationWillTerminate"}));
}

TEST_F(CLGTracerTest, ATracerGoneStopsTracing) {
    CLGTracer::initWithPath(folder.path() / "trace", center).reset();
    const auto before = log.messages().size();
    center.post("ApplicationDidBecomeActive");
    loop.advanceBy(120s);
    EXPECT_EQ(log.messages().size(), before);
}

} // namespace
} // namespace zm
