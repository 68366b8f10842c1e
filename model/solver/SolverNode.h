#pragma once

#include "model/solver/KnownShapes.h"
#include "model/steps/Step.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zm {

class ExprList;
class ExprShape;
class ExprQuotient;
class ExprSoloist;

// How the search ranks the nodes waiting to be expanded.
enum class SolverOrder {
    // By `calculatedScore`: distributing and factoring out favoured, commuting penalised.
    Scored,
    // The same, except that a commute costs what its expression's terms cost. Bringing like terms
    // of a sum together takes commutes, and the scored order puts every commute behind all the
    // expressions that factoring out and distributing can make of fewer than twice the terms: an
    // endless supply, so a sum that needs a commute may never be reached.
    CommutesAtPar,
};

// One expression reached by a path of steps in the search for a simplified form. Its score is the
// number of single terms, adjusted by the kind of step that led to it (distributing and factoring
// out are favoured, commuting is penalised). The search keeps every node in one arena; a node
// points to the node it was expanded from without owning it. A node reached by reordering the
// members of one list is written down without its tree, which is built only when it is asked for
// (most such nodes are never expanded).
class SolverNode {
public:
    explicit SolverNode(ExprPtr expr, StepPtr step = nullptr, const SolverNode* parentNode = nullptr);

    // The first step, on `expr`'s own tree, of the cheapest path found to a simplified expression;
    // null when there is none. The scored order searches first; when it has expanded
    // `maxExpansions` nodes without reaching a simplified expression, the order with commutes at
    // par searches again, within the same bound. `expr` is not changed.
    static StepPtr findNextStepForExpr(const ExprPtr& expr, size_t maxExpansions = kMaxExpansions);
    static constexpr size_t kMaxExpansions = 400;

    const SolverNode* parentNode() const { return m_parentNode; }
    const ExprPtr& expr() const;
    const StepPtr& step() const;
    uint32_t score() const { return m_score; }

    // One child per candidate step, each the step's trial on an id copy of `expr`, cheapest first.
    // With `known`, children whose expressions it holds are left out.
    std::vector<std::unique_ptr<SolverNode>> createChildNodes(const KnownShapes* known = nullptr) const;
    // The exact content of `expr` as bytes (see ExprShape): equal for exactly matching expressions.
    const std::string& shape() const { return m_shape; }
    uint64_t shapeHash() const { return m_shapeHash; }
    uint32_t calculatedScore() const { return m_calculatedScore; }
    // The rank of this node in `order`'s open list, cheapest first.
    uint32_t rank(SolverOrder order) const;
    // The step of this node's ancestor one level below the start (its own step for a child of the
    // start; null for the start).
    StepPtr originalStep() const;

    // The candidate steps for `expr`, in the order the children are made.
    std::vector<StepPtr> addAndMultiplySteps() const;
    std::vector<StepPtr> commuteSteps() const;
    std::vector<StepPtr> factorizeSteps() const;
    std::vector<StepPtr> eliminationSteps() const;
    std::vector<StepPtr> transposeSteps() const;
    std::vector<StepPtr> distributionSteps() const;
    std::vector<StepPtr> factorOutSteps() const;

    std::vector<OperatorPtr> plusOps() const;
    std::vector<OperatorPtr> timesOps() const;
    static std::vector<StepPtr> commuteStepsFromExprList(const ExprList& list);
    static std::vector<StepPtr> eliminationStepsForExprQuotient(const ExprQuotient& quotient);
    static std::vector<ExprPtr> termsFromExpr(const ExprPtr& expr);
    // A term of an equation's side that may be carried across: a whole side, a summand or factor of
    // a side, or a side's denominator (never its numerator).
    static bool transposeEligible(const ExprSoloist& term);
    // Cheapest first: the order of the open list, in which nodes of equal score keep their order.
    static bool isCheaper(const SolverNode& a, const SolverNode& b) {
        return a.calculatedScore() < b.calculatedScore();
    }

private:
    enum class StepKind : uint8_t { Other, Distribute, Commute, FactorOut, Factorize };
    // A step on the parent's tree made only when it is asked for: a commute of two members of a
    // list (`node`, the places `first` and `second`), or a factorization of a term (`node`) into its
    // product pair number `first`.
    struct PendingStep {
        StepKind kind = StepKind::Other;
        const Expr* node = nullptr;
        uint32_t first = 0;
        uint32_t second = 0;
    };

