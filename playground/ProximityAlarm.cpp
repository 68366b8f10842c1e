#include "playground/ProximityAlarm.h"

#include "model/ExprEquation.h"
#include "model/ExprSoloist.h"
#include "model/steps/StepCommute.h"
#include "model/steps/StepTranspose.h"
#include "playground/views/ExprViewEquation.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/ExprViewQuotient.h"

#include <algorithm>

namespace zm {

namespace {

// The strips beyond the ends of a list: this wide, this far from the outer terms.
constexpr float kStripWidth = 5;
constexpr float kStripGap = 2;
// How far beyond "=" the transpose target reaches.
constexpr float kFarAway = 1000;

} // namespace

bool ProximityAlarm::detectHitWithRect(const core::Rect& rect, core::Point dir) const {
    if (!rect.intersects(m_hitbox))
        return false;
    return m_direction.x == 0 || m_direction.x == dir.x;
}

std::vector<ProximityAlarm> ProximityAlarm::getProximityAlarmsForView(const ExprView& agent,
                                                                      const ExprView& mainView) {
    std::vector<ProximityAlarm> alarms;
    const ExprPtr expr = agent.getExpr();
    if (!expr)
        return alarms;
    const ExprPtr parent = expr->exprParent();
    const ExprPtr grandparent = parent ? parent->exprParent() : nullptr;
    const std::shared_ptr<ExprView> parentView = parent ? mainView.viewWithExpr(parent.get()) : nullptr;
    const std::shared_ptr<ExprView> grandparentView =
        grandparent ? mainView.viewWithExpr(grandparent.get()) : nullptr;

    if (auto list = std::dynamic_pointer_cast<ExprViewList>(parentView))
        alarms = getCommuteAlarmsForView(agent, list->exprViews());

    if (auto equation = asExactly<ExprViewEquation>(grandparentView)) {
        ArithmeticType type = ArithmeticTypeAdd;
        if (isExactly<ExprViewProduct>(parentView)) {
            type = ArithmeticTypeMultiply;
        } else if (auto quotient = asExactly<ExprViewQuotient>(parentView)) {
            // The numerator of a fraction that is a side stays where it is.
            if (quotient->firstExprView().get() == &agent)
                return alarms;
            type = ArithmeticTypeDivide;
        }
        const std::vector<ProximityAlarm> across = getTransposeAlarmsForExpr(expr, *equation, type);
        alarms.insert(alarms.end(), across.begin(), across.end());
    } else if (auto equation = asExactly<ExprViewEquation>(parentView)) {
        const std::vector<ProximityAlarm> across =
            getTransposeAlarmsForExpr(expr, *equation, ArithmeticTypeAdd);
        alarms.insert(alarms.end(), across.begin(), across.end());
    }
    return alarms;
}

std::vector<ProximityAlarm>
ProximityAlarm::getCommuteAlarmsForView(const ExprView& agent,
                                        const std::vector<std::shared_ptr<ExprView>>& views) {
    std::vector<ProximityAlarm> alarms;
    const ExprPtr expr = agent.getExpr();
    const auto agentAt = std::ranges::find_if(views, [&](const auto& view) { return view.get() == &agent; });
    if (!expr || agentAt == views.end())
        return alarms;
    const size_t agentIndex = size_t(agentAt - views.begin());

    for (size_t i = 0; i < views.size(); ++i) {
        const ExprPtr other = views[i]->getExpr();
        if (other == expr)
            continue;
        const core::Rect box = views[i]->getHitbox();
        const core::Rect target{box.minX() + box.width() / 8, box.minY() + box.height() / 8,
                                box.width() - box.width() / 4, box.height() - box.height() / 4};
        alarms.emplace_back(target, core::Point{i < agentIndex ? -1.0f : 1.0f, 0},
                            StepCommute::stepCommuteWithPrincipal(expr, other));
    }

    // Beside "=" there is no room beyond the list's end.
    bool leftStrip = true;
    bool rightStrip = true;
    const ExprPtr list = expr->exprParent();
    if (auto equation = asExactly<ExprEquation>(list ? list->exprParent() : nullptr)) {
        rightStrip = equation->firstExpr() != list;
        leftStrip = equation->secondExpr() != list;
    }
    const ExprPtr first = views.front()->getExpr();
    const ExprPtr last = views.back()->getExpr();
    if (leftStrip && first != expr) {
        const core::Rect box = views.front()->getHitbox();
        alarms.emplace_back(
            core::Rect{box.minX() - kStripGap - kStripWidth, box.minY(), kStripWidth, box.height()},
            core::Point{1, 0}, StepCommute::stepCommuteWithPrincipal(expr, first));
    }
    if (rightStrip && last != expr) {
        const core::Rect box = views.back()->getHitbox();
        alarms.emplace_back(core::Rect{box.maxX() + kStripGap, box.minY(), kStripWidth, box.height()},
                            core::Point{-1, 0}, StepCommute::stepCommuteWithPrincipal(expr, last));
    }
    return alarms;
}

std::vector<ProximityAlarm> ProximityAlarm::getTransposeAlarmsForExpr(const ExprPtr& expr,
                                                                      const ExprViewEquation& eqView,
                                                                      ArithmeticType type) {
    if (!expr || ExprSoloist::isZero(expr.get()))
        return {};
    const core::Rect equals = eqView.opView()->getHitbox();
    const auto equation = std::dynamic_pointer_cast<ExprBinary>(eqView.getExpr());
    core::Rect target = core::Rect::null();
    core::Point direction{0, 0};
    if (equation && equation->firstExpr()->hasExpr(expr.get())) {
        target = {equals.maxX(), 0, kFarAway, kFarAway};
        direction = {1, 0};
    } else if (equation && equation->secondExpr()->hasExpr(expr.get())) {
        target = {-kFarAway, 0, equals.minX() + kFarAway, kFarAway};
        direction = {-1, 0};
    }
    return {ProximityAlarm(target, direction, StepTranspose::stepTransposeWithExpr(expr, type))};
}

} // namespace zm
