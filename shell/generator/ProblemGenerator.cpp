// The random building blocks every recipe shares.

#include "shell/generator/ProblemGenerator.h"

#include "model/ExprSum.h"
#include "shell/generator/Draws.h"

#include <cassert>

namespace zm {

using namespace draws;

std::shared_ptr<ExprSoloist> ProblemGenerator::randomSolo() {
    static const char* const kSoloVars[] = {"x", "y", "z", kNumVar};
    const uint32_t magnitude = draw();
    const uint32_t sign = draw();
    const char* var = kSoloVars[drawMod(4)];
    const int32_t coef = static_cast<int32_t>(magnitude % 19) + 1;
    return ExprSoloist::soloWithCoef(sign % 5 == 0 ? -coef : coef, var);
}

std::shared_ptr<ExprSoloist> ProblemGenerator::randomPositiveSolo() {
    auto solo = randomSolo();
    if (solo->coef() < 0)
        solo->setCoef(-solo->coef());
    return solo;
}

std::shared_ptr<ExprSoloist> ProblemGenerator::randomPositiveOverOneSolo() {
    auto solo = randomPositiveSolo();
    if (solo->coef() == 1)
        solo->setCoef(static_cast<int32_t>(drawMod(8)) + 2);
    return solo;
}

std::shared_ptr<ExprSoloist> ProblemGenerator::randomSoloWithVar(const std::string& var) {
    auto solo = randomSolo();
    solo->setVar(var);
    return solo;
}

std::shared_ptr<ExprSoloist> ProblemGenerator::randomVarSolo() {
    auto solo = randomSolo();
    solo->setVar(randomVar());
    return solo;
}

std::string ProblemGenerator::randomVar() {
    static const char* const kVars[] = {"x", "y", "z", "a", "b", "c"};
    return kVars[drawMod(6)];
}

std::vector<int32_t> ProblemGenerator::primeNumberList() {
    return {2, 3, 5, 7, 11, 13, 17, 19, 23};
}

std::shared_ptr<ExprSum> ProblemGenerator::cutUpSum(const ExprSoloist& number) {
    assert(number.coef() >= 2 && "only numbers of 2 or more can be cut into two positive halves");
    const int32_t half = number.coef() / 2;
    if (half < 1)
        return nullptr;
    const int32_t offset = static_cast<int32_t>(drawMod(static_cast<uint32_t>(half)));
    return ExprSum::sumWithArray(shuffled({
        ExprSoloist::soloWithCoef(half - offset),
        ExprSoloist::soloWithCoef(half + offset),
    }));
}

} // namespace zm
