#include "model/steps/StepEliminate.h"

#include "model/ExprProduct.h"
#include "model/ExprQuotient.h"
#include "model/ExprSoloist.h"
#include "model/Int32.h"
#include "model/Recording.h"
#include "model/steps/StepText.h"

#include <tuple>

namespace zm {

namespace {

bool isNumber(const ExprSoloist& term, int32_t value) {
    return term.varIsNum() && term.coef() == value;
}

bool equivalentToNumber(const ExprPtr& expr, int32_t value) {
    return expr->isEquivalent(*ExprSoloist::soloWithCoef(value));
}

void condemnInPlace(TransitionRecord* bag, const ExprPtr& expr) {
    recordCondemned(bag, expr, expr);
}

} // namespace

std::shared_ptr<ExprQuotient> StepEliminate::correctAncestor(const ExprPtr& expr) {
    if (!expr)
        return nullptr;
    const ExprPtr parent = expr->exprParent();
    if (auto fraction = asExactly<ExprQuotient>(parent))
        return fraction;
    if (isExactly<ExprProduct>(parent))
        return asExactly<ExprQuotient>(parent->exprParent());
    return nullptr;
}

StepEliminate::StepEliminate(std::vector<ExprPtr> givenExprs)
    : m_givenExprs(std::move(givenExprs)) {
    if (m_givenExprs.size() != 2 || !m_givenExprs[0] || !m_givenExprs[1])
        return;
    const ExprPtr& g = m_givenExprs.front();
    const ExprPtr& h = m_givenExprs.back();
    const bool gate = g->isEquivalent(*h) || equivalentToNumber(g, -1) || equivalentToNumber(h, -1) ||
                      equivalentToNumber(g, 1) || equivalentToNumber(h, 1) || ExprSoloist::isZero(g.get());
    if (!gate)
        return;
    auto fraction = correctAncestor(g);
    if (!fraction || fraction != correctAncestor(h))
        return;
    m_ancestor = fraction;
    const ExprPtr& top = fraction->firstExpr();
    const ExprPtr& bottom = fraction->secondExpr();
    ExprPtr numerator, denominator;
    if (top->hasExpr(g.get()) && bottom->hasExpr(h.get())) {
        numerator = g;
        denominator = h;
    } else if (top->hasExpr(h.get()) && bottom->hasExpr(g.get())) {
        numerator = h;
        denominator = g;
    } else {
        return;
    }
    auto numeratorTerm = asExactly<ExprSoloist>(numerator);
    auto denominatorTerm = asExactly<ExprSoloist>(denominator);
    if (numeratorTerm && denominatorTerm) {
        m_numerWinner = numeratorTerm;
        m_denomWinner = denominatorTerm;
    } else {
        m_numerNonSolo = numerator;
        m_denomNonSolo = denominator;
    }
    calcResults();
}

std::shared_ptr<StepEliminate> StepEliminate::stepEliminateWithExprs(std::vector<ExprPtr> exprs) {
    auto step = std::make_shared<StepEliminate>(std::move(exprs));
    return step->isValid() ? step : nullptr;
}

void StepEliminate::calcResults() {
    m_valid = true;
    if (m_numerNonSolo) {
        m_valid = m_numerNonSolo->isEquivalent(*m_denomNonSolo) ||
                  ExprSoloist::isPositiveOne(m_denomNonSolo.get()) ||
                  ExprSoloist::isNegativeOne(m_denomNonSolo.get()) ||
                  ExprSoloist::isZero(m_numerNonSolo.get());
        return;
    }
    const ExprSoloist& n = *m_numerWinner;
    const ExprSoloist& d = *m_denomWinner;
    if (isNumber(d, -1) && !isNumber(n, -1))
        return;
    if (n.coef() == 0 || isNumber(d, 1))
        return;
    m_valid = n.coef() == d.coef() && n.var() == d.var() && n.exponent() == d.exponent();
}

ExprPtr StepEliminate::numerator() const {
    return m_numerWinner ? m_numerWinner : m_numerNonSolo;
}

ExprPtr StepEliminate::denominator() const {
    return m_denomWinner ? m_denomWinner : m_denomNonSolo;
}

ExprPtr StepEliminate::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    const ExprPtr n = numerator();
    const ExprPtr d = denominator();
    if (!root || !m_valid || !n || !d)
        return root;
    const ExprPtr numeratorParent = n->exprParent();
    const ExprPtr denominatorParent = d->exprParent();
    const bool dIsOne = ExprSoloist::isPositiveOne(d.get());
    const bool dIsMinusOne = ExprSoloist::isNegativeOne(d.get());
    const bool bothMinusOne = dIsMinusOne && ExprSoloist::isNegativeOne(n.get());
    auto orRoot = [&](const ExprPtr& top) { return top ? top : root; };

    if (ExprSoloist::isZero(n.get()))
        return orRoot(root->replaceExpr(m_ancestor, n, bag));

