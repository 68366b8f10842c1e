#include "model/solver/SolverNode.h"

#include "model/ExprEquation.h"
#include "model/ExprList.h"
#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/solver/ExprShape.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepDistribute.h"
#include "model/steps/StepEliminate.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepTranspose.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zm {

namespace {

// The number of terms, halved for an equation with a lone variable.
uint32_t termScoreFor(const ExprPtr& expr, uint32_t terms) {
    if (auto equation = asExactly<ExprEquation>(expr); equation && equation->otherSideOfIsolatedVar())
        return terms >> 1;
    return terms;
}

} // namespace

SolverNode::StepKind SolverNode::kindOf(const StepPtr& step) {
    if (!step)
        return StepKind::Other;
    const Step& kind = *step;
    if (typeid(kind) == typeid(StepDistribute))
        return StepKind::Distribute;
    if (typeid(kind) == typeid(StepCommute))
        return StepKind::Commute;
    if (typeid(kind) == typeid(StepFactorOut))
        return StepKind::FactorOut;
    if (typeid(kind) == typeid(StepFactorize))
        return StepKind::Factorize;
    return StepKind::Other;
}

// The term score halved after a distribution, doubled after a commute and divided by three after a
// factoring out.
uint32_t SolverNode::scoreFor(StepKind kind, uint32_t termScore) {
    switch (kind) {
    case StepKind::Distribute:
        return termScore >> 1;
    case StepKind::Commute:
        return termScore << 1;
    case StepKind::FactorOut:
        return termScore / 3;
    case StepKind::Other:
    case StepKind::Factorize:
        break;
    }
    return termScore;
}

SolverNode::SolverNode(ExprPtr expr, StepPtr step, const SolverNode* parentNode)
    : SolverNode(expr, std::move(step), parentNode, expr ? ExprShape(*expr) : ExprShape()) {}

SolverNode::SolverNode(ExprPtr expr, StepPtr step, const SolverNode* parentNode, const ExprShape& shape)
    : m_expr(std::move(expr))
    , m_step(std::move(step))
    , m_kind(kindOf(m_step))
    , m_parentNode(parentNode)
    , m_score(shape.terms())
    , m_termScore(termScoreFor(m_expr, m_score))
    , m_calculatedScore(scoreFor(m_kind, m_termScore))
    , m_shape(shape.bytes())
    , m_shapeHash(KnownShapes::hashOf(m_shape)) {}

SolverNode::SolverNode(StepPtr step, const SolverNode& parentNode, std::string shape, uint64_t shapeHash,
                       uint32_t score, uint32_t termScore)
    : m_step(std::move(step))
    , m_kind(kindOf(m_step))
    , m_parentNode(&parentNode)
    , m_score(score)
    , m_termScore(termScore)
    , m_calculatedScore(scoreFor(m_kind, m_termScore))
    , m_shape(std::move(shape))
    , m_shapeHash(shapeHash) {}

SolverNode::SolverNode(PendingStep pending, const SolverNode& parentNode, std::string shape,
                       uint64_t shapeHash, uint32_t score, uint32_t termScore)
    : m_pending(pending)
    , m_kind(pending.kind)
    , m_parentNode(&parentNode)
    , m_score(score)
    , m_termScore(termScore)
    , m_calculatedScore(scoreFor(m_kind, m_termScore))
    , m_shape(std::move(shape))
    , m_shapeHash(shapeHash) {}

const StepPtr& SolverNode::step() const {
    if (m_step || !m_pending.node)
        return m_step;
    if (m_pending.kind == StepKind::Commute) {
        const auto& members = static_cast<const ExprList&>(*m_pending.node).exprs();
        m_step = StepCommute::stepCommuteWithPrincipal(members[m_pending.first], members[m_pending.second]);
    } else {
        auto term = std::static_pointer_cast<ExprSoloist>(m_pending.node->self());
        m_step = StepFactorize::stepFactorizeWithOg(term, term->getFactorizedProductPairs()[m_pending.first]);
    }
    return m_step;
}

const ExprPtr& SolverNode::expr() const {
    if (!m_expr && m_parentNode && step())
        m_expr = applyToIdCopy(*m_step, *m_parentNode->expr());
    return m_expr;
}

