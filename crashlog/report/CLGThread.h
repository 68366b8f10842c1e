#pragma once

#include "crashlog/report/CLGStackFrame.h"

#include <string>
#include <vector>

namespace zm {

// One thread of a crashed process, as symbolication rebuilds it from the crash record.
struct CLGThread {
    // The thread's own name when it has one, else the label of the queue it was running.
    const std::string& name() const { return pthreadName.empty() ? dispatchQueueName : pthreadName; }

    bool crashed() const { return (importance & kCLGImportanceCrashed) != 0; }
    void setCrashed(bool crashed) {
        importance = crashed ? importance | kCLGImportanceCrashed : importance & ~kCLGImportanceCrashed;
    }

    std::string pthreadName;
    std::string dispatchQueueName;
    std::vector<CLGStackFrame> frames;
    uint32_t importance = 0;
};

} // namespace zm
