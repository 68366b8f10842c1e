#include "playground/views/ExprViewSoloist.h"

#include "model/ExprProduct.h"
#include "model/steps/StepFactorize.h"
#include "model/steps/StepReplace.h"
#include "playground/PlaygroundView.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/Baggage.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"
#include "playground/views/NumberLabel.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace zm {

namespace {

// A power of a number written out as a product has this many factors at most; a larger power is
// refused like a term without a factorization.
constexpr int32_t kMaxWrittenOutPower = 12;

void append(GenericViewList& list, const GenericViewList& more) {
    list.insert(list.end(), more.begin(), more.end());
}

} // namespace

std::shared_ptr<ExprViewSoloist> ExprViewSoloist::create(std::shared_ptr<ExprSoloist> solo,
                                                         PlaygroundView& playgroundView, Baggage* bag) {
    std::shared_ptr<ExprViewSoloist> view(new ExprViewSoloist);
    view->configureDefaults(std::move(solo), playgroundView);
    // A surviving term keeps its old labels as they stand: text, font, colour and place.
    const auto old =
        bag ? std::dynamic_pointer_cast<ExprViewSoloist>(bag->getExistingViewForObj(view->m_solo.get()))
            : nullptr;
    if (old) {
        view->m_coefLabel = old->m_coefLabel;
        view->m_varLabel = old->m_varLabel;
        view->m_exponentLabel = old->m_exponentLabel;
        view->setBaseFontSize(playgroundView.baseFontSize());
        return view;
    }
    view->makeLabels(playgroundView);
    if (const ZMPosPtr start = bag ? bag->getPositionForObj(view->m_solo.get()) : nullptr)
        view->moveTo(start->point(), start->anchor());
    return view;
}

std::shared_ptr<ExprViewSoloist>
ExprViewSoloist::copyWithPlaygroundView(PlaygroundView& playgroundView) const {
    std::shared_ptr<ExprViewSoloist> copy = create(m_solo, playgroundView);
    copy->moveTo(getPointAtPosition(AnchorCenter), AnchorCenter);
    return copy;
}

void ExprViewSoloist::configureDefaults(std::shared_ptr<ExprSoloist> solo,
                                        const PlaygroundView& playgroundView) {
    if (solo->var() == "null")
        solo->setVar(kNumVar);
    m_solo = std::move(solo);
    m_numberFontName = playgroundView.numberFontName();
    m_varFontName = playgroundView.varFontName();
}

void ExprViewSoloist::makeLabels(const PlaygroundView& playgroundView) {
    const gfx::Font numberFont = fontNamed(m_numberFontName, playgroundView.baseFontSize());
    const gfx::Font varFont = fontNamed(m_varFontName, playgroundView.baseFontSize());
    m_coefLabel = NumberLabel::create(coefText(), numberFont);
    m_varLabel = GenericLabel::create(m_solo->var(), varFont);
    m_exponentLabel = NumberLabel::create(std::to_string(m_solo->exponent()), numberFont);
    setFontSize(playgroundView.baseFontSize(), false);
    setColor(playgroundView.expressionColor());
}

std::string ExprViewSoloist::coefText() const {
    if (m_solo->varIsNotNum() && m_solo->coef() == -1)
        return "-";
    return std::to_string(m_solo->coef());
}

bool ExprViewSoloist::isCoefVisible() const {
    return m_solo->varIsNum() || m_solo->coef() != 1;
}

bool ExprViewSoloist::isVarVisible() const {
    return m_solo->varIsNotNum();
}

bool ExprViewSoloist::isExponentVisible() const {
    return m_solo->exponent() != 1;
}

void ExprViewSoloist::setObj(ModelObjectPtr obj) {
    setExpr(std::dynamic_pointer_cast<Expr>(obj));
}

void ExprViewSoloist::setExpr(ExprPtr expr) {
    if (auto solo = std::dynamic_pointer_cast<ExprSoloist>(expr))
        m_solo = std::move(solo);
}

ViewList ExprViewSoloist::getViewList() const {
    ViewList views;
    if (isCoefVisible())
        views = m_coefLabel->getViewList();
    if (isVarVisible())
        views.push_back(asPlatformView(m_varLabel));
    if (isExponentVisible()) {
        const ViewList exponent = m_exponentLabel->getViewList();
        views.insert(views.end(), exponent.begin(), exponent.end());
    }
    return views;
}

GenericViewList ExprViewSoloist::getGenericSubviews() const {
    GenericViewList subviews = m_coefLabel->getGenericSubviews();
    append(subviews, m_varLabel->getGenericSubviews());
    append(subviews, m_exponentLabel->getGenericSubviews());
    return subviews;
}

GenericViewList ExprViewSoloist::getBaseNodeGenericViews() const {
    return {sharedAs()};
}

core::Rect ExprViewSoloist::getHitbox() const {
    core::Rect hitbox = core::Rect::null();
    if (isCoefVisible())
        hitbox = m_coefLabel->getHitbox();
    if (isVarVisible())
        hitbox = hitbox.united(m_varLabel->getHitbox());
    return hitbox;
}

bool ExprViewSoloist::containsPoint(core::Point point) const {
    core::Rect area = getHitbox();
    if (isExponentVisible() && !area.isNull())
        area.size.width += m_exponentLabel->getWidth();
    return area.contains(point);
}

float ExprViewSoloist::getWidth() const {
    float width = 0;
    if (isCoefVisible())
        width += m_coefLabel->getWidth();
    if (isVarVisible())
        width += m_varLabel->getWidth();
    if (isExponentVisible())
        width += m_exponentLabel->getWidth() / 2;
    return width;
}