uint32_t SolverNode::rank(SolverOrder order) const {
    if (order == SolverOrder::CommutesAtPar && m_kind == StepKind::Commute)
        return m_termScore;
    return m_calculatedScore;
}

StepPtr SolverNode::findNextStepForExpr(const ExprPtr& expr, size_t maxExpansions) {
    if (!expr)
        return nullptr;
    for (const SolverOrder order : {SolverOrder::Scored, SolverOrder::CommutesAtPar}) {
        SolverSearch search(expr, order);
        switch (search.run(maxExpansions)) {
        case SolverSearch::Outcome::Found:
            return search.found()->originalStep();
        case SolverSearch::Outcome::Exhausted:
            // Every expression within reach was expanded: no order finds more.
            return nullptr;
        case SolverSearch::Outcome::Expanded:
            break;
        }
    }
    return nullptr;
}

namespace {

// A product a term can be written as (kept, since its bytes point to its nodes), and whether
// writing it so is refused.
struct FactorPair {
    std::shared_ptr<ExprProduct> product;
    ExprShape shape;
    bool refused;
};

// The product pairs of a term, in the order it gives them. Terms come back again and again in a
// search, so the pairs of each are kept, by the term's bytes, for the thread's next searches.
const std::vector<FactorPair>& factorPairsOf(const ExprSoloist& term) {
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>()(bytes); }
    };
    thread_local std::unordered_map<std::string, std::vector<FactorPair>, Hash, std::equal_to<>> known;
    const ExprShape key(term);
    if (auto found = known.find(std::string_view(key.bytes())); found != known.end())
        return found->second;
    // The values are few; a long game does not grow this without bound.
    if (known.size() > 4096)
        known.clear();
    std::vector<FactorPair> pairs;
    for (const auto& product : term.getFactorizedProductPairs())
        pairs.push_back({product, ExprShape(*product), StepFactorize::exprReplacementWillFail(*product)});
    return known.emplace(key.bytes(), std::move(pairs)).first->second;
}

const std::string& numberOneBytes() {
    static const std::string bytes = ExprShape(*ExprSoloist::soloWithCoef(1)).bytes();
    return bytes;
}

// Appends what is left of `term`, a member of a sum, once `solo` leaves it, as members of a sum: the
// number 1 for the term itself, the one other factor of a product of two (a sum's members for a
// sum), or the product of the other factors. Answers the members appended.
uint32_t appendRest(std::string& members, const ExprShape& shape, const Expr& term, const Expr& solo) {
    if (&term == &solo) {
        members.append(numberOneBytes());
        return 1;
    }
    std::vector<const Expr*> others;
    for (const ExprPtr& factor : term.children()) {
        if (factor.get() != &solo)
            others.push_back(factor.get());
    }
    if (others.size() == 1) {
        if (!isExactly<ExprSum>(others.front())) {
            members.append(shape.bytesOf(*others.front()));
            return 1;
        }
        for (const ExprPtr& member : others.front()->children())
            members.append(shape.bytesOf(*member));
        return static_cast<uint32_t>(others.front()->children().size());
    }
    members.append(ExprShape::productHeader(static_cast<uint32_t>(others.size())));
    for (const Expr* other : others)
        members.append(shape.bytesOf(*other));
    return 1;
}

