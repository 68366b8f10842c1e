// Problems of the exponents topic.

#include "JTMathParser/ExprTextReader.h"
#include "model/ExprSum.h"
#include "shell/generator/Draws.h"
#include "shell/generator/ProblemGenerator.h"

namespace zm {

using namespace draws;

namespace {

// "x^3*x^5": the two powers of x with the operator between them.
ExprPtr powersOfX(int32_t first, const char* op, int32_t second) {
    return ExprTextReader::parseString("x^" + std::to_string(first) + op + "x^" + std::to_string(second));
}

} // namespace

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

ExprPtr ProblemGenerator::getExponentProduct() {
    const int32_t first = static_cast<int32_t>(drawMod(4)) + 2;
    const int32_t second = static_cast<int32_t>(drawMod(4)) + 2;
    return powersOfX(first, "*", second);
}

ExprPtr ProblemGenerator::getExponentQuotient() {
    const int32_t a = static_cast<int32_t>(drawMod(7));
    const int32_t b = static_cast<int32_t>(drawMod(7));
    int32_t first = a == b ? a + 4 : a + 2;
    if (first == b + 3)
        first = b + 4;
    const int32_t second = b + 2 == first + 1 ? b + 3 : b + 2;
    return powersOfX(first, "/", second);
}

} // namespace zm
