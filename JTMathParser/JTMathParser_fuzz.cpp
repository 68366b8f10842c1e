// Any text must parse into a tree or fail with an error, never crash, hang or leak; a tree
// must describe itself, equal itself, evaluate to a number or an error, simplify, and rewrite
// by the standard rules. The text reader must turn any text into an expression tree of the
// model (the text itself as one term when nothing else fits).
#include "JTMathParser/ExprTextReader.h"
#include "JTMathParser/JTExpression.h"
#include "JTMathParser/JTMathEvaluator.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    core::Result<zm::JTExpressionPtr> parsed = zm::JTExpression::expressionFromString(text);
    if (parsed) {
        const zm::JTExpression& tree = *parsed.value();
        (void)tree.description();
        if (!tree.isEqual(tree)) {
            __builtin_trap();
        }
        (void)tree.evaluateWithSubstitutions(nullptr, nullptr);
        (void)tree.simplifiedExpressionWithEvaluator(nullptr);
        (void)zm::JTMathEvaluator::sharedMathEvaluator().expressionByRewritingExpression(parsed.value());
    }
    bool failed = false;
    zm::ExprPtr read = zm::ExprTextReader::parseString(text, failed);
    if (!read) {
        __builtin_trap();
    }
    (void)read->description();
    return 0;
}
