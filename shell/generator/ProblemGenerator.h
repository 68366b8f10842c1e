#pragma once

#include "model/Expr.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zm {

class ExprEquation;
class ExprProduct;
class ExprQuotient;
class ExprSoloist;
class ExprSum;

// Makes the problems of every topic at random. Each operation builds a new tree that nobody else
// holds. Draws come from the process's random source one at a time, in the order each recipe
// states (so a scripted source picks exact problems); shuffles alone draw from the C random()
// sequence.
class ProblemGenerator {
public:
    ProblemGenerator() = delete;

    // Building blocks. A term's coefficient is 1 to 19, negative one time in five.
    static std::shared_ptr<ExprSoloist> randomSolo(); // variable x, y, z or a number
    static std::shared_ptr<ExprSoloist> randomPositiveSolo();
    static std::shared_ptr<ExprSoloist> randomPositiveOverOneSolo(); // 2 to 19
    static std::shared_ptr<ExprSoloist> randomSoloWithVar(const std::string& var);
    static std::shared_ptr<ExprSoloist> randomVarSolo();
    static std::string randomVar(); // x, y, z, a, b or c
    static std::vector<int32_t> primeNumberList();
    // Two numbers around half of `number` (2 or more) that add up to it, or to one less when it is
    // odd, shuffled into a sum; null for a number below 2.
    static std::shared_ptr<ExprSum> cutUpSum(const ExprSoloist& number);

    // Simplify.
    static ExprPtr getSimplifyAddition();
    static ExprPtr getSimplifyNegatives();
    static ExprPtr getSimplifyMultiplication();
    // Like terms.
    static ExprPtr getSimplifyLikeTerms3Elements();
    static ExprPtr getSimplifyLikeTerms4Elements();
    static ExprPtr getSimplifyLikeTerms5Elements();
    static ExprPtr getSimplifyLikeTerms();
    // Multiply then add.
    static ExprPtr getSimplifyOrderOfOperations();
    static ExprPtr getSimplifyOrderOfOperations2Elements();
    // Factors.
    static ExprPtr getFactorizePairs();
    static ExprPtr getFactorizeReplacement();
    static ExprPtr getFactorizePrimeNumbers();
    static ExprPtr getFactorizeConvenience();

    // Elimination.
    static ExprPtr getEliminateEqualsOne();
    static ExprPtr getEliminateCrossOut();
    static ExprPtr getEliminateDivision();
    static ExprPtr getEliminateProductsOnly();

    // Equations.
    static ExprPtr getSolveIsolate();
    static ExprPtr getSolveAdvanced();
    static ExprPtr newEquations();
    static ExprPtr getSolveCleanUp();
    static ExprPtr getSolveSplit();
    static ExprPtr getSubstitution();

    // Distribution.
    static ExprPtr getDistribution();
    // A term times a two-term sum. With `outerVar` off, three times in four a number times
    // (number + variable term), else a variable term times (number + number).
    static std::shared_ptr<ExprProduct> getDistribution(bool outerVar);
    static std::shared_ptr<ExprProduct> getDistributionVarInsideOnly();
    // The product's last direct member that is a single term.
    static std::shared_ptr<ExprSoloist> getSoloFromDistributionProduct(const ExprProduct& product);
    static std::shared_ptr<ExprQuotient> getFactoringOutWithType(int type);
    static ExprPtr getFactoringOut();
    static ExprPtr getDistAdvanced();
    static ExprPtr getDistAdvancedDistWithVar();
    static ExprPtr getDistAdvancedFact();
    static ExprPtr getDistAdvancedTripleDist();
    static ExprPtr getDistAdvancedFatDist();
    static std::shared_ptr<ExprSum> doubleDist();
    static ExprPtr getDistAdvancedDoubleDist();
    static ExprPtr getDistAdvancedDistFact();
    // The variable of the last variable term among the product's direct members and the members of
    // its direct sums; none when all are numbers.
    static std::optional<std::string> getVarFromDistribution(const ExprProduct& product);
    // Renames every variable term among those same terms.
    static void setDistribution(ExprProduct& product, const std::string& var);

    // Exponents.
    static ExprPtr getExponentLikeTerms();
    // x^e1 * x^e2 and x^e1 / x^e2, read from their text. A quotient's exponents never differ by 0
    // or 1, so its answer is never x^0, x or 1/x.
    static ExprPtr getExponentProduct();
    static ExprPtr getExponentQuotient();

private:
    // The shuffled numbers of a `getSimplifyAddition` problem.
    static std::vector<std::shared_ptr<ExprSoloist>> simplifyAdditionTerms();
    // The numerator and denominator of a `getEliminateDivision` problem.
    static std::pair<std::shared_ptr<ExprSoloist>, std::shared_ptr<ExprSoloist>> eliminateDivisionTerms();
    // A new sum of the product's terms, each distributed factor times one member of its sum.
    static std::shared_ptr<ExprSum> distributed(const std::shared_ptr<ExprProduct>& product);
};

} // namespace zm
