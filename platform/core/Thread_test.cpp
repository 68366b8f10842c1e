#include "platform/core/Thread.h"

#include <gtest/gtest.h>
#include <pthread.h>

namespace core {
namespace {

TEST(Thread, KernelNameKeepsTheMostTellingFifteenBytes) {
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"short", "short"},
        {"exactly15bytes.", "exactly15bytes."},
        {"com.crashlog.submission", "submission"},
        {"com.crashlog.context-queue", "context-queue"},
        {"com.zembrix.Pix.openGLESContextQueue", "openGLESContext"},
        {"averyveryverylongname", "averyveryverylo"},
        {"trailing.dot.that.is.long.", "that.is.long."},
        {"ééééééééé", "ééééééé"}, // 18 bytes: cut before the eighth two-byte character
    };
    for (const auto& c : cases)
        EXPECT_EQ(Thread::kernelName(c.name), c.expected) << c.name;
}

TEST(Thread, NamedThreadCarriesItsFullAndItsKernelName) {
    std::string full;
    char kernel[16] = {};
    Thread thread("com.zembrix.analytics.events", [&] {
        full = Thread::currentName();
        pthread_getname_np(pthread_self(), kernel, sizeof kernel);
    });
    thread.join();
    EXPECT_EQ(full, "com.zembrix.analytics.events");
    EXPECT_STREQ(kernel, "events");
}

} // namespace
} // namespace core
