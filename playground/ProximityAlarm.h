#pragma once

#include "model/ArithmeticType.h"
#include "model/Expr.h"
#include "platform/core/Geometry.h"

#include <memory>
#include <vector>

namespace zm {

class ExprView;
class ExprViewEquation;
class Step;

// A drag target of the term under the finger: a rectangle in the host view's coordinates, the
// direction the term must be moving in (x of -1 or +1; 0 for any), and the step that fires when the
// term's hit box meets the rectangle: reordering it past a neighbour, or carrying it across "=".
class ProximityAlarm {
public:
    ProximityAlarm(core::Rect hitbox, core::Point direction, std::shared_ptr<Step> step)
        : m_hitbox(hitbox)
        , m_direction(direction)
        , m_step(std::move(step)) {}

    const core::Rect& hitbox() const { return m_hitbox; }
    core::Point direction() const { return m_direction; }
    const std::shared_ptr<Step>& getStep() const { return m_step; }

    // Whether the dragged term's rectangle, moving in `dir`, sets the alarm off.
    bool detectHitWithRect(const core::Rect& rect, core::Point dir) const;

    // Every alarm of the dragged term `agent` in the tree `mainView`: the reordering targets among
    // the other terms of its list first, then the target beyond "=" when it stands in an equation.
    static std::vector<ProximityAlarm> getProximityAlarmsForView(const ExprView& agent,
                                                                 const ExprView& mainView);
    // A target over each other term (crossed leftwards before the agent, rightwards after it), and a
    // thin strip beyond each end of the list (not at an end that borders "=").
    static std::vector<ProximityAlarm>
    getCommuteAlarmsForView(const ExprView& agent, const std::vector<std::shared_ptr<ExprView>>& views);
    // Everything beyond the "=" from the side the expression stands on; none for a zero term.
    static std::vector<ProximityAlarm>
    getTransposeAlarmsForExpr(const ExprPtr& expr, const ExprViewEquation& eqView, ArithmeticType type);

private:
    core::Rect m_hitbox;
    core::Point m_direction;
    std::shared_ptr<Step> m_step;
};

} // namespace zm