// The bytes and terms of what factoring the second of two like terms out of the two members of a
// sum that hold them gives: the factor times the sum of what is left of each member, standing where
// the first member stood, the second member gone; a sum of two gives way to the product, which joins
// a product that holds the sum.
std::pair<std::string, uint32_t> factoredOut(const ExprShape& shape, const StepFactorOut& step,
                                             uint32_t terms) {
    const Expr& first = *step.solos().front();
    const Expr& factor = *step.solos().back();
    const ExprSum& sum = *step.grandmaSum();
    auto termOf = [](const Expr& solo) -> const Expr* {
        const ExprPtr parent = solo.exprParent();
        return isExactly<ExprProduct>(parent) ? parent.get() : &solo;
    };
    const Expr* firstTerm = termOf(first);
    const Expr* factorTerm = termOf(factor);

    std::string inner;
    uint32_t innerCount = appendRest(inner, shape, *firstTerm, first);
    innerCount += appendRest(inner, shape, *factorTerm, factor);
    std::string productMembers(shape.bytesOf(factor));
    productMembers += ExprShape::sumHeader(innerCount);
    productMembers += inner;
    // The first solo leaves its product; the factor leaves its own and stays, beside a 1 where it
    // stood alone.
    const uint32_t factoredTerms = terms - (firstTerm != &first ? 1 : 0) + (factorTerm == &factor ? 1 : 0);

    const auto& members = sum.exprs();
    if (members.size() > 2) {
        std::string bytes = ExprShape::sumHeader(static_cast<uint32_t>(members.size() - 1));
        for (const ExprPtr& member : members) {
            if (member.get() == firstTerm)
                bytes += ExprShape::productHeader(2) + productMembers;
            else if (member.get() != factorTerm)
                bytes += shape.bytesOf(*member);
        }
        return {shape.withNodeReplaced(sum, bytes), factoredTerms};
    }
    if (isExactly<ExprProduct>(sum.exprParent()))
        return {shape.withNodeSpliced(sum, productMembers, 2), factoredTerms};
    return {shape.withNodeReplaced(sum, ExprShape::productHeader(2) + productMembers), factoredTerms};
}

} // namespace

std::vector<std::unique_ptr<SolverNode>> SolverNode::createChildNodes(const KnownShapes* known) const {
    std::vector<std::unique_ptr<SolverNode>> children;
    auto adopt = [&](StepPtr step, ExprPtr result) {
        children.push_back(std::make_unique<SolverNode>(std::move(result), std::move(step), this));
    };
    // Each child's bytes are hashed once, for this test and for the search's.
    auto isKnown = [&](const std::string& shape, uint64_t hash) {
        return known && known->contains(shape, hash);
    };
    auto adoptUnbuilt = [&](StepPtr step, std::string shape, uint32_t score, uint32_t termScore) {
        const uint64_t hash = KnownShapes::hashOf(shape);
        if (!isKnown(shape, hash))
            children.push_back(std::unique_ptr<SolverNode>(
                new SolverNode(std::move(step), *this, std::move(shape), hash, score, termScore)));
    };
    const ExprShape shape(*expr());
    // The tap steps were tried already to find those that change anything; two terms joined in one
    // leave one term less.
    for (auto& trial : tapTrials(shape)) {
        if (trial.result)
            adopt(std::move(trial.step), std::move(trial.result));
        else
            adoptUnbuilt(std::move(trial.step), std::move(trial.shape), m_score - 1, m_score - 1);
    }

    forEachCommute([&](const ExprList& list, size_t from, size_t to) {
        std::string moved = shape.withMemberMoved(list, from, to);
        const uint64_t hash = KnownShapes::hashOf(moved);
        if (!isKnown(moved, hash))
            children.push_back(std::unique_ptr<SolverNode>(new SolverNode(
                PendingStep{StepKind::Commute, &list, static_cast<uint32_t>(from), static_cast<uint32_t>(to)},
                *this, std::move(moved), hash, m_score, m_termScore)));
    });
    for (const auto& term : expr()->getSolos()) {
        const std::vector<FactorPair>& pairs = factorPairsOf(*term);
        // The pair 1 * n shows nothing new: it is offered only as a term's one pair, and then
        // only where it is not refused.
        const size_t from = pairs.size() == 1 && !pairs.front().refused ? 0 : 1;
        for (size_t pair = from; pair < pairs.size(); ++pair) {
            // In an equation a side written as a product no longer stands alone, which the bytes
            // do not tell.
            if (pairs[pair].refused || isExactly<ExprEquation>(term->exprParent())) {
                const StepPtr step =
                    StepFactorize::stepFactorizeWithOg(term, term->getFactorizedProductPairs()[pair]);
                if (ExprPtr result = applyToIdCopy(*step, *expr()))
                    adopt(step, result);
                continue;
            }
            // A product replacing a factor of a product joins it.
            const bool spliced = isExactly<ExprProduct>(term->exprParent());
            std::string factorized = shape.withNodeReplaced(*term, pairs[pair].shape, spliced);
            const uint32_t score = m_score - 1 + pairs[pair].shape.terms();
            const uint64_t hash = KnownShapes::hashOf(factorized);
            if (!isKnown(factorized, hash))
                children.push_back(std::unique_ptr<SolverNode>(new SolverNode(
                    PendingStep{StepKind::Factorize, term.get(), static_cast<uint32_t>(pair), 0}, *this,
                    std::move(factorized), hash, score, termScoreFor(expr(), score))));
        }
    }
    for (auto generator :
         {&SolverNode::eliminationSteps, &SolverNode::transposeSteps, &SolverNode::distributionSteps}) {
        for (const StepPtr& step : (this->*generator)()) {
            if (ExprPtr result = applyToIdCopy(*step, *expr()))
                adopt(step, result);
        }
    }
    // In an equation a lone variable may come or go, which the bytes do not tell.
    const bool equation = isExactly<ExprEquation>(expr());
    for (const StepPtr& step : factorOutSteps()) {
        const auto& factorOut = static_cast<const StepFactorOut&>(*step);
        if (equation || factorOut.solos().size() != 2) {
            if (ExprPtr result = applyToIdCopy(*step, *expr()))
                adopt(step, result);
            continue;
        }
        auto [factored, terms] = factoredOut(shape, factorOut, m_score);
        adoptUnbuilt(step, std::move(factored), terms, terms);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return isCheaper(*a, *b); });
    return children;
}

