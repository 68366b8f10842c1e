// Every generated problem reads back from its text form as the same tree: the form in which
// problems are written to problem sets and handed to the keyboard.

#include "JTMathParser/ExprTextReader.h"
#include "shell/generator/ProblemGenerator.h"
#include "shell/generator/testing/GeneratorTesting.h"

namespace zm {
namespace {

using namespace zm::testing;

struct Named {
    const char* name;
    ExprPtr (*generate)();
};

const Named kGenerators[] = {
    {"getSimplifyAddition", ProblemGenerator::getSimplifyAddition},
    {"getSimplifyNegatives", ProblemGenerator::getSimplifyNegatives},
    {"getSimplifyMultiplication", ProblemGenerator::getSimplifyMultiplication},
    {"getSimplifyLikeTerms3Elements", ProblemGenerator::getSimplifyLikeTerms3Elements},
    {"getSimplifyLikeTerms4Elements", ProblemGenerator::getSimplifyLikeTerms4Elements},
    {"getSimplifyLikeTerms5Elements", ProblemGenerator::getSimplifyLikeTerms5Elements},
    {"getSimplifyLikeTerms", ProblemGenerator::getSimplifyLikeTerms},
    {"getSimplifyOrderOfOperations", ProblemGenerator::getSimplifyOrderOfOperations},
    {"getSimplifyOrderOfOperations2Elements", ProblemGenerator::getSimplifyOrderOfOperations2Elements},
    {"getFactorizePairs", ProblemGenerator::getFactorizePairs},
    {"getFactorizeReplacement", ProblemGenerator::getFactorizeReplacement},
    {"getFactorizeConvenience", ProblemGenerator::getFactorizeConvenience},
    {"getEliminateEqualsOne", ProblemGenerator::getEliminateEqualsOne},
    {"getEliminateCrossOut", ProblemGenerator::getEliminateCrossOut},
    {"getEliminateDivision", ProblemGenerator::getEliminateDivision},
    {"getEliminateProductsOnly", ProblemGenerator::getEliminateProductsOnly},
    {"getSolveIsolate", ProblemGenerator::getSolveIsolate},
    {"getSolveAdvanced", ProblemGenerator::getSolveAdvanced},
    {"getSolveCleanUp", ProblemGenerator::getSolveCleanUp},
    {"getSolveSplit", ProblemGenerator::getSolveSplit},
    {"getDistribution", ProblemGenerator::getDistribution},
    {"getFactoringOut", ProblemGenerator::getFactoringOut},
    {"getDistAdvanced", ProblemGenerator::getDistAdvanced},
    {"getDistAdvancedDoubleDist", ProblemGenerator::getDistAdvancedDoubleDist},
    {"getDistAdvancedDistFact", ProblemGenerator::getDistAdvancedDistFact},
    {"getExponentLikeTerms", ProblemGenerator::getExponentLikeTerms},
    {"getExponentProduct", ProblemGenerator::getExponentProduct},
    {"getExponentQuotient", ProblemGenerator::getExponentQuotient},
};

TEST(GeneratedText, EveryProblemReadsBackAsTheSameTree) {
    for (const Named& generator : kGenerators) {
        SCOPED_TRACE(generator.name);
        forEachSeed(
            [&](uint64_t) {
                ExprPtr problem = generator.generate();
                const std::string text = problem->description();
                bool failed = true;
                ExprPtr read = ExprTextReader::parseString(text, failed);
                EXPECT_FALSE(failed) << text;
                EXPECT_TRUE(read->isExactMatch(*problem)) << text << " reads back as " << read->description();
            },
            100);
    }
}

} // namespace
} // namespace zm
