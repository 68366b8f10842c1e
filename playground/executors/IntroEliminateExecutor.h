#pragma once

#include "playground/executors/IntroExecutor.h"

namespace zm {

// Shows that lines can be drawn: on "(5*2)/2" it draws the line that cancels the 2 against the 2,
// waits, puts the fraction back and draws it again.
class IntroEliminateExecutor : public IntroExecutor {
public:
    using IntroExecutor::IntroExecutor;

protected:
    void progressStep() override;
    void dragAlongPath(const QVStraightPath& path) override;

private:
    // Waits, shows the fraction again in display-only mode, waits.
    void resetProblem();
};

} // namespace zm
