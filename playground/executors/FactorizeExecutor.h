#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

class StepFactorize;

// Demonstrates factorising: numbers and terms are tapped and split into factor pairs (a number with
// several pairs through the factor-pair playground, where the player picks one) until only primes and
// single variables are left; now and then a prime is tapped and refused. Done once the expression is
// factorised and no modal playground is open.
class FactorizeExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

protected:
    bool isExprDone() const override;
    void progressStep() override;
    void mixStep() override;
    void failStep() override;

private:
    // One split per term that has a pair worth taking (a random one of the pairs beyond 1 x n).
    std::vector<std::shared_ptr<StepFactorize>> usefulSplits() const;
    // The taps on terms whose only pair is refused (the primes).
    std::vector<std::shared_ptr<StepFactorize>> refusedSplits() const;
};

} // namespace zm
