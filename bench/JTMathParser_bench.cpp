// links: JTMathParser muparser
//
// Parsing and evaluating problem-sized expressions, side by side with muparser: both read each
// text afresh and evaluate it once, over the same corpus (the worked examples of the parser and
// generated problems in x). "ParseAndEvaluateRatio" times both in the same iterations and
// reports ours ÷ muparser's (below 1 means we are faster).

#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTMathEvaluator.h"

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <muParser.h>

namespace {

// One expression written for both parsers: ours marks variables with "$".
struct Text {
    std::string ours;
    std::string muparser;
};

std::string withoutDollars(std::string text) {
    std::erase(text, '$');
    return text;
}

std::string generatedTerm(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> digit(1, 12);
    std::uniform_int_distribution<int> pick(0, 9);
    int choice = depth > 2 ? pick(random) % 3 : pick(random);
    switch (choice) {
    case 0:
        return std::to_string(digit(random));
    case 1:
        return "$x";
    case 2:
        return std::to_string(digit(random)) + "*$x^" + std::to_string(digit(random) % 3 + 1);
    case 3:
    case 4:
        return generatedTerm(random, depth + 1) + " + " + generatedTerm(random, depth + 1);
    case 5:
        return generatedTerm(random, depth + 1) + " - " + generatedTerm(random, depth + 1);
    case 6:
    case 7:
        return generatedTerm(random, depth + 1) + " * " + generatedTerm(random, depth + 1);
    case 8:
        return "(" + generatedTerm(random, depth + 1) + ") / " + std::to_string(digit(random));
    default:
        return std::to_string(digit(random)) + "*(" + generatedTerm(random, depth + 1) + ")";
    }
}

std::vector<Text> corpus() {
    std::vector<std::string> texts = {
        "1+2*3",
        "2^3^2",
        "8/4/2",
        "1-2+3",
        "-2^2",
        "2*-3",
        "2^-3",
        "(1+2)*3",
        "3*$x+2",
        "$x^2 + -4",
        "2*($x + 1)",
        "12*$x - 7",
        "($x + 1) / 2",
        "3 / (2 * $x)",
        "2 * $x / 3",
        "($x + 1) * ($x + -1)",
        "$x / 2 + 1",
        "2 * ($x + 1) * ($x + 2)",
        "sin($x)^2 + cos($x)^2",
        "sqrt(16) + abs(-2.5)",
    };
    std::mt19937 random(20240611);
    for (int i = 0; i < 80; ++i) {
        texts.push_back(generatedTerm(random, 0));
    }
    std::vector<Text> both;
    for (const std::string& text : texts) {
        both.push_back({text, withoutDollars(text)});
    }
    return both;
}

const std::vector<Text>& sharedCorpus() {
    static const std::vector<Text> texts = corpus();
    return texts;
}

double runOurs(const std::vector<Text>& texts, const zm::JTSubstitutions& substitutions) {
    double total = 0;
    zm::JTMathEvaluator& evaluator = zm::JTMathEvaluator::sharedMathEvaluator();
    for (const Text& text : texts) {
        core::Result<zm::JTExpressionPtr> expression = zm::JTExpression::expressionFromString(text.ours);
        core::Result<zm::JTNumber> value =
            expression.value()->evaluateWithSubstitutions(&substitutions, &evaluator);
        total += value.value().doubleValue();
    }
    return total;
}

double runMuparser(const std::vector<Text>& texts, mu::Parser& parser) {
    double total = 0;
    for (const Text& text : texts) {
        parser.SetExpr(text.muparser);
        total += parser.Eval();
    }
    return total;
}

struct Muparser {
    mu::Parser parser;
    double x = 1.5;
    Muparser() { parser.DefineVar("x", &x); }
};

void ParseAndEvaluateOurs(benchmark::State& state) {
    const zm::JTSubstitutions substitutions{{"x", zm::JTNumber::fromDouble(1.5)}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(runOurs(sharedCorpus(), substitutions));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sharedCorpus().size()));
}
BENCHMARK(ParseAndEvaluateOurs);

void ParseAndEvaluateMuparser(benchmark::State& state) {
    Muparser muparser;
    for (auto _ : state) {
        benchmark::DoNotOptimize(runMuparser(sharedCorpus(), muparser.parser));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sharedCorpus().size()));
}
BENCHMARK(ParseAndEvaluateMuparser);

void ParseAndEvaluateRatio(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const zm::JTSubstitutions substitutions{{"x", zm::JTNumber::fromDouble(1.5)}};
    Muparser muparser;
    Clock::duration ours{};
    Clock::duration theirs{};
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        double ourTotal = runOurs(sharedCorpus(), substitutions);
        Clock::time_point middle = Clock::now();
        double theirTotal = runMuparser(sharedCorpus(), muparser.parser);
        Clock::time_point end = Clock::now();
        ours += middle - start;
        theirs += end - middle;
        if (std::abs(ourTotal - theirTotal) > 1e-6 * std::abs(theirTotal)) {
            state.SkipWithError("the two parsers disagree on the corpus");
            break;
        }
    }
    state.counters["ours/muparser"] = static_cast<double>(ours.count()) / static_cast<double>(theirs.count());
}
BENCHMARK(ParseAndEvaluateRatio);

} // namespace
