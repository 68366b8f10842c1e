#include "playground/views/ExprViewBinary.h"

#include "playground/PlaygroundView.h"
#include "playground/views/GenericLabel.h"

#include <algorithm>
#include <cassert>

namespace zm {

void ExprViewBinary::initWithBinary(std::shared_ptr<ExprBinary> binary, PlaygroundView& playgroundView,
                                    Baggage* bag) {
    m_binaryExpr = std::move(binary);
    m_firstExprView = makeExprView(*m_binaryExpr->firstExpr(), playgroundView, bag);
    m_secondExprView = makeExprView(*m_binaryExpr->secondExpr(), playgroundView, bag);
    m_opView = makeOpView(*m_binaryExpr->op(), playgroundView, bag);
    assert(m_firstExprView && m_secondExprView && m_opView);
    setFontSize(playgroundView.baseFontSize(), false);
    setColor(playgroundView.expressionColor());
}

void ExprViewBinary::setObj(ModelObjectPtr obj) {
    setExpr(std::dynamic_pointer_cast<Expr>(obj));
}

void ExprViewBinary::setExpr(ExprPtr expr) {
    m_binaryExpr = std::dynamic_pointer_cast<ExprBinary>(expr);
}

core::Rect ExprViewBinary::getHitbox() const {
    return m_firstExprView->getHitbox().united(m_secondExprView->getHitbox());
}

float ExprViewBinary::getWidth() const {
    return m_firstExprView->getWidth() + m_secondExprView->getWidth() + m_opView->getWidth() + 2 * space();
}

float ExprViewBinary::getPureWidth() const {
    return m_firstExprView->getPureWidth() + m_secondExprView->getPureWidth() + m_opView->getPureWidth() +
           2 * space();
}

float ExprViewBinary::getHeight() const {
    return std::max(m_firstExprView->getHeight(), m_secondExprView->getHeight());
}

core::Point ExprViewBinary::getTopLeft() const {
    return m_firstExprView->getTopLeft();
}

std::shared_ptr<ExprView> ExprViewBinary::viewWithExpr(const Expr* expr) const {
    if (expr && expr == m_binaryExpr.get())
        return sharedAs();
    if (ExprViewPtr view = m_firstExprView->viewWithExpr(expr))
        return view;
    return m_secondExprView->viewWithExpr(expr);
}

std::shared_ptr<IGenericView> ExprViewBinary::viewWithOp(const Operator* op) const {
    if (op && op == m_binaryExpr->op().get())
        return m_opView;
    if (std::shared_ptr<IGenericView> view = m_firstExprView->viewWithOp(op))
        return view;
    return m_secondExprView->viewWithOp(op);
}

std::shared_ptr<ExprView> ExprViewBinary::getOverlappingExactMatchExprView(const ExprView& dragged) const {
    if (ExprViewPtr view = m_firstExprView->getOverlappingExactMatchExprView(dragged))
        return view;
    if (ExprViewPtr view = m_secondExprView->getOverlappingExactMatchExprView(dragged))
        return view;
    const ExprPtr draggedExpr = dragged.getExpr();
    if (&dragged != this && draggedExpr && getHitbox().intersects(dragged.getHitbox()) &&
        m_binaryExpr->isExactMatch(*draggedExpr))
        return sharedAs();
    return nullptr;
}

std::shared_ptr<IGenericView> ExprViewBinary::getOpViewFromPoint(core::Point point) const {
    if (std::shared_ptr<IGenericView> view = m_firstExprView->getOpViewFromPoint(point))
        return view;
    return m_secondExprView->getOpViewFromPoint(point);
}

std::shared_ptr<ExprView> ExprViewBinary::getExprViewFromPoint(core::Point point) const {
    if (ExprViewPtr view = m_firstExprView->getExprViewFromPoint(point))
        return view;
    return m_secondExprView->getExprViewFromPoint(point);
}

std::shared_ptr<Step> ExprViewBinary::stepFromTap(core::Point point) const {
    if (std::shared_ptr<Step> step = m_firstExprView->stepFromTap(point))
        return step;
    return m_secondExprView->stepFromTap(point);
}

std::vector<std::shared_ptr<GenericLabel>> ExprViewBinary::getVarLabelsForVar(const std::string& var) const {
    std::vector<std::shared_ptr<GenericLabel>> labels = m_firstExprView->getVarLabelsForVar(var);
    const std::vector<std::shared_ptr<GenericLabel>> second = m_secondExprView->getVarLabelsForVar(var);
    labels.insert(labels.end(), second.begin(), second.end());
    return labels;
}

bool ExprViewBinary::draggingOnExpr(core::Point point) const {
    return m_firstExprView->draggingOnExpr(point) || m_secondExprView->draggingOnExpr(point);
}

ViewList ExprViewBinary::getViewList() const {
    ViewList views = m_firstExprView->getViewList();
    const ViewList second = m_secondExprView->getViewList();
    views.insert(views.end(), second.begin(), second.end());
    if (std::shared_ptr<ui::View> op = opPlatformView())
        views.push_back(std::move(op));
    return views;
}

GenericViewList ExprViewBinary::getGenericSubviews() const {
    return {m_firstExprView, m_secondExprView, m_opView};
}

GenericViewList ExprViewBinary::getBaseNodeGenericViews() const {
    GenericViewList views = m_firstExprView->getBaseNodeGenericViews();
    const GenericViewList second = m_secondExprView->getBaseNodeGenericViews();
    views.insert(views.end(), second.begin(), second.end());
    views.push_back(m_opView);
    return views;
}

void ExprViewBinary::setSpace(float space) {
    ExprView::setSpace(space);
    if (m_firstExprView)
        m_firstExprView->setSpace(space);
    if (m_secondExprView)
        m_secondExprView->setSpace(space);
}

} // namespace zm
