// The modal playgrounds that steps ask the main playground for. Each answers the playground that
// takes over the move; a kind without one answers null, and the step is then applied as it stands
// (a choice of factor pairs or a both-sides start changes nothing; a product that only an exponents
// playground would take apart is refused and shakes).
//
// The playgrounds of distribution, both sides, factor pairs and exponents are made here as they
// join the game.

#include "playground/PlaygroundDistribute.h"
#include "playground/PlaygroundEuclideanFountain.h"
#include "playground/PlaygroundExponents.h"
#include "playground/PlaygroundFactorizeChoices.h"
#include "playground/PlaygroundMain.h"

namespace zm {

std::shared_ptr<Playground> PlaygroundMain::makePlaygroundExponents(const std::shared_ptr<OpTimes>& times) {
    return PlaygroundExponents::create(times, *this);
}

std::shared_ptr<Playground>
PlaygroundMain::makePlaygroundExponents(const std::shared_ptr<ExprSoloist>& solo) {
    return PlaygroundExponents::create(solo, *this);
}

std::shared_ptr<Playground>
PlaygroundMain::makePlaygroundDistribute(const std::shared_ptr<StepDistribute>& step) {
    return PlaygroundDistribute::create(step, *this);
}

std::shared_ptr<Playground>
PlaygroundMain::makePlaygroundFactorizeChoices(const std::shared_ptr<ExprSoloist>& solo) {
    return PlaygroundFactorizeChoices::create(solo, *this);
}

std::shared_ptr<Playground>
PlaygroundMain::makePlaygroundEuclideanFountain(const std::shared_ptr<ExprEquation>& equation) {
    return PlaygroundEuclideanFountain::create(equation, *this);
}

} // namespace zm