float ExprViewSoloist::getPureWidth() const {
    float width = 0;
    if (isCoefVisible())
        width += m_coefLabel->getPureWidth();
    if (isVarVisible())
        width += m_varLabel->getPureWidth();
    if (isExponentVisible())
        width += m_exponentLabel->getPureWidth();
    return width;
}

float ExprViewSoloist::getHeight() const {
    float height = 0;
    if (isCoefVisible())
        height = m_coefLabel->getHeight();
    if (isVarVisible())
        height = std::max(height, m_varLabel->getHeight());
    return height;
}

core::Point ExprViewSoloist::getTopLeft() const {
    return isCoefVisible() ? m_coefLabel->getTopLeft() : m_varLabel->getTopLeft();
}

void ExprViewSoloist::moveTo(core::Point point, Anchor anchor) {
    const std::optional<core::Point> topLeft = topLeftForAnchor(point, anchor, {getWidth(), getHeight()});
    if (!topLeft)
        return;
    auto [x, y] = *topLeft;
    const IGenericView* last = nullptr;
    if (isCoefVisible()) {
        m_coefLabel->moveTo({x, y}, AnchorTopLeft);
        x += m_coefLabel->getWidth();
        last = m_coefLabel.get();
    }
    if (isVarVisible()) {
        m_varLabel->moveTo({x, y}, AnchorTopLeft);
        last = m_varLabel.get();
    }
    if (isExponentVisible() && last)
        m_exponentLabel->moveTo(last->getPointAtPosition(AnchorMiddleRight), AnchorBottomLeft);
}

std::shared_ptr<ExprView> ExprViewSoloist::viewWithExpr(const Expr* expr) const {
    return expr && expr == m_solo.get() ? sharedAs() : nullptr;
}

std::shared_ptr<ExprView> ExprViewSoloist::getOverlappingExactMatchExprView(const ExprView& dragged) const {
    const ExprPtr draggedExpr = dragged.getExpr();
    if (&dragged != this && draggedExpr && getHitbox().intersects(dragged.getHitbox()) &&
        m_solo->isExactMatch(*draggedExpr))
        return sharedAs();
    return nullptr;
}

std::shared_ptr<ExprView> ExprViewSoloist::getExprViewFromPoint(core::Point point) const {
    if ((isCoefVisible() && m_coefLabel->containsPoint(point)) ||
        (isVarVisible() && m_varLabel->containsPoint(point)))
        return sharedAs();
    return nullptr;
}

std::shared_ptr<Step> ExprViewSoloist::stepFromTap(core::Point point) const {
    if (!containsPoint(point))
        return nullptr;
    // A power of a number is written out as a product of its factors. -3^2 is -(3^2): the sign
    // stands apart as -1 before the copies of 3, since (-3) * (-3) would be 9.
    if (m_solo->varIsNum() && m_solo->exponent() >= 2) {
        // The magnitude of the smallest coefficient has no 32-bit form.
        const int32_t coef = m_solo->coef();
        if (m_solo->exponent() > kMaxWrittenOutPower || coef == std::numeric_limits<int32_t>::min())
            return std::make_shared<StepFail>(std::vector<ExprPtr>{m_solo});
        std::vector<ExprPtr> factors;
        if (coef < 0)
            factors.push_back(ExprSoloist::soloWithCoef(-1));
        for (int32_t i = 0; i < m_solo->exponent(); ++i) {
            auto factor = std::static_pointer_cast<ExprSoloist>(m_solo->copy());
            factor->setExponent(1);
            factor->setCoef(std::abs(coef));
            factors.push_back(factor);
        }
        return StepFactorize::stepFactorizeWithOg(m_solo, ExprProduct::productWithArray(factors));
    }
    std::vector<std::shared_ptr<ExprProduct>> pairs = m_solo->getFactorizedProductPairs();
    if (pairs.size() >= 2)
        return std::make_shared<StepFactorizeChoices>(std::move(pairs), m_solo);
    if (pairs.size() == 1)
        return StepFactorize::stepFactorizeWithOg(m_solo, pairs.front());
    // Nothing to split: a product starting with 1, which the step refuses, so the term shakes.
    if (m_solo->coef() == 0 || ExprSoloist::isNegativeOne(m_solo.get()))
        return StepFactorize::stepFactorizeWithOg(
            m_solo,
            ExprProduct::productWithArray({ExprSoloist::soloWithCoef(1), ExprSoloist::soloWithCoef(-1)}));
    return nullptr;
}

std::vector<std::shared_ptr<GenericLabel>> ExprViewSoloist::getVarLabelsForVar(const std::string& var) const {
    if (m_solo->var() == var)
        return {m_varLabel};
    return {};
}

void ExprViewSoloist::setSpace(float space) {
    ExprView::setSpace(space);
    if (m_coefLabel)
        m_coefLabel->setSpace(space);
}

void ExprViewSoloist::setFontSize(float size, bool animated) {
    setBaseFontSize(size);
    GenericViewList full = m_coefLabel->getGenericSubviews();
    append(full, m_varLabel->getGenericSubviews());
    for (const std::shared_ptr<IGenericView>& subview : full)
        subview->setFontSize(size, animated);
    for (const std::shared_ptr<IGenericView>& subview : m_exponentLabel->getGenericSubviews())
        subview->setFontSize(size / 2, animated);
}

std::string ExprViewSoloist::description() const {
    return m_solo->description();
}

} // namespace zm
