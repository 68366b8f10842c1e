#include "playground/executors/DelayOperation.h"

#include "platform/core/DispatchQueue.h"

namespace zm {

void DelayOperation::begin() {
    // The timer holds the operation until it finishes it.
    core::DispatchQueue::main()->after(core::fromSeconds(m_duration),
                                       [this, self = shared_from_this()] { finish(); });
}

} // namespace zm
