// Problems of the exponents topic.

#include "model/ExprSum.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

ExprPtr ProblemGenerator::getExponentLikeTerms() {
    std::vector<std::shared_ptr<ExprSoloist>> terms;
    for (int i = 0; i < 5; ++i)
        terms.push_back(randomPositiveSolo());
    const std::string var = randomVar();
    const int32_t highExponent = static_cast<int32_t>(drawMod(3)) + 3;
    const int32_t exponents[] = {1, 2, 2, highExponent, highExponent};
    for (size_t i = 0; i < terms.size(); ++i) {
        terms[i]->setVar(var);
        terms[i]->setExponent(exponents[i]);
    }
    shuffleArray(terms);
    return ExprSum::sumWithArray(exprsOf(terms));
}

} // namespace zm
