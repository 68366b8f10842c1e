#pragma once

#include "platform/core/Value.h"

#include <functional>
#include <string>

namespace zm {

// Purchase tracking, as far as the session answers reach it: whether completed purchases are
// observed and whether restored ones count. The payment side joins with the facade.
//
// Thread safety: any thread.
class TmStore {
public:
    static void start();
    static void stop();
    static bool observing();
    static bool firesRestoredTransactions();
    static void setFiresRestoredTransactions(bool fires);
    // The facade's switch for automatic purchase tracking (on by default).
    static bool allowAutoIAPComplete();
    static void setAllowAutoIAPComplete(bool allow);
    // For tests: observing off, both switches back to their defaults.
    static void reset();
};

// Where the kit records events of its own ("__FBInstall"): the facade's event recording once it
// runs; before that they are lost.
class TmEventSink {
public:
    using Recorder = std::function<void(const std::string& name, const core::Dictionary& arguments)>;
    static void setRecorder(Recorder recorder);
    static void record(const std::string& name, const core::Dictionary& arguments);
};

} // namespace zm
