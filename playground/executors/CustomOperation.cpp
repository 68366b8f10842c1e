#include "playground/executors/CustomOperation.h"

#include "platform/core/DispatchQueue.h"

#include <memory>

namespace zm {

void CustomOperation::start() {
    const std::shared_ptr<core::DispatchQueue> main = core::DispatchQueue::main();
    if (main->isCurrent()) {
        begin();
        return;
    }
    // The queue holds the operation until it finishes, so the block may refer to it.
    main->async([this] { begin(); });
}

} // namespace zm
