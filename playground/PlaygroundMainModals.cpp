// The modal playgrounds that steps ask the main playground for: exponents, distribution, factor pairs
// and both sides. Each maker answers the playground that takes over the move, or null when that
// playground does not take what the step names (a product or term the exponents playground does not
// qualify) or there is no playground view left to show it on. On null the step goes on without one:
// a tapped "*" is tried for distribution and is otherwise multiplied as it stands; any other step is
// applied to the tree (a choice of factor pairs or a both-sides start then changes nothing).

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
