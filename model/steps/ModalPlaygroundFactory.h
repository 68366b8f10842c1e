#pragma once

#include <memory>

namespace zm {

// Defined by the playground, which builds on the model.
class Playground;

class ExprEquation;
class ExprSoloist;
class OpTimes;
class StepDistribute;

// Opens the modal playgrounds that some steps ask for instead of being applied. The main playground
// implements it and hands itself to `Step::createModalPlayground`; each operation answers the new
// playground, or null when that playground does not take the objects given.
class ModalPlaygroundFactory {
public:
    virtual ~ModalPlaygroundFactory() = default;

    // The exponents playground for the two factors of `times`, when it takes them.
    virtual std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<OpTimes>& times) = 0;
    // The exponents playground for a power of a term.
    virtual std::shared_ptr<Playground> makePlaygroundExponents(const std::shared_ptr<ExprSoloist>& solo) = 0;
    virtual std::shared_ptr<Playground>
    makePlaygroundDistribute(const std::shared_ptr<StepDistribute>& step) = 0;
    virtual std::shared_ptr<Playground>
    makePlaygroundFactorizeChoices(const std::shared_ptr<ExprSoloist>& solo) = 0;
    virtual std::shared_ptr<Playground>
    makePlaygroundEuclideanFountain(const std::shared_ptr<ExprEquation>& equation) = 0;
};

} // namespace zm
