// The steps of the expression model keep the value that the evaluator computes: every kind of step,
// applied at random to random trees, with the evaluator reading each expression's text form (its
// variables marked as the evaluator's variables) as the oracle.

#include "JTMathParser/JTMathEvaluator.h"
#include "model/testing/ValueProperty.h"

#include <cmath>
#include <regex>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

// The evaluator's reading of a text form: every name becomes a variable and a term with a
// coefficient stays one value, "3x^2 / 6x" becoming "(3*$x^2) / (6*$x)", as the text reader makes a
// single term of it.
std::string markVariables(const std::string& text) {
    static const std::regex term(R"((\d+)([a-zA-Z]+)(\^-?\d+)?)");
    static const std::regex name(R"((^|[^$a-zA-Z])([a-zA-Z]+))");
    return std::regex_replace(std::regex_replace(text, term, "($1*$$$2$3)"), name, "$1$$$2");
}

double evaluateText(const Expr& expr, const Point& at) {
    JTSubstitutions substitutions;
    for (const auto& [name, value] : at)
        substitutions.emplace(name, JTNumber::fromDouble(value));
    const std::string text = markVariables(expr.description());
    auto value = JTMathEvaluator::sharedMathEvaluator().evaluateString(text, &substitutions);
    if (!value) {
        ADD_FAILURE() << "the evaluator refused " << text << ": " << value.error().description;
        return std::nan("");
    }
    return value.value().doubleValue();
}

TEST(ModelValues, TheOracleAgreesWithTheModelsValues) {
    RandomTrees trees(9001);
    for (int trial = 0; trial < 200; ++trial) {
        const ExprPtr tree = trees.expr(3);
        for (const Point& point : kPoints) {
            const double model = evaluate(*tree, point);
            const double parsed = evaluateText(*tree, point);
            if (usable(model) && usable(parsed)) {
                EXPECT_TRUE(nearlyEqual(model, parsed))
                    << tree->description() << " model " << model << " evaluator " << parsed;
            }
        }
    }
}

TEST(ModelValues, BasicStepsKeepValues) {
    const Tally tally = applyAtRandom(evaluateText, 1207, 500, basicMoves);
    EXPECT_GT(tally.applied, 150);
}

TEST(ModelValues, FactorStepsKeepValues) {
    const Tally tally = applyAtRandom(evaluateText, 1208, 500,
                                      [](const ExprPtr& root) { return factorStepCandidates(root); });
    EXPECT_GT(tally.applied, 150);
}

} // namespace
} // namespace zm
