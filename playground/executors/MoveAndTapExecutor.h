#pragma once

#include "playground/executors/AIExecutor.h"

namespace zm {

// Demonstrates simplifying by taps: additions and multiplications that change the expression, with
// commutes in between and now and then a tap the rules refuse. It stops when the expression is
// simplified, or when it has neither a useful tap nor anything to commute.
class MoveAndTapExecutor : public AIExecutor {
public:
    using AIExecutor::AIExecutor;

protected:
    void progressStep() override;
    void mixStep() override;
    void failStep() override;

private:
    // Each kind may hand over to the other once when it finds nothing; after that the player stops.
    enum class Fallback { Allowed, Spent };
    void playProgress(Fallback fallback);
    void playMix(Fallback fallback);
};

} // namespace zm
