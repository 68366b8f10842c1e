#include "playground/executors/IntroFaultyAdder.h"

#include "model/Operator.h"

namespace zm {

void IntroFaultyAdder::progressStep() {
    IntroExecutor::progressStep();
    const std::vector<OperatorPtr> plusOps = moves().plusOps();
    if (plusOps.empty())
        return;
    tapPoint(centerOfObj(plusOps.back().get()), {.beforePress = 1.0, .pressed = 0.5, .afterLift = 1.0});
}

} // namespace zm
