#include "playground/views/ExprViewList.h"

#include "model/Operator.h"
#include "model/steps/StepReplace.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundView.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/GenericLabel.h"
#include "playground/views/OpView.h"

#include <algorithm>
#include <cassert>

namespace zm {

namespace {

constexpr double kParenFadeDuration = 0.5;

} // namespace

void ExprViewList::initWithList(std::shared_ptr<ExprList> list, PlaygroundView& playgroundView,
                                Baggage* bag) {
    m_listExpr = std::move(list);
    for (const ExprPtr& term : m_listExpr->exprs())
        m_exprViews.push_back(makeExprView(*term, playgroundView, bag));
    for (const OperatorPtr& op : m_listExpr->ops())
        m_opViews.push_back(makeOpView(*op, playgroundView, bag));
    m_leftParen = makeOpView(*m_listExpr->leftParen(), playgroundView, bag);
    m_rightParen = makeOpView(*m_listExpr->rightParen(), playgroundView, bag);
    assert(std::ranges::none_of(m_exprViews, [](const ExprViewPtr& view) { return !view; }));
    assert(std::ranges::none_of(m_opViews, [](const std::shared_ptr<IGenericView>& view) { return !view; }));
    assert(m_leftParen && m_rightParen && m_opViews.size() + 1 == m_exprViews.size());
    setParenthesis(false);
    setFontSize(playgroundView.baseFontSize(), false);
    setColor(playgroundView.expressionColor());
}

void ExprViewList::setObj(ModelObjectPtr obj) {
    setExpr(std::dynamic_pointer_cast<Expr>(obj));
}

void ExprViewList::setExpr(ExprPtr expr) {
    if (auto list = std::dynamic_pointer_cast<ExprList>(expr))
        m_listExpr = std::move(list);
}

std::shared_ptr<ExprView> ExprViewList::viewWithExpr(const Expr* expr) const {
    if (expr && expr == m_listExpr.get())
        return sharedAs();
    for (const ExprViewPtr& term : m_exprViews) {
        if (ExprViewPtr view = term->viewWithExpr(expr))
            return view;
    }
    return nullptr;
}

std::shared_ptr<IGenericView> ExprViewList::viewWithOp(const Operator* op) const {
    if (!op)
        return nullptr;
    const auto own = std::ranges::find_if(
        m_opViews, [op](const std::shared_ptr<IGenericView>& view) { return view->getObj().get() == op; });
    if (own != m_opViews.end())
        return *own;
    if (op == m_listExpr->leftParen().get())
        return m_leftParen;
    if (op == m_listExpr->rightParen().get())
        return m_rightParen;
    for (const ExprViewPtr& term : m_exprViews) {
        if (std::shared_ptr<IGenericView> view = term->viewWithOp(op))
            return view;
    }
    return nullptr;
}

std::shared_ptr<ExprView> ExprViewList::getOverlappingExactMatchExprView(const ExprView& dragged) const {
    for (const ExprViewPtr& term : m_exprViews) {
        if (ExprViewPtr view = term->getOverlappingExactMatchExprView(dragged))
            return view;
    }
    const ExprPtr draggedExpr = dragged.getExpr();
    if (&dragged != this && draggedExpr && getHitbox().intersects(dragged.getHitbox()) &&
        m_listExpr->isExactMatch(*draggedExpr))
        return sharedAs();
    return nullptr;
}

std::shared_ptr<ExprView> ExprViewList::getExprViewFromPoint(core::Point point) const {
    for (const ExprViewPtr& term : m_exprViews) {
        if (ExprViewPtr view = term->getExprViewFromPoint(point))
            return view;
    }
    const bool onOperator = std::ranges::any_of(
        m_opViews, [point](const std::shared_ptr<IGenericView>& view) { return view->containsPoint(point); });
    return onOperator ? sharedAs() : nullptr;
}

std::shared_ptr<IGenericView> ExprViewList::getOpViewFromPoint(core::Point point) const {
    const auto own = std::ranges::find_if(m_opViews, [point](const std::shared_ptr<IGenericView>& view) {
        return view->getHitbox().contains(point);
    });
    if (own != m_opViews.end())
        return *own;
    for (const ExprViewPtr& term : m_exprViews) {
        if (std::shared_ptr<IGenericView> view = term->getOpViewFromPoint(point))
            return view;
    }
    return nullptr;
}

std::shared_ptr<Step> ExprViewList::stepFromTap(core::Point point) const {
    if (const std::shared_ptr<IGenericView> opView = getOpViewFromPoint(point)) {
        const auto op = std::dynamic_pointer_cast<Operator>(opView->getObj());
        if (!op)
            return nullptr;
        if (std::shared_ptr<Step> step = op->step())
            return step;
        std::vector<ExprPtr> operands;
        for (const ExprPtr& operand : {op->firstExpr(), op->secondExpr()}) {
            if (operand)
                operands.push_back(operand);
        }
        return std::make_shared<StepFail>(std::move(operands));
    }
    for (const ExprViewPtr& term : m_exprViews) {
        if (std::shared_ptr<Step> step = term->stepFromTap(point))
            return step;
    }
    return nullptr;
}

bool ExprViewList::draggingOnExpr(core::Point point) const {
    return std::ranges::any_of(m_exprViews,
                               [point](const ExprViewPtr& term) { return term->draggingOnExpr(point); }) ||
           std::ranges::any_of(m_opViews, [point](const std::shared_ptr<IGenericView>& view) {
               return view->containsPoint(point);
           });
}

bool ExprViewList::isParenVisible() const {
    const std::shared_ptr<ui::View> paren = asPlatformView(m_leftParen);
    return paren && paren->alpha() > 0;
}

void ExprViewList::setParenthesis(bool visible) {
    m_leftParen->alterAlpha(visible ? 1 : 0);
    m_rightParen->alterAlpha(visible ? 1 : 0);
}

void ExprViewList::makeParenVisible() {
    if (isParenVisible())
        return;
    ui::animate({.duration = kParenFadeDuration}, [this] { setParenthesis(true); });
}

void ExprViewList::makeParenVisibleInstantly() {
    if (!isParenVisible())
        setParenthesis(true);
}

ViewList ExprViewList::getViewList() const {
    ViewList views;
    for (const ExprViewPtr& term : m_exprViews) {
        const ViewList own = term->getViewList();
        views.insert(views.end(), own.begin(), own.end());
    }
    for (const std::shared_ptr<IGenericView>& op : m_opViews) {
        if (std::shared_ptr<ui::View> view = asPlatformView(op))
            views.push_back(std::move(view));
    }
    for (const std::shared_ptr<IGenericView>& paren : {m_leftParen, m_rightParen}) {
        if (std::shared_ptr<ui::View> view = asPlatformView(paren))
            views.push_back(std::move(view));
    }
    return views;
}

GenericViewList ExprViewList::getGenericSubviews() const {
    GenericViewList subviews(m_exprViews.begin(), m_exprViews.end());
    subviews.insert(subviews.end(), m_opViews.begin(), m_opViews.end());
    subviews.push_back(m_leftParen);
    subviews.push_back(m_rightParen);
    return subviews;
}

GenericViewList ExprViewList::getBaseNodeGenericViews() const {
    GenericViewList nodes;
    for (const ExprViewPtr& term : m_exprViews) {
        const GenericViewList own = term->getBaseNodeGenericViews();
        nodes.insert(nodes.end(), own.begin(), own.end());
    }
    nodes.insert(nodes.end(), m_opViews.begin(), m_opViews.end());
    return nodes;
}

void ExprViewList::moveTo(core::Point point, Anchor anchor) {
    const std::optional<core::Point> middleLeft =
        middleLeftForAnchor(point, anchor, {getWidth(), getHeight()});
    if (!middleLeft)
        return;
    auto [x, y] = *middleLeft;
    m_leftParen->moveTo({x, y}, AnchorMiddleLeft);
    if (isParenVisible())
        x += m_leftParen->getWidth();
    for (size_t i = 0; i + 1 < m_exprViews.size(); ++i) {
        m_exprViews[i]->moveTo({x, y}, AnchorMiddleLeft);
        x += m_exprViews[i]->getWidth() + space();
        // The times sign sits low in its line: lowered, it stands at the middle of the terms.
        const float drop = isExactly<OpViewTimes>(m_opViews[i].get()) ? 2 * space() : 0;
        m_opViews[i]->moveTo({x, y + drop}, AnchorMiddleLeft);
        x += m_opViews[i]->getWidth() + space();
    }
    const ExprViewPtr& last = m_exprViews.back();
    last->moveTo({x, y}, AnchorMiddleLeft);
    m_rightParen->moveTo({x + last->getWidth(), y}, AnchorMiddleLeft);
}

template <class Width> float ExprViewList::rowWidth(Width width) const {
    float total = 0;
    for (const ExprViewPtr& term : m_exprViews)
        total += width(*term);
    for (const std::shared_ptr<IGenericView>& op : m_opViews)
        total += width(*op) + 2 * space();
    if (isParenVisible())
        total += width(*m_leftParen) + width(*m_rightParen);
    return total;
}

float ExprViewList::getWidth() const {
    return rowWidth([](const IGenericView& view) { return view.getWidth(); });
}

float ExprViewList::getPureWidth() const {
    return rowWidth([](const IGenericView& view) { return view.getPureWidth(); });
}

float ExprViewList::getHeight() const {
    float height = 0;
    for (const ExprViewPtr& term : m_exprViews) {
        if (term->baseFontSize() <= baseFontSize())
            height = std::max(height, term->getHeight());
    }
    return height;
}

core::Rect ExprViewList::getHitbox() const {
    core::Rect hitbox = core::Rect::null();
    for (const ExprViewPtr& term : m_exprViews)
        hitbox = hitbox.united(term->getHitbox());
    if (isParenVisible())
        hitbox = hitbox.united(m_leftParen->getHitbox()).united(m_rightParen->getHitbox());
    return hitbox;
}

core::Point ExprViewList::getTopLeft() const {
    return m_exprViews.front()->getTopLeft();
}

std::vector<std::shared_ptr<GenericLabel>> ExprViewList::getVarLabelsForVar(const std::string& var) const {
    std::vector<std::shared_ptr<GenericLabel>> labels;
    for (const ExprViewPtr& term : m_exprViews) {
        const std::vector<std::shared_ptr<GenericLabel>> own = term->getVarLabelsForVar(var);
        labels.insert(labels.end(), own.begin(), own.end());
    }
    return labels;
}

void ExprViewList::setSpace(float space) {
    ExprView::setSpace(space);
    for (const ExprViewPtr& term : m_exprViews)
        term->setSpace(space);
}

std::string ExprViewList::description() const {
    const OperatorPtr& lastOp = m_listExpr->ops().back();
    const std::string separator = lastOp ? lastOp->getSymbol() : std::string();
    std::string text;
    for (const ExprViewPtr& term : m_exprViews)
        text += term->description() + separator;
    if (!text.empty())
        text.pop_back();
    return text;
}

std::shared_ptr<ExprViewSum> ExprViewSum::create(std::shared_ptr<ExprSum> sum, PlaygroundView& playgroundView,
                                                 Baggage* bag) {
    std::shared_ptr<ExprViewSum> view(new ExprViewSum);
    const bool isFactor = isExactly<ExprProduct>(sum->exprParent());
    view->initWithList(std::move(sum), playgroundView, bag);
    if (!isFactor)
        view->setParenthesis(false);
    return view;
}

std::shared_ptr<ExprViewProduct> ExprViewProduct::create(std::shared_ptr<ExprProduct> product,
                                                         PlaygroundView& playgroundView, Baggage* bag) {
    std::shared_ptr<ExprViewProduct> view(new ExprViewProduct);
    view->initWithProduct(std::move(product), playgroundView, bag);
    return view;
}

void ExprViewProduct::initWithProduct(std::shared_ptr<ExprProduct> product, PlaygroundView& playgroundView,
                                      Baggage* bag) {
    initWithList(std::move(product), playgroundView, bag);
    for (const ExprViewPtr& term : exprViews()) {
        if (auto sum = std::dynamic_pointer_cast<ExprViewSum>(term))
            sum->makeParenVisibleInstantly();
    }
}

} // namespace zm
