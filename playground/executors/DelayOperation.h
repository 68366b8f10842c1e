#pragma once

#include "playground/executors/CustomOperation.h"

#include <memory>

namespace zm {

// A pause in a demonstrated gesture: it ends `duration` seconds after it starts, on the main queue, so
// everything the gesture handed to the main queue before it has run by then.
class DelayOperation : public CustomOperation {
public:
    static std::shared_ptr<DelayOperation> delayOperationWithDuration(double duration) {
        return std::make_shared<DelayOperation>(duration);
    }
    explicit DelayOperation(double duration)
        : m_duration(duration) {}

    double duration() const { return m_duration; }

protected:
    void begin() override;

private:
    double m_duration;
};

} // namespace zm