    if (numeratorParent == denominatorParent && ((!dIsOne && !dIsMinusOne) || bothMinusOne)) {
        auto one = ExprSoloist::soloWithCoef(1);
        recordPosition(bag, one, n);
        ExprPtr result = root->replaceExpr(numeratorParent, one, bag);
        condemnInPlace(bag, n);
        condemnInPlace(bag, d);
        return orRoot(result);
    }
    if (!dIsMinusOne || bothMinusOne) {
        if (dIsOne) {
            ExprPtr result = root->killExpr(d, bag);
            condemnInPlace(bag, d);
            return orRoot(result);
        }
        ExprPtr result;
        if (denominatorParent && denominatorParent->exprParent() == numeratorParent) {
            auto one = ExprSoloist::soloWithCoef(1);
            recordPosition(bag, one, n);
            ExprPtr replaced = root->replaceExpr(n, one, bag);
            result = replaced ? replaced->killExpr(d, bag) : nullptr;
        } else {
            ExprPtr killed = root->killExpr(n, bag);
            result = killed ? killed->killExpr(d, bag) : nullptr;
        }
        condemnInPlace(bag, n);
        condemnInPlace(bag, d);
        return orRoot(result);
    }
    // The denominator is -1: it moves into the numerator as a sign.
    if (m_numerWinner) {
        auto negative = ExprSoloist::soloWithCoef(wrappingNeg(m_numerWinner->coef()), m_numerWinner->var(),
                                                  m_numerWinner->exponent());
        recordPosition(bag, negative, n);
        ExprPtr killed = orRoot(root->killExpr(d, bag));
        ExprPtr result = killed->replaceExpr(n, negative, bag);
        condemnInPlace(bag, n);
        condemnInPlace(bag, d);
        return orRoot(result);
    }
    ExprPtr killed = orRoot(root->killExpr(d, bag));
    ExprPtr signed_ = n->insertExpr(d, bag, ArithmeticTypeMultiply, 0);
    return signed_ ? orRoot(killed->replaceExpr(n, signed_, bag)) : killed;
}

StepPtr StepEliminate::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root)
        return nullptr;
    std::vector<ExprPtr> found;
    for (const ExprPtr& given : m_givenExprs) {
        ExprPtr counterpart = given ? root->getExprWithId(given->exprId()) : nullptr;
        if (!counterpart)
            return nullptr;
        found.push_back(counterpart);
    }
    return std::make_shared<StepEliminate>(std::move(found));
}

std::string StepEliminate::description() const {
    return stepText("stepEliminate", {m_numerWinner, m_denomWinner});
}

ExprPtr commonFactorOfPairs(const ExprProduct& p, const ExprProduct& q) {
    if (p.exprs().size() != 2 || q.exprs().size() != 2)
        return nullptr;
    const ExprPtr &p0 = p.exprs()[0], &p1 = p.exprs()[1];
    const ExprPtr &q0 = q.exprs()[0], &q1 = q.exprs()[1];
    if (!ExprSoloist::isPositiveOne(p0.get()) && (p0->isEquivalent(*q0) || p0->isEquivalent(*q1)))
        return p0;
    if (!ExprSoloist::isPositiveOne(p1.get()) && (p1->isEquivalent(*q1) || p1->isEquivalent(*q0)))
        return p1;
    return nullptr;
}

ExprPtr findOrCopyWithIds(const Expr& root, const ExprPtr& expr) {
    if (!expr)
        return nullptr;
    if (ExprPtr found = root.getExprWithId(expr->exprId()))
        return found;
    ExprPtr copy = expr->copy();
    if (copy)
        copy->deepCopyExprIDsFromExpr(*expr);
    return copy;
}

StepEliminateQuick::StepEliminateQuick(std::shared_ptr<ExprSoloist> firstDeath, ExprPtr firstReplacement,
                                       std::shared_ptr<ExprSoloist> secondDeath, ExprPtr secondReplacement)
    : m_firstDeath(std::move(firstDeath))
    , m_firstReplacement(std::move(firstReplacement))
    , m_secondDeath(std::move(secondDeath))
    , m_secondReplacement(std::move(secondReplacement)) {}

namespace {

// A working copy of a term for finding common factors: its magnitude, and a number when the two
// terms' variables differ (the variable, with its exponent, goes back on the cofactor afterwards).
struct Working {
    std::shared_ptr<ExprSoloist> copy;
    bool negative = false;
    bool strippedVariable = false;
};

Working workingCopy(const ExprSoloist& term, bool stripVariable) {
    Working working{std::static_pointer_cast<ExprSoloist>(term.copy())};
    working.negative = term.coef() < 0;
    if (working.negative)
        working.copy->setCoef(wrappingNeg(term.coef()));
    if (stripVariable && term.varIsNotNum()) {
        working.strippedVariable = true;
        working.copy->setVar(kNumVar);
        working.copy->setExponent(1);
    }
    return working;
}

// The factor of `pair` other than `common`, or null when `common` is neither.
std::shared_ptr<ExprSoloist> cofactor(const ExprProduct& pair, const Expr& common) {
    if (common.isEquivalent(*pair.exprs().front()))
        return asExactly<ExprSoloist>(pair.exprs().back());
    if (common.isEquivalent(*pair.exprs().back()))
        return asExactly<ExprSoloist>(pair.exprs().front());
    return nullptr;
}

ExprPtr quickReplacement(const std::shared_ptr<ExprSoloist>& death,
                         const std::shared_ptr<ExprSoloist>& cofactorTerm,
                         const std::shared_ptr<ExprSoloist>& best) {
    if (death->isEquivalent(*best) && ExprQuotient::isExprInDenom(death.get()))
        return death;
    return ExprProduct::productWithArray({cofactorTerm, best->copy()});
}

} // namespace