    SolverNode(ExprPtr expr, StepPtr step, const SolverNode* parentNode, const ExprShape& shape);
    // A child whose expression's bytes and terms follow from its parent's, so that its tree need
    // not be built yet.
    SolverNode(StepPtr step, const SolverNode& parentNode, std::string shape, uint64_t shapeHash,
               uint32_t score, uint32_t termScore);
    SolverNode(PendingStep pending, const SolverNode& parentNode, std::string shape, uint64_t shapeHash,
               uint32_t score, uint32_t termScore);

    // A tap step whose trial changes `expr`, with the expression its trial reaches, or, where the
    // tap joins two terms in one, only that expression's bytes.
    struct TapTrial {
        StepPtr step;
        ExprPtr result;
        std::string shape;
    };
    std::vector<TapTrial> tapTrials(const ExprShape& shape) const;
    // Every commute of a member of a list of `expr` onto another member of it (a neighbour only by
    // the earlier member), with the list and the members' places.
    template <class Use> void forEachCommute(Use use) const;

    mutable ExprPtr m_expr;
    mutable StepPtr m_step;
    PendingStep m_pending;
    StepKind m_kind;
    const SolverNode* m_parentNode;
    uint32_t m_score;
    // The score before the step's adjustment: the terms, halved for an equation with a lone variable.
    uint32_t m_termScore;
    uint32_t m_calculatedScore;
    std::string m_shape;
    uint64_t m_shapeHash;

    static StepKind kindOf(const StepPtr& step);
    static uint32_t scoreFor(StepKind kind, uint32_t termScore);
};

// The best-first search behind `findNextStepForExpr`, one expansion at a time. It owns every node it
// makes; the open list is a heap, cheapest first and, among equal scores, first come first; an
// expression already expanded or waiting is not added again (known by its bytes, see ExprShape).
class SolverSearch {
public:
    explicit SolverSearch(const ExprPtr& start, SolverOrder order = SolverOrder::Scored);

    enum class Outcome { Expanded, Found, Exhausted };
    // Takes the cheapest open node: Found when its expression is simplified, else adds its children.
    Outcome expandNext();
    // Expands until a simplified expression is found, nothing is left to expand or
    // `maxExpansions` nodes are expanded in all (then Expanded).
    Outcome run(size_t maxExpansions);

    // The waiting nodes in the order they would be expanded.
    std::vector<const SolverNode*> open() const;
    // The node found, once `expandNext` answered Found.
    const SolverNode* found() const { return m_found; }
    size_t expansions() const { return m_expansions; }

private:
    // Adds the node's expression to those met; false when it was met already.
    bool remember(const SolverNode& node);
    void push(const SolverNode& node);

    struct Waiting {
        uint32_t score;
        uint64_t arrival;
        const SolverNode* node;
        // The heap's order: the greater waits longer.
        friend bool operator<(const Waiting& a, const Waiting& b) {
            return a.score != b.score ? a.score > b.score : a.arrival > b.arrival;
        }
    };

    SolverOrder m_order;
    std::vector<std::unique_ptr<SolverNode>> m_arena;
    std::vector<Waiting> m_open;
    uint64_t m_arrivals = 0;
    // The bytes of every expression expanded or waiting, held by their nodes.
    KnownShapes m_known;
    const SolverNode* m_found = nullptr;
    size_t m_expansions = 0;
};

} // namespace zm
