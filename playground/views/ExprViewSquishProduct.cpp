#include "playground/views/ExprViewSquishProduct.h"

#include "model/steps/StepReplace.h"
#include "platform/core/Log.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/NumberLabel.h"
#include "playground/views/OpView.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr float kMaximumOffsetStep = 15;
constexpr double kSpringBackDuration = 0.5;
// A squeezed end factor swells by this share of how far it is pushed into its wall.
constexpr float kSwellShare = 1.0f / 3;

const ExprViewSoloist* asFactor(const ExprView& view) {
    return isExactly<ExprViewSoloist>(&view) ? static_cast<const ExprViewSoloist*>(&view) : nullptr;
}

// The term of a factor view, when it is a plain term.
std::shared_ptr<ExprSoloist> termOf(const ExprView& factor) {
    return asExactly<ExprSoloist>(factor.getExpr());
}

// `pushed` goes into `into`: both are replaced by `into` with one more in its exponent. Only a factor
// of exponent 1 is taken in; a power keeps its place.
std::shared_ptr<StepReplace> mergeStep(const std::vector<ExprViewPtr>& group, const ExprView& into,
                                       const ExprView& pushed) {
    const std::shared_ptr<ExprSoloist> pushedTerm = termOf(pushed);
    const std::shared_ptr<ExprSoloist> intoTerm = termOf(into);
    if (!pushedTerm || !intoTerm || pushedTerm->exponent() > 1)
        return nullptr;
    auto merged = std::static_pointer_cast<ExprSoloist>(intoTerm->copyWithBag(nullptr));
    merged->setExponent(intoTerm->exponent() + 1);
    std::vector<ExprPtr> condemned;
    for (const ExprViewPtr& view : group)
        condemned.push_back(view->getExpr());
    return std::make_shared<StepReplace>(std::move(condemned), std::vector<ExprPtr>{merged});
}

} // namespace

std::shared_ptr<ExprViewSquishProduct> ExprViewSquishProduct::create(std::shared_ptr<ExprProduct> product,
                                                                     PlaygroundView& playgroundView,
                                                                     Baggage* bag) {
    std::shared_ptr<ExprViewSquishProduct> view(new ExprViewSquishProduct);
    view->initWithProduct(std::move(product), playgroundView, bag);
    return view;
}

void ExprViewSquishProduct::setLeftWallXPos(float leftWallXPos, float rightWallXPos) {
    m_leftWallXPos = leftWallXPos;
    m_rightWallXPos = rightWallXPos;
}

float ExprViewSquishProduct::displacedXPos(float x) const {
    return std::min(std::max(x + m_offset, m_leftWallXPos), m_rightWallXPos - exprViews().back()->getWidth());
}

void ExprViewSquishProduct::addToOffset(float dx) {
    m_offset += std::clamp(dx, -kMaximumOffsetStep, kMaximumOffsetStep);
    if (m_rightWallXPos > m_leftWallXPos)
        m_offset = std::clamp(m_offset, -maximumOffset(), maximumOffset());
    moveTo(m_centerPivot, AnchorCenter);
}

// A row pushed on and on would swell its end factor without limit and, let go, spring past the other
// wall: it goes into a wall by its own width at most, which is more than any merge needs.
float ExprViewSquishProduct::maximumOffset() const {
    return (m_rightWallXPos - m_leftWallXPos + getWidth()) / 2;
}

void ExprViewSquishProduct::alignToWall() {
    const float flush = (m_rightWallXPos - m_leftWallXPos - getWidth()) / 2;
    m_offset = leftAligned() ? -flush : flush;
}

void ExprViewSquishProduct::pushOffWall(core::Point point) {
    if (m_squishPerc == 0)
        return;
    ui::animate({.duration = kSpringBackDuration}, [&] {
        // Pushed in by more than twice its end factor, the row comes back to the middle, not past it.
        m_offset *= std::max(0.0f, 1 - m_squishPerc);
        setAlgebraTransformSize(1);
        moveTo(point, AnchorCenter);
    });
}

std::shared_ptr<StepReplace> ExprViewSquishProduct::overlapCheck() const {
    const std::vector<ExprViewPtr>& factors = exprViews();
    const core::Rect firstBox = factors.front()->getHitbox();
    const core::Rect lastBox = factors.back()->getHitbox();
    // The factors whose centres lie in the first factor's box, and those in the last one's; the end the
    // row leans to is asked first.
    std::vector<ExprViewPtr> inFirst, inLast;
    for (const ExprViewPtr& factor : factors) {
        const core::Point center = factor->getPointAtPosition(AnchorCenter);
        const bool first = firstBox.contains(center), last = lastBox.contains(center);
        if (first && (leftAligned() || !last))
            inFirst.push_back(factor);
        else if (last)
            inLast.push_back(factor);
    }
    if (inFirst.size() == 2)
        return mergeStep(inFirst, *inFirst[0], *inFirst[1]);
    if (inLast.size() == 2)
        return mergeStep(inLast, *inLast[1], *inLast[0]);
    return nullptr;
}

bool ExprViewSquishProduct::canFallDown() const {
    const std::vector<ExprViewPtr>& factors = exprViews();
    return factors.size() == 2 && std::ranges::all_of(factors, [this](const ExprViewPtr& factor) {
               return asFactor(*factor) && exponentOf(*factor) >= 2;
           });
}

