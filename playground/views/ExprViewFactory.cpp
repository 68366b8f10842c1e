#include "playground/views/ExprViewFactory.h"

#include "model/Operator.h"
#include "playground/views/ExprViewEquation.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/ExprViewQuotient.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/OpView.h"
#include "playground/views/OpViewDivide.h"

namespace zm {

std::shared_ptr<ExprView> ExprViewFactory::makeExprViewSoloist(const std::shared_ptr<ExprSoloist>& solo,
                                                               Baggage* bag) {
    return ExprViewSoloist::create(solo, m_playgroundView, bag);
}

std::shared_ptr<ExprView> ExprViewFactory::makeExprViewEquation(const std::shared_ptr<ExprEquation>& equation,
                                                                Baggage* bag) {
    return ExprViewEquation::create(equation, m_playgroundView, bag);
}

std::shared_ptr<ExprView> ExprViewFactory::makeExprViewQuotient(const std::shared_ptr<ExprQuotient>& quotient,
                                                                Baggage* bag) {
    return ExprViewQuotient::create(quotient, m_playgroundView, bag);
}

std::shared_ptr<ExprView> ExprViewFactory::makeExprViewSum(const std::shared_ptr<ExprSum>& sum,
                                                           Baggage* bag) {
    return ExprViewSum::create(sum, m_playgroundView, bag);
}

std::shared_ptr<ExprView> ExprViewFactory::makeExprViewProduct(const std::shared_ptr<ExprProduct>& product,
                                                               Baggage* bag) {
    return ExprViewProduct::create(product, m_playgroundView, bag);
}

std::shared_ptr<IGenericView> ExprViewFactory::makeOpViewPlus(const std::shared_ptr<OpPlus>& op) {
    return OpView::create<OpViewPlus>(op, m_playgroundView);
}

std::shared_ptr<IGenericView> ExprViewFactory::makeOpViewTimes(const std::shared_ptr<OpTimes>& op) {
    return OpView::create<OpViewTimes>(op, m_playgroundView);
}

std::shared_ptr<IGenericView> ExprViewFactory::makeOpViewDivide(const std::shared_ptr<OpDivide>& op) {
    return OpViewDivide::create(op, m_playgroundView);
}

std::shared_ptr<IGenericView> ExprViewFactory::makeOpViewEquals(const std::shared_ptr<OpEquals>& op) {
    return OpView::create<OpViewEquals>(op, m_playgroundView);
}

std::shared_ptr<IGenericView> ExprViewFactory::makeOpViewParen(const std::shared_ptr<OpParen>& op) {
    return OpView::create<OpViewParen>(op, m_playgroundView);
}

} // namespace zm
