#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

// Demonstrates solving an equation: every move is the next step of the move finders' equation
// solver; the demonstration stops when there is none.
class EquationExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

protected:
    void progressStep() override;
    void mixStep() override;
    void failStep() override;
};

} // namespace zm
