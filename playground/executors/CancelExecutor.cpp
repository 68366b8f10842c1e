#include "playground/executors/CancelExecutor.h"

namespace zm {

void CancelExecutor::findNextStep() {
    AIExecutor::findNextStep();
    cancelAnimations();
}

} // namespace zm