StepPtr SolverNode::originalStep() const {
    const SolverNode* node = this;
    while (node->m_parentNode && node->m_parentNode->m_parentNode)
        node = node->m_parentNode;
    return node->step();
}

namespace {

template <class Op> std::vector<OperatorPtr> opsOfClass(const Expr& expr) {
    std::vector<OperatorPtr> ops;
    for (const OperatorPtr& op : expr.getOps()) {
        if (isExactly<Op>(op))
            ops.push_back(op);
    }
    return ops;
}

} // namespace

std::vector<OperatorPtr> SolverNode::plusOps() const {
    return opsOfClass<OpPlus>(*expr());
}

std::vector<OperatorPtr> SolverNode::timesOps() const {
    return opsOfClass<OpTimes>(*expr());
}

namespace {

// Whether asking the tapped operator's operands to combine leaves them as they are: a term makes a
// new term (but multiplies itself into a fraction's numerator), a sum or a product answers itself or
// nothing.
bool combiningChangesNothing(const Operator& op, const Expr& left, const Expr& right) {
    if (isExactly<ExprSum>(&left) || isExactly<ExprProduct>(&left))
        return true;
    return isExactly<ExprSoloist>(&left) && (isExactly<OpPlus>(&op) || !isExactly<ExprQuotient>(&right));
}

// What the tapped operator's operands combine into, asked where that changes nothing; null when
// they do not combine.
ExprPtr combinedOperands(const Operator& op, const ExprPtr& left, const ExprPtr& right) {
    return isExactly<OpPlus>(&op) ? left->addExpr(right, nullptr, nullptr)
                                  : left->multiplyExpr(right, nullptr, nullptr);
}

size_t memberIndex(const ExprList& list, const Expr& member) {
    const auto& members = list.exprs();
    return static_cast<size_t>(std::find_if(members.begin(), members.end(),
                                            [&](const ExprPtr& each) { return each.get() == &member; }) -
                               members.begin());
}

} // namespace

