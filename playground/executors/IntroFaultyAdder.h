#pragma once

#include "playground/executors/IntroExecutor.h"

namespace zm {

// Shows that the rules cannot be broken: on "1+2*3" it keeps tapping the "+", which the order of
// operations refuses, slowly enough to watch the terms shake.
class IntroFaultyAdder : public IntroExecutor {
public:
    using IntroExecutor::IntroExecutor;

protected:
    void progressStep() override;
};

} // namespace zm
