#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

class ExprQuotient;
class StepFactorize;

// Demonstrates cancelling across a fraction bar: equal factors above and below are crossed out,
// sums are added up first, and numbers that share a factor are first split (through the factor-pair
// playground) so that the shared factor shows. It plays no refused move of its own. On an expression
// that is not a fraction it has nothing to cancel and only adds and multiplies.
class EliminationExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

    // The main expression when it is exactly a fraction.
    std::shared_ptr<ExprQuotient> quotient() const;

protected:
    void progressStep() override;
    void mixStep() override;
    void failStep() override;

private:
    // A split of a numerator or denominator number that shows a factor it shares across the bar.
    std::shared_ptr<StepFactorize> sharedFactorSplit() const;
};

} // namespace zm