std::vector<SolverNode::TapTrial> SolverNode::tapTrials(const ExprShape& shape) const {
    std::vector<OperatorPtr> ops = plusOps();
    const std::vector<OperatorPtr> times = timesOps();
    ops.insert(ops.end(), times.begin(), times.end());
    // In an equation the terms joined may leave a variable alone on its side, which the bytes do not
    // tell.
    const bool equation = isExactly<ExprEquation>(expr());
    std::vector<TapTrial> trials;
    for (const OperatorPtr& op : ops) {
        const ExprPtr left = op->firstExpr();
        const ExprPtr right = op->secondExpr();
        if (left && right && combiningChangesNothing(*op, *left, *right)) {
            // A tap whose operands do not combine is refused and changes nothing.
            const ExprPtr combined = combinedOperands(*op, left, right);
            if (!combined)
                continue;
            auto list = std::dynamic_pointer_cast<ExprList>(left->exprParent());
            const size_t at = list ? memberIndex(*list, *left) : 0;
            if (!equation && isExactly<ExprSoloist>(left) && isExactly<ExprSoloist>(right) && list &&
                at + 1 < list->exprs().size() && list->exprs()[at + 1] == right) {
                std::string joined = shape.withNeighboursJoined(*list, at, ExprShape(*combined));
                if (joined != shape.bytes())
                    trials.push_back({op->step(), nullptr, std::move(joined)});
                continue;
            }
        }
        StepPtr step = op->step();
        ExprPtr result = step ? applyToIdCopy(*step, *expr()) : nullptr;
        if (result && !result->isExactMatch(*expr()))
            trials.push_back({std::move(step), std::move(result), {}});
    }
    return trials;
}

std::vector<StepPtr> SolverNode::addAndMultiplySteps() const {
    std::vector<StepPtr> steps;
    for (auto& trial : tapTrials(ExprShape(*expr())))
        steps.push_back(std::move(trial.step));
    return steps;
}

namespace {

// Moving a member onto its neighbour swaps the two, whichever of them moves: that pair is tried
// once, with the earlier member moving.
template <class Use> void forEachMove(size_t members, Use use) {
    for (size_t from = 0; from < members; ++from) {
        for (size_t to = 0; to < members; ++to) {
            if (from != to && from != to + 1)
                use(from, to);
        }
    }
}

} // namespace

std::vector<StepPtr> SolverNode::commuteStepsFromExprList(const ExprList& list) {
    std::vector<StepPtr> steps;
    const std::vector<ExprPtr>& members = list.exprs();
    forEachMove(members.size(), [&](size_t from, size_t to) {
        steps.push_back(StepCommute::stepCommuteWithPrincipal(members[from], members[to]));
    });
    return steps;
}

template <class Use> void SolverNode::forEachCommute(Use use) const {
    for (const auto& list : expr()->childrenOfType<ExprList>())
        forEachMove(list->exprs().size(), [&](size_t from, size_t to) { use(*list, from, to); });
}

std::vector<StepPtr> SolverNode::commuteSteps() const {
    std::vector<StepPtr> steps;
    forEachCommute([&](const ExprList& list, size_t from, size_t to) {
        steps.push_back(StepCommute::stepCommuteWithPrincipal(list.exprs()[from], list.exprs()[to]));
    });
    return steps;
}

std::vector<StepPtr> SolverNode::factorizeSteps() const {
    std::vector<StepPtr> steps;
    for (const auto& term : expr()->getSolos()) {
        const auto pairs = term->getFactorizedProductPairs();
        if (pairs.size() == 1) {
            if (!StepFactorize::exprReplacementWillFail(*pairs.front()))
                steps.push_back(StepFactorize::stepFactorizeWithOg(term, pairs.front()));
        } else {
            for (size_t i = 1; i < pairs.size(); ++i)
                steps.push_back(StepFactorize::stepFactorizeWithOg(term, pairs[i]));
        }
    }
    return steps;
}

std::vector<ExprPtr> SolverNode::termsFromExpr(const ExprPtr& expr) {
    if (auto product = asExactly<ExprProduct>(expr))
        return product->exprs();
    return {expr};
}

std::vector<StepPtr> SolverNode::eliminationStepsForExprQuotient(const ExprQuotient& quotient) {
    std::vector<StepPtr> steps;
    for (const ExprPtr& n : termsFromExpr(quotient.firstExpr())) {
        for (const ExprPtr& d : termsFromExpr(quotient.secondExpr())) {
            if (!n->isEquivalent(*d))
                continue;
            if (auto step = StepEliminate::stepEliminateWithExprs({n, d}))
                steps.push_back(step);
        }
    }
    return steps;
}

