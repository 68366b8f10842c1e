#include "playground/executors/IntroExecutor.h"

namespace zm {

void IntroExecutor::mixStep() {
    AIExecutor::mixStep();
    progressStep();
}

void IntroExecutor::failStep() {
    AIExecutor::failStep();
    progressStep();
}

} // namespace zm