std::shared_ptr<StepEliminateQuick>
StepEliminateQuick::stepEliminateQuickFromExprs(const std::vector<ExprPtr>& exprs) {
    if (exprs.size() != 2)
        return nullptr;
    auto a = asExactly<ExprSoloist>(exprs.front());
    auto c = asExactly<ExprSoloist>(exprs.back());
    if (!a || !c || a->isEquivalent(*c))
        return nullptr;
    auto fraction = StepEliminate::correctAncestor(a);
    if (!fraction || fraction != StepEliminate::correctAncestor(c))
        return nullptr;

    const bool namesDiffer = a->var() != c->var();
    Working wa = workingCopy(*a, namesDiffer);
    Working wc = workingCopy(*c, namesDiffer);
    auto negated = [](const ExprSoloist& term) {
        return ExprSoloist::soloWithCoef(wrappingNeg(term.coef()), term.var(), term.exponent());
    };
    if (wa.copy->isEquivalent(*wc.copy) && a->varIsNum() && c->varIsNum() && wa.negative)
        return std::make_shared<StepEliminateQuick>(a, ExprSoloist::soloWithCoef(-1), c,
                                                    ExprSoloist::soloWithCoef(1));

    std::shared_ptr<ExprSoloist> best, cofA, cofC;
    for (const auto& p : wa.copy->getFactorizedProductPairs()) {
        for (const auto& q : wc.copy->getFactorizedProductPairs()) {
            auto common = asExactly<ExprSoloist>(commonFactorOfPairs(*p, *q));
            if (!common || (best && best->coef() >= common->coef()))
                continue;
            if (auto cof = cofactor(*p, *common))
                cofA = cof;
            if (auto cof = cofactor(*q, *common))
                cofC = cof;
            best = common;
        }
    }
    if (!best) {
        if (wa.negative && wc.negative)
            return std::make_shared<StepEliminateQuick>(a, negated(*a), c, negated(*c));
        return nullptr;
    }
    if (!cofA || !cofC)
        return nullptr;
    if (wa.negative && wc.negative)
        best->setCoef(wrappingNeg(best->coef()));
    if (wa.negative && !wc.negative)
        cofA->setCoef(wrappingNeg(cofA->coef()));
    if (wc.negative && !wa.negative)
        cofC->setCoef(wrappingNeg(cofC->coef()));
    // A cofactor that takes a term's variable back takes its exponent too, so the value is kept.
    for (auto [working, cof, term] : {std::tuple{&wa, cofA, a}, std::tuple{&wc, cofC, c}}) {
        if (working->strippedVariable) {
            cof->setVar(term->var());
            cof->setExponent(term->exponent());
        }
    }
    return std::make_shared<StepEliminateQuick>(a, quickReplacement(a, cofA, best), c,
                                                quickReplacement(c, cofC, best));
}

ExprPtr StepEliminateQuick::applyToExpr(const ExprPtr& root, TransitionRecord* bag) {
    if (!root || !m_firstDeath || !m_secondDeath || !m_firstReplacement || !m_secondReplacement)
        return root;
    recordPosition(bag, m_firstReplacement, m_firstDeath);
    recordPosition(bag, m_secondReplacement, m_secondDeath);
    m_firstReplacement->positionMeWithBag(bag, m_firstDeath);
    m_secondReplacement->positionMeWithBag(bag, m_secondDeath);
    auto settle = [&](const ExprPtr& top, const ExprPtr& death, const ExprPtr& replacement) -> ExprPtr {
        if (ExprSoloist::isPositiveOne(replacement.get()) && ExprQuotient::isExprInDenom(death.get()))
            return top->killExpr(death, bag);
        return top->replaceExpr(death, replacement, bag);
    };
    ExprPtr first = settle(root, m_firstDeath, m_firstReplacement);
    if (!first)
        return root;
    ExprPtr second = settle(first, m_secondDeath, m_secondReplacement);
    return second ? second : first;
}

StepPtr StepEliminateQuick::remakeStepFromExprIDsUsingExpr(const ExprPtr& root) const {
    if (!root || !m_firstDeath || !m_secondDeath)
        return nullptr;
    auto firstDeath = root->getExprWithId<ExprSoloist>(m_firstDeath->exprId());
    auto secondDeath = root->getExprWithId<ExprSoloist>(m_secondDeath->exprId());
    if (!firstDeath || !secondDeath)
        return nullptr;
    return std::make_shared<StepEliminateQuick>(firstDeath, findOrCopyWithIds(*root, m_firstReplacement),
                                                secondDeath, findOrCopyWithIds(*root, m_secondReplacement));
}

} // namespace zm
