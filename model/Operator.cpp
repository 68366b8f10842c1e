#include "model/Operator.h"

#include "model/ViewFactory.h"
#include "model/steps/StepAdd.h"
#include "model/steps/StepMultiply.h"

#include <atomic>

namespace zm {

namespace {

std::atomic<int32_t> nextOpId{0};

// The next counted id. It is never 0, the id of every operator made without operands: a step remade
// on a copy of an equation would otherwise find its "=" in place of the operator it names.
int32_t takeOpId() {
    int32_t id = 0;
    while (id == 0)
        id = nextOpId.fetch_add(1, std::memory_order_relaxed);
    return id;
}

} // namespace

Operator::Operator(ExprPtr firstExpr, ExprPtr secondExpr)
    : m_firstExpr(std::move(firstExpr))
    , m_secondExpr(std::move(secondExpr))
    , m_opId(takeOpId()) {}

std::shared_ptr<IGenericView> OpPlus::makeOpViewFromPlaygroundView(ViewFactory& views) {
    return views.makeOpViewPlus(selfAs<OpPlus>());
}

std::shared_ptr<Step> OpPlus::step() {
    return StepAdd::stepAddFromOpPlus(selfAs<OpPlus>());
}

std::shared_ptr<IGenericView> OpTimes::makeOpViewFromPlaygroundView(ViewFactory& views) {
    return views.makeOpViewTimes(selfAs<OpTimes>());
}

std::shared_ptr<Step> OpTimes::step() {
    return StepMultiply::stepMultiplyFromOpTimes(selfAs<OpTimes>());
}

std::shared_ptr<IGenericView> OpDivide::makeOpViewFromPlaygroundView(ViewFactory& views) {
    return views.makeOpViewDivide(selfAs<OpDivide>());
}

std::shared_ptr<IGenericView> OpEquals::makeOpViewFromPlaygroundView(ViewFactory& views) {
    return views.makeOpViewEquals(selfAs<OpEquals>());
}

std::shared_ptr<IGenericView> OpParen::makeOpViewFromPlaygroundView(ViewFactory& views) {
    return views.makeOpViewParen(selfAs<OpParen>());
}

} // namespace zm
