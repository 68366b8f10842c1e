#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

// Demonstrates distribution: a factor times a sum is tapped, which opens the distribution playground
// whose slider the player then drags; once per demonstration a common factor is taken out of two
// terms instead; an equation is then solved by the move finders' solver, and what is left is
// commuted. Stops when nothing is left to do.
class DistributionExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

    bool factoredOut() const { return m_factoredOut; }

    void cancelAnimations() override;

protected:
    void progressStep() override;
    void mixStep() override;
    void failStep() override;

private:
    // The factor-out moves between two different terms, in both orders.
    std::vector<std::shared_ptr<Step>> factorOutSteps() const;

    bool m_factoredOut = false;
};

} // namespace zm
