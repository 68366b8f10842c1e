#include "playground/views/ExprViewEquation.h"

#include "model/Operator.h"
#include "model/steps/StepEuclideanFountain.h"
#include "playground/ScreenGeometry.h"
#include "playground/views/AnchorGeometry.h"

namespace zm {

std::shared_ptr<ExprViewEquation> ExprViewEquation::create(std::shared_ptr<ExprEquation> equation,
                                                           PlaygroundView& playgroundView, Baggage* bag) {
    std::shared_ptr<ExprViewEquation> view(new ExprViewEquation);
    view->initWithBinary(std::move(equation), playgroundView, bag);
    return view;
}

void ExprViewEquation::moveTo(core::Point point, Anchor anchor, core::Size playSize) {
    const float firstWidth = firstExprView()->getWidth();
    const float equalsWidth = opView()->getWidth();
    const float secondWidth = secondExprView()->getWidth();
    const core::Size size{getWidth(), getHeight()};
    const bool wide =
        secondWidth + equalsWidth > playSize.width / 2 || firstWidth + equalsWidth > playSize.width / 2;
    // A narrow equation keeps its equals sign where the centre is asked for.
    const float centerOffset = wide ? size.width / 2 : equalsWidth / 2 + firstWidth;
    const std::optional<core::Point> middleLeft = middleLeftForAnchor(point, anchor, size, centerOffset);
    if (!middleLeft)
        return;
    const auto [x, y] = *middleLeft;
    firstExprView()->moveTo({x, y}, AnchorMiddleLeft);
    opView()->moveTo({x + firstWidth + space(), y}, AnchorMiddleLeft);
    secondExprView()->moveTo({x + firstWidth + space() + equalsWidth + space(), y}, AnchorMiddleLeft);
}

void ExprViewEquation::moveTo(core::Point point, Anchor anchor) {
    moveTo(point, anchor, currentScreenSize());
}

std::shared_ptr<IGenericView> ExprViewEquation::getOpViewFromPoint(core::Point point) const {
    if (std::shared_ptr<IGenericView> view = ExprViewBinary::getOpViewFromPoint(point))
        return view;
    return opView()->getHitbox().contains(point) ? opView() : nullptr;
}

std::shared_ptr<Step> ExprViewEquation::stepFromTap(core::Point point) const {
    if (std::shared_ptr<Step> step = ExprViewBinary::stepFromTap(point))
        return step;
    const auto equation = asExactly<ExprEquation>(binaryExpr());
    if (getOpViewFromPoint(point) && isExactly<OpEquals>(opView()->getObj()) && equation)
        return std::make_shared<StepEuclideanFountainStart>(equation);
    return nullptr;
}

} // namespace zm
