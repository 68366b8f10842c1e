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
    main->async([this, self = shared_from_this()] { begin(); });
}

} // namespace zm
