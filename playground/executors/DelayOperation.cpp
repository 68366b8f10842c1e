#include "playground/executors/DelayOperation.h"

#include "platform/core/DispatchQueue.h"

namespace zm {

void DelayOperation::begin() {
    // The queue holds a running operation until it finishes.
    core::DispatchQueue::main()->after(core::fromSeconds(m_duration), [this] { finish(); });
}

} // namespace zm