std::vector<StepPtr> SolverNode::eliminationSteps() const {
    std::vector<StepPtr> steps;
    for (const auto& quotient : expr()->childrenOfType<ExprQuotient>()) {
        auto more = eliminationStepsForExprQuotient(*quotient);
        steps.insert(steps.end(), more.begin(), more.end());
    }
    return steps;
}

bool SolverNode::transposeEligible(const ExprSoloist& term) {
    const ExprPtr parent = term.exprParent();
    if (!parent)
        return false;
    if (!isExactly<ExprEquation>(parent) && !isExactly<ExprEquation>(parent->exprParent()))
        return false;
    auto fraction = asExactly<ExprQuotient>(parent);
    return !fraction || fraction->firstExpr().get() != &term;
}

std::vector<StepPtr> SolverNode::transposeSteps() const {
    std::vector<StepPtr> steps;
    for (const auto& term : expr()->getSolos()) {
        if (!transposeEligible(*term))
            continue;
        const ExprPtr parent = term->exprParent();
        const int32_t sym = isExactly<ExprProduct>(parent)    ? ArithmeticTypeMultiply
                            : isExactly<ExprQuotient>(parent) ? ArithmeticTypeDivide
                                                              : ArithmeticTypeAdd;
        steps.push_back(StepTranspose::stepTransposeWithExpr(term, sym));
    }
    return steps;
}

std::vector<StepPtr> SolverNode::distributionSteps() const {
    std::vector<StepPtr> steps;
    for (const OperatorPtr& op : timesOps()) {
        if (auto step = StepDistribute::stepDistributeFromTimes(std::static_pointer_cast<OpTimes>(op)))
            steps.push_back(step);
    }
    return steps;
}

std::vector<StepPtr> SolverNode::factorOutSteps() const {
    std::vector<StepPtr> steps;
    const auto solos = expr()->getSolos();
    for (const auto& a : solos) {
        for (const auto& b : solos) {
            // Only copies of one term are factored out together.
            if (a == b || !b->isEquivalent(*a))
                continue;
            if (auto step = StepFactorOut::stepFactorOutWithSolos({a, b}))
                steps.push_back(step);
        }
    }
    return steps;
}

SolverSearch::SolverSearch(const ExprPtr& start, SolverOrder order)
    : m_order(order) {
    m_arena.push_back(std::make_unique<SolverNode>(start));
    // The start's children all enter, duplicates included.
    for (auto& child : m_arena.front()->createChildNodes()) {
        push(*child);
        remember(*child);
        m_arena.push_back(std::move(child));
    }
}

void SolverSearch::push(const SolverNode& node) {
    m_open.push_back({node.rank(m_order), m_arrivals++, &node});
    std::push_heap(m_open.begin(), m_open.end());
}

std::vector<const SolverNode*> SolverSearch::open() const {
    std::vector<Waiting> waiting = m_open;
    std::sort(waiting.begin(), waiting.end(), [](const Waiting& a, const Waiting& b) { return b < a; });
    std::vector<const SolverNode*> nodes;
    for (const Waiting& each : waiting)
        nodes.push_back(each.node);
    return nodes;
}

bool SolverSearch::remember(const SolverNode& node) {
    return m_known.insert(node.shape(), node.shapeHash());
}

SolverSearch::Outcome SolverSearch::run(size_t maxExpansions) {
    Outcome outcome = Outcome::Expanded;
    while (outcome == Outcome::Expanded && m_expansions < maxExpansions)
        outcome = expandNext();
    return outcome;
}

SolverSearch::Outcome SolverSearch::expandNext() {
    if (m_open.empty())
        return Outcome::Exhausted;
    std::pop_heap(m_open.begin(), m_open.end());
    const SolverNode* node = m_open.back().node;
    m_open.pop_back();
    ++m_expansions;
    if (node->expr()->isSimplified()) {
        m_found = node;
        return Outcome::Found;
    }
    // The children come cheapest first, so they wait in that order behind the nodes of their score
    // that came before them.
    for (auto& child : node->createChildNodes(&m_known)) {
        if (!remember(*child))
            continue;
        push(*child);
        m_arena.push_back(std::move(child));
    }
    return m_open.empty() ? Outcome::Exhausted : Outcome::Expanded;
}

} // namespace zm
