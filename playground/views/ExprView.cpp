#include "playground/views/ExprView.h"

#include "model/Operator.h"
#include "model/steps/Step.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Device.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewFactory.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"

#include <algorithm>
#include <limits>

namespace zm {

namespace {

// How much of the rectangle's height one line of the expression may take (its reciprocal), and the
// largest font size, per device. An expression with a fraction stands three lines high.
struct FitLimits {
    float heightMultiplier;
    float maximumSize;
};

FitLimits fitLimits(bool eligibleForEliminate) {
    if (ui::Device::current().isTablet())
        return {3.0f, 150};
    return {eligibleForEliminate ? 3.5f : 1.75f, 100};
}

constexpr float kWidthMultiplier = 0.7f;
// The second measurement of the approximate text is this much larger.
constexpr float kMeasureStep = 10;

} // namespace

void ExprView::moveToVertical(float y, Anchor anchor) {
    moveTo({getPointAtPosition(anchor).x, y}, anchor);
}

core::Point ExprView::getPointAtPosition(Anchor anchor) const {
    return pointAtAnchorInRect(getHitbox(), anchor);
}

bool ExprView::containsPoint(core::Point point) const {
    return getHitbox().contains(point);
}

bool ExprView::containsView(const IGenericView* view) const {
    const GenericViewList subviews = getGenericSubviews();
    return std::ranges::any_of(subviews, [view](const std::shared_ptr<IGenericView>& subview) {
        return subview.get() == view || subview->containsView(view);
    });
}

void ExprView::clear() {
    for (const std::shared_ptr<ui::View>& view : getViewList())
        view->removeFromSuperview();
}

void ExprView::alterAlpha(float alpha) {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->alterAlpha(alpha);
}

void ExprView::setAlgebraTransformSize(float scale) {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->setAlgebraTransformSize(scale);
}

void ExprView::setColor(const core::Color& color) {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->setColor(color);
}

void ExprView::highlight() {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->highlight();
}

void ExprView::matchHoverHighlight() {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->matchHoverHighlight();
}

void ExprView::dehighlight() {
    setColor(core::Color::white());
}

bool ExprView::isHighlighted() const {
    const GenericViewList subviews = getGenericSubviews();
    return !subviews.empty() && subviews.front()->isHighlighted();
}

void ExprView::movingHighlight() {
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->movingHighlight();
}

void ExprView::setFontSize(float size, bool animated) {
    setBaseFontSize(size);
    for (const std::shared_ptr<IGenericView>& subview : getGenericSubviews())
        subview->setFontSize(size, animated);
}

std::shared_ptr<ExprView> ExprView::viewWithExpr(const Expr*) const {
    return nullptr;
}

std::shared_ptr<IGenericView> ExprView::viewWithOp(const Operator*) const {
    return nullptr;
}

std::shared_ptr<IGenericView> ExprView::viewWithObj(const ModelObject* obj) const {
    if (const auto* op = dynamic_cast<const Operator*>(obj)) {
        if (std::shared_ptr<IGenericView> view = viewWithOp(op))
            return view;
    }
    return viewWithExpr(dynamic_cast<const Expr*>(obj));
}

std::shared_ptr<ExprView> ExprView::getOverlappingExactMatchExprView(const ExprView&) const {
    return nullptr;
}

std::shared_ptr<IGenericView> ExprView::getOpViewFromPoint(core::Point) const {
    return nullptr;
}

std::shared_ptr<ExprView> ExprView::getExprViewFromPoint(core::Point) const {
    return nullptr;
}

std::vector<std::shared_ptr<GenericLabel>> ExprView::getVarLabelsForVar(const std::string&) const {
    return {};
}

std::shared_ptr<Step> ExprView::stepFromTap(core::Point) const {
    return nullptr;
}

void ExprView::setBaseFontSize(float size) {
    if (size == m_baseFontSize)
        return;
    m_baseFontSize = size;
    setSpace(halfSpaceWidth(kGeorgia, size));
}

void ExprView::fitIntoRect(const core::Rect& rect, bool animated) {
    const FitLimits limits = fitLimits(eligibleForEliminate());
    const float size =
        std::min(calcFontSizeWithMultiplier(limits.heightMultiplier, rect), limits.maximumSize);
    if (size != m_baseFontSize)
        setFontSize(size, animated);
}

float ExprView::calcFontSizeWithMultiplier(float heightMultiplier, const core::Rect& rect) const {
    return calcFontSizeWithHeightMultiplier(heightMultiplier, kWidthMultiplier, rect);
}

float ExprView::calcFontSizeWithHeightMultiplier(float heightMultiplier, float widthMultiplier,
                                                 const core::Rect& rect) const {
    const ExprPtr expr = getExpr();
    const std::string text = expr ? expr->getSizeApproxString() : std::string();
    const core::Size small = gfx::measureText(text, fontNamed(kGeorgia, m_baseFontSize));
    const core::Size large = gfx::measureText(text, fontNamed(kGeorgia, m_baseFontSize + kMeasureStep));
    // Text that measures the same at both sizes (none at all) sets no limit in that direction.
    constexpr float kNoLimit = std::numeric_limits<float>::infinity();
    const float byWidth = large.width != small.width ? (rect.width() * widthMultiplier - small.width) *
                                                           kMeasureStep / (large.width - small.width)
                                                     : kNoLimit;
    const float byHeight = large.height != small.height ? (rect.height() / heightMultiplier - small.height) *
                                                              kMeasureStep / (large.height - small.height)
                                                        : kNoLimit;
    const float growth = std::min(byWidth, byHeight);
    return growth == kNoLimit ? m_baseFontSize : m_baseFontSize + growth;
}

void ExprView::sizeIntoRectWithMinimalSpacing(const core::Rect& rect) {
    const float heightMultiplier = eligibleForEliminate() ? 3.0f : 1.0f;
    setFontSize(calcFontSizeWithHeightMultiplier(heightMultiplier, kWidthMultiplier, rect), false);
}

bool ExprView::eligibleForEliminate() const {
    const ExprPtr expr = getExpr();
    return expr && expr->description().find('/') != std::string::npos;
}

core::Rect ExprView::getHitboxWithTransform() const {
    const core::Rect hitbox = getHitbox();
    const ViewList views = getViewList();
    if (views.empty() || views.back()->transform().isIdentity())
        return hitbox;
    float scale = views.back()->transform().xScale();
    if (scale > 1)
        scale -= 1;
    return hitbox.insetBy(-scale * getWidth() / 2, -scale * getHeight() / 2);
}

std::string ExprView::description() const {
    const ExprPtr expr = getExpr();
    return expr ? expr->description() : std::string();
}

ExprViewPtr makeExprView(Expr& expr, PlaygroundView& playgroundView, Baggage* bag) {
    ExprViewFactory factory(playgroundView);
    return expr.makeExprViewFromPlaygroundView(factory, bag);
}

std::shared_ptr<IGenericView> makeOpView(Operator& op, PlaygroundView& playgroundView, Baggage* bag) {
    if (bag) {
        if (std::shared_ptr<IGenericView> old = bag->getExistingViewForObj(&op)) {
            old->setObj(op.shared_from_this());
            return old;
        }
    }
    ExprViewFactory factory(playgroundView);
    std::shared_ptr<IGenericView> view = op.makeOpViewFromPlaygroundView(factory);
    if (!view)
        return nullptr;
    const ZMPosPtr start = bag ? bag->getPositionForObj(&op) : nullptr;
    if (start)
        view->moveTo(start->point(), start->anchor());
    else
        view->moveTo({0, 0}, AnchorTopLeft);
    return view;
}

std::shared_ptr<ui::View> asPlatformView(const std::shared_ptr<IGenericView>& view) {
    return std::dynamic_pointer_cast<ui::View>(view);
}

} // namespace zm
