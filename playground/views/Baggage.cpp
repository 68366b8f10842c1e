#include "playground/views/Baggage.h"

#include "playground/views/ExprView.h"

#include <algorithm>

namespace zm {

Baggage::Baggage(std::shared_ptr<ExprView> exprView) {
    if (exprView)
        addExprView(std::move(exprView));
}

void Baggage::addExprView(std::shared_ptr<ExprView> view) {
    if (view)
        m_exprViews.push_back(std::move(view));
}

void Baggage::addOpView(std::shared_ptr<IGenericView> view) {
    if (view)
        m_opViews.push_back(std::move(view));
}

void Baggage::addGenericView(const IGenericView& view) {
    for (const std::shared_ptr<IGenericView>& node : view.getBaseNodeGenericViews())
        m_positions.push_back({node->getObj(), getZMPosFromView(node.get(), AnchorCenter)});
}

std::shared_ptr<IGenericView> Baggage::getExistingViewForObj(const ModelObject* obj) const {
    if (!obj)
        return nullptr;
    for (const std::shared_ptr<ExprView>& tree : m_exprViews) {
        if (std::shared_ptr<IGenericView> view = tree->viewWithObj(obj))
            return view;
    }
    const auto found = std::ranges::find_if(
        m_opViews, [obj](const std::shared_ptr<IGenericView>& view) { return view->getObj().get() == obj; });
    return found != m_opViews.end() ? *found : nullptr;
}

ZMPosPtr Baggage::getPositionForObj(const ModelObject* obj) const {
    if (!obj)
        return nullptr;
    const auto found =
        std::ranges::find_if(m_positions, [obj](const PositionPair& pair) { return pair.key.get() == obj; });
    return found != m_positions.end() ? found->value : nullptr;
}

ZMPosPtr Baggage::getZMPosFromView(const IGenericView* view, Anchor anchor) {
    return std::make_shared<const ZMPos>(view ? view->getPointAtPosition(anchor) : core::Point{}, anchor);
}

void Baggage::addPositionForObj(const ModelObjectPtr& obj, const ModelObjectPtr& startAtObj, Anchor anchor) {
    if (!obj || !startAtObj)
        return;
    if (ZMPosPtr recorded = getPositionForObj(startAtObj.get())) {
        m_positions.push_back({obj, std::move(recorded)});
        return;
    }
    if (std::shared_ptr<IGenericView> old = getExistingViewForObj(startAtObj.get()))
        m_positions.push_back({obj, getZMPosFromView(old.get(), anchor)});
}

void Baggage::addPositionForObj(const ModelObjectPtr& obj, const IGenericView& view, Anchor anchor) {
    if (obj)
        m_positions.push_back({obj, getZMPosFromView(&view, anchor)});
}

void Baggage::addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj) {
    addCondemned(dying, endAtObj, AnchorCenter);
}

void Baggage::addCondemned(const ModelObjectPtr& dying, const ModelObjectPtr& endAtObj, Anchor anchor) {
    std::shared_ptr<IGenericView> old = getExistingViewForObj(dying.get());
    if (!old)
        return;
    const std::shared_ptr<IGenericView> end = getExistingViewForObj(endAtObj.get());
    m_condemned.push_back({std::move(old), getZMPosFromView(end.get(), anchor)});
}

void Baggage::addFailForExpr(const ExprPtr& expr) {
    if (expr)
        m_failList.push_back(expr);
}

bool Baggage::exprViewsContainExpr(const Expr* expr) const {
    return std::ranges::any_of(m_exprViews, [expr](const std::shared_ptr<ExprView>& tree) {
        return tree->viewWithExpr(expr) != nullptr;
    });
}

} // namespace zm
