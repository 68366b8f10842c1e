#pragma once

#include "platform/core/MainLoop.h"
#include "platform/core/ManualClock.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace core::testing {

// For tests of timed work: a main loop on a manual clock, and a log of what happened when.
class TimelineTest : public ::testing::Test {
protected:
    // Logs `what` at the time since the test began, in milliseconds: "fired@300".
    void note(const std::string& what) {
        const auto at = std::chrono::duration_cast<std::chrono::milliseconds>(clock->now() - start);
        events.push_back(what + "@" + std::to_string(at.count()));
    }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    MainLoop loop{clock};
    const TimePoint start = clock->now();
    std::vector<std::string> events;
};

} // namespace core::testing
