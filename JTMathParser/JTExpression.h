#pragma once

#include "JTMathParser/JTEvaluation.h"
#include "JTMathParser/JTNumber.h"
#include "platform/core/Result.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zm {

class JTExpression;
using JTExpressionPtr = std::shared_ptr<const JTExpression>;

enum class JTExpressionKind : int { Number = 0, Function = 1, Variable = 2 };

// A parse tree: numbers and variables at the leaves, function applications inside (every
// operator is recorded under its function name, so "1+2" is add(1, 2)).
//
// Nodes are immutable and shared: rewriting puts the same node into new trees. The one
// thing that changes is the parent link, which always names the function expression that
// most recently took the node as an argument. No tree is deeper than kMaxDepth, so every
// recursive walk over one (and its destruction) is bounded.
class JTExpression : public std::enable_shared_from_this<JTExpression> {
public:
    static constexpr int kMaxDepth = 512;
    // Evaluations nest through variables bound to expressions or texts as well as through
    // trees; beyond this many levels (a variable bound, directly or not, to itself) they fail.
    static constexpr int kMaxEvaluationDepth = 2 * kMaxDepth;

    virtual ~JTExpression() = default;
    JTExpression(const JTExpression&) = delete;
    JTExpression& operator=(const JTExpression&) = delete;

    // Parses a text.
    static core::Result<JTExpressionPtr> expressionFromString(std::string_view text);

    static JTExpressionPtr numberExpressionWithNumber(const JTNumber& number);
    // Null for a name that is empty once one leading "$" is dropped.
    static JTExpressionPtr variableExpressionWithVariable(std::string_view variable);
    // Makes itself the parent of every argument. Fails with error 18 for a null argument
    // and with error 1 when the tree would be deeper than kMaxDepth.
    static core::Result<JTExpressionPtr>
    functionExpressionWithFunction(std::string_view function, std::vector<JTExpressionPtr> arguments);

    virtual JTExpressionKind expressionType() const = 0;
    // The function expression that holds this node as an argument; null for a root.
    JTExpressionPtr parentExpression() const { return m_parent.lock(); }
    // 1 for a leaf, one more than the deepest argument for a function.
    int depth() const { return m_depth; }

    // Kind-specific parts; asking a node of another kind is a programming error.
    virtual const JTNumber& number() const;
    // The function name in lower case.
    virtual const std::string& function() const;
    virtual std::span<const JTExpressionPtr> arguments() const;
    virtual const std::string& variable() const;

    // "add(1,multiply(2,$x))": numbers as their own description, variables with "$",
    // functions by their lower-cased name.
    virtual std::string description() const = 0;

    // The value with the substitutions (null for none) and the evaluator (null for the shared
    // one): a number is itself, a variable its substitution (error 14 without one), a function
    // the evaluator's function of its name applied to the arguments (error 15 for an unknown
    // name, 16 for an answer of no known kind).
    virtual core::Result<JTNumber> evaluateWithSubstitutions(const JTSubstitutions* substitutions,
                                                             JTMathEvaluator* evaluator) const = 0;

    // Numbers and variables are their own simplification. A function whose arguments all
    // simplify to numbers becomes the number it evaluates to (without substitutions); one that
    // cannot be evaluated, or has other arguments, becomes a new function of the simplified
    // arguments.
    virtual core::Result<JTExpressionPtr> simplifiedExpressionWithEvaluator(JTMathEvaluator* evaluator) const;
    // The same with the shared evaluator; a failure is logged ("error: ...") and gives null.
    JTExpressionPtr simplifiedExpression() const;

    // Structural: same kind and equal numbers, names or (lower-cased) functions with equal
    // arguments.
    bool isEqual(const JTExpression& other) const;
    friend bool operator==(const JTExpression& a, const JTExpression& b) { return a.isEqual(b); }

protected:
    explicit JTExpression(int depth)
        : m_depth(depth) {}

private:
    friend class JTFunctionExpression;

    mutable std::weak_ptr<const JTExpression> m_parent;
    int m_depth;
};

} // namespace zm
