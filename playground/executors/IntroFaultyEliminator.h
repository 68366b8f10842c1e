#pragma once

#include "playground/executors/IntroExecutor.h"

namespace zm {

// Shows that the rules cannot be broken: on "(5*2)/2" it keeps drawing a line between the 5 and the
// 2 below, which do not cancel, so the terms shake.
class IntroFaultyEliminator : public IntroExecutor {
public:
    using IntroExecutor::IntroExecutor;

protected:
    void progressStep() override;
    void dragAlongPath(const QVStraightPath& path) override;
};

} // namespace zm