int ExprViewSquishProduct::exponentTotal() const {
    int total = 0;
    for (const ExprViewPtr& factor : exprViews())
        total += exponentOf(*factor);
    return total;
}

int ExprViewSquishProduct::exponentOf(const ExprView& factor) const {
    const std::shared_ptr<ExprSoloist> term = termOf(factor);
    return term ? term->exponent() : 0;
}

int ExprViewSquishProduct::firstExponent() const {
    return exponentOf(*exprViews().front());
}

int ExprViewSquishProduct::lastExponent() const {
    return exponentOf(*exprViews().back());
}

void ExprViewSquishProduct::setFontSizeForced(float size) {
    ExprViewProduct::setFontSize(size, true);
}

GenericViewList ExprViewSquishProduct::orderedViewList() const {
    GenericViewList pieces;
    for (size_t i = 0; i < exprViews().size(); ++i) {
        pieces.push_back(exprViews()[i]);
        if (i < opViews().size())
            pieces.push_back(opViews()[i]);
    }
    return pieces;
}

void ExprViewSquishProduct::setFontSize(float size, bool animated) {
    setBaseFontSize(size);
    const int total = exponentTotal();
    for (const ExprViewPtr& factor : exprViews()) {
        float factorSize = size;
        if (asFactor(*factor) && total > 1)
            factorSize *= 1 + float(std::max(exponentOf(*factor) - 1, 0)) / float(total - 1);
        factor->setFontSize(factorSize, animated);
    }
    for (const std::shared_ptr<IGenericView>& op : opViews())
        op->setFontSize(size, animated);
    leftParen()->setFontSize(size, animated);
    rightParen()->setFontSize(size, animated);
}

void ExprViewSquishProduct::setAlgebraTransformSize(float scale) {
    ExprViewProduct::setAlgebraTransformSize(scale);
    m_swollen = nullptr;
}

void ExprViewSquishProduct::moveTo(core::Point point, Anchor anchor) {
    if (anchor == AnchorCenter)
        m_centerPivot = point;
    if (const std::optional<core::Point> middleLeft =
            middleLeftForAnchor(point, anchor, {getWidth(), getHeight()}))
        layOutFromMiddleLeft(middleLeft->x, middleLeft->y);
}

void ExprViewSquishProduct::layOutFromMiddleLeft(float x, float y) {
    if (m_rightWallXPos <= m_leftWallXPos)
        core::log(core::LogLevel::Warning, "Walls have not been set, please set them");
    const std::vector<ExprViewPtr>& factors = exprViews();
    const GenericViewList& ops = opViews();
    const float s = space();

    // The end factor at the wall the row leans to swells with how far the row's end is pushed past it.
    ExprView& end = leftAligned() ? *factors.front() : *factors.back();
    const float rowEnd = leftAligned() ? x : x + getWidth();
    const float pushed = std::abs(displacedXPos(rowEnd) - (rowEnd + m_offset));
    const float endWidth = end.getWidth();
    m_squishPerc = endWidth > 0 ? pushed / (2 * endWidth) : 0;
    // Only one factor is swollen at a time, and only while it is squeezed.
    if (m_swollen && (m_swollen != &end || m_squishPerc == 0)) {
        m_swollen->setAlgebraTransformSize(1);
        m_swollen = nullptr;
    }
    if (m_squishPerc > 0) {
        end.setAlgebraTransformSize(1 + m_squishPerc * kSwellShare);
        m_swollen = &end;
    }

    for (size_t i = 0; i + 1 < factors.size(); ++i) {
        factors[i]->moveTo({displacedXPos(x), y}, AnchorMiddleLeft);
        x += factors[i]->getWidth() + s;
        if (m_offset == 0) {
            // The times sign sits low in its line: lowered, it stands at the middle of the terms.
            const float drop = isExactly<OpViewTimes>(ops[i].get()) ? 2 * s : 0;
            ops[i]->moveTo({displacedXPos(x), y + drop}, AnchorMiddleLeft);
        }
        x += ops[i]->getWidth() + s;
    }
    const ExprViewPtr& last = factors.back();
    last->moveTo({displacedXPos(x), y}, AnchorMiddleLeft);
    if (const ExprViewSoloist* lastFactor = asFactor(*last); lastFactor && lastFactor->isExponentVisible()) {
        const std::shared_ptr<NumberLabel>& exponent = lastFactor->exponentLabel();
        const core::Point right = exponent->getPointAtPosition(AnchorMiddleRight);
        if (right.x > m_rightWallXPos)
            exponent->moveTo({m_rightWallXPos, right.y}, AnchorMiddleRight);
    }
    // However the factors pile up, each sign stays between its two factors.
    if (m_offset != 0) {
        for (size_t i = 0; i < ops.size(); ++i) {
            const core::Point left = factors[i]->getPointAtPosition(AnchorCenter);
            const core::Point right = factors[i + 1]->getPointAtPosition(AnchorCenter);
            ops[i]->moveTo({(left.x + right.x) / 2, left.y + 2 * s}, AnchorCenter);
        }
    }
}

} // namespace zm
