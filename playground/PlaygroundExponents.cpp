#include "playground/PlaygroundExponents.h"

#include "model/Operator.h"
#include "model/steps/StepReplace.h"
#include "platform/ui/Device.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/Baggage.h"
#include "playground/views/BorderView.h"
#include "playground/views/ExprViewSoloist.h"
#include "playground/views/ExprViewSquishProduct.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <cstdint>

namespace zm {

namespace {

constexpr double kStageDuration = 0.5;
constexpr double kFallDuration = 0.5;
// The row moves by this much of the finger's sideways move.
constexpr float kPushGain = 1.5f;
constexpr float kCoverHeightPhone = 100;
constexpr float kCoverHeightTablet = 300;
// The gap around the row inside the platform, in spacing units of the main expression.
constexpr float kPlatformMargin = 6;

// A term that can be written out as a row of equal factors: a variable with coefficient 1 (x³ is
// x · x · x, but 3x² is not 3x · 3x), or a number, whose coefficient is the base.
bool hasWritableBase(const ExprSoloist& term) {
    return term.varIsNum() || term.coef() == 1;
}

bool sameBase(const ExprSoloist& a, const ExprSoloist& b) {
    return a.var() == b.var() && (a.varIsNotNum() || a.coef() == b.coef());
}

void setHeight(ui::View& view, float height) {
    const core::Rect frame = view.frame();
    view.setFrame({frame.origin, {frame.width(), height}});
}

} // namespace

bool PlaygroundExponents::doesOpTimesQualify(const OpTimes& times) {
    const auto a = asExactly<ExprSoloist>(times.firstExpr());
    const auto b = asExactly<ExprSoloist>(times.secondExpr());
    if (!a || !b || !hasWritableBase(*a) || !hasWritableBase(*b) || !sameBase(*a, *b))
        return false;
    // x^0 or x^-1 would write out no factor at all.
    if (a->exponent() < 1 || b->exponent() < 1)
        return false;
    if (int64_t(a->exponent()) + b->exponent() > kMaximumFactors)
        return false;
    // Two plain numbers multiply as they are.
    return a->varIsNotNum() || a->exponent() != 1 || b->exponent() != 1;
}

bool PlaygroundExponents::doesSoloQualify(const ExprSoloist& solo) {
    return hasWritableBase(solo) && solo.exponent() >= 2 && solo.exponent() <= kMaximumFactors;
}

std::shared_ptr<PlaygroundExponents> PlaygroundExponents::create(const std::shared_ptr<OpTimes>& times,
                                                                 PlaygroundMain& mainPlayground) {
    if (!times || !doesOpTimesQualify(*times))
        return nullptr;
    return create({asExactly<ExprSoloist>(times->firstExpr()), asExactly<ExprSoloist>(times->secondExpr())},
                  times, mainPlayground);
}

std::shared_ptr<PlaygroundExponents> PlaygroundExponents::create(const std::shared_ptr<ExprSoloist>& solo,
                                                                 PlaygroundMain& mainPlayground) {
    if (!solo || !doesSoloQualify(*solo))
        return nullptr;
    return create({solo}, nullptr, mainPlayground);
}

std::shared_ptr<PlaygroundExponents>
PlaygroundExponents::create(std::vector<std::shared_ptr<ExprSoloist>> exprs,
                            const std::shared_ptr<OpTimes>& times, PlaygroundMain& mainPlayground) {
    const std::shared_ptr<PlaygroundView> host = mainPlayground.playgroundView();
    if (!host)
        return nullptr;
    std::shared_ptr<PlaygroundExponents> playground(new PlaygroundExponents(*host, mainPlayground));
    playground->initWithExprs(std::move(exprs), times);
    return playground;
}

PlaygroundExponents::PlaygroundExponents(PlaygroundView& playgroundView, PlaygroundMain& mainPlayground)
    : Playground(playgroundView)
    , m_mainPlayground(std::static_pointer_cast<PlaygroundMain>(mainPlayground.weak_from_this().lock())) {}

void PlaygroundExponents::initWithExprs(std::vector<std::shared_ptr<ExprSoloist>> exprs,
                                        const std::shared_ptr<OpTimes>& times) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = m_mainPlayground.lock();
    std::vector<ExprPtr> factors;
    for (const std::shared_ptr<ExprSoloist>& term : exprs) {
        for (int32_t i = 0; i < term->exponent(); ++i) {
            auto factor = std::static_pointer_cast<ExprSoloist>(term->copyWithBag(nullptr));
            factor->setExponent(1);
            factors.push_back(std::move(factor));
        }
    }
    m_originalExprs = std::move(exprs);
    m_product = ExprProduct::productWithArray(factors);
    m_squishView = ExprViewSquishProduct::create(m_product, *host, nullptr);
    m_platform = BorderView::create({0, 0, 50, 50});
    m_platform->setBackgroundColor(platformColor());

    // The main expression's views of the terms: they gather where the row will be.
    const std::shared_ptr<ExprView> mainView = main ? main->mainExprView() : nullptr;
    m_ogPivot = host->pivotPoint();
    if (mainView && times) {
        m_leftFloaterView = mainView->viewWithExpr(m_originalExprs.front().get());
        m_rightFloaterView = mainView->viewWithExpr(m_originalExprs.back().get());
        m_timesFloaterView = mainView->viewWithObj(times.get());
        if (m_timesFloaterView && m_leftFloaterView) {
            const core::Point sign = m_timesFloaterView->getPointAtPosition(AnchorCenter);
            m_ogPivot = {sign.x, sign.y - 2 * m_leftFloaterView->space()};
        }
    } else if (mainView) {
        m_singleFloaterView = mainView->viewWithExpr(m_originalExprs.front().get());
        if (m_singleFloaterView)
            m_ogPivot = m_singleFloaterView->getPointAtPosition(AnchorCenter);
    }

    // The arms wait beyond the edges of the host view.
    const core::Rect bounds = host->bounds();
    for (std::shared_ptr<ui::View>* arm : {&m_leftArm, &m_rightArm}) {
        *arm = ui::View::create({0, 0, bounds.width(), m_squishView->getHeight()});
        (*arm)->setBackgroundColor(platformColor());
        (*arm)->setUserInteractionEnabled(false);
    }
    moveViewTo(*m_rightArm, {bounds.maxX(), bounds.midY()}, AnchorMiddleLeft);
    moveViewTo(*m_leftArm, {bounds.minX(), bounds.midY()}, AnchorMiddleRight);
    m_displayState = DisplayState::Gathering;
    m_falling = false;
    noteExponents();
}

float PlaygroundExponents::coverHeight() {
    return ui::Device::current().isTablet() ? kCoverHeightTablet : kCoverHeightPhone;
}

core::Color PlaygroundExponents::platformColor() const {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    return host ? host->highlightColor() : kHighlightColor;
}

void PlaygroundExponents::positionCoverViews() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = m_mainPlayground.lock();
    if (!host || !m_squishView)
        return;
    const float space = main && main->mainExprView() ? main->mainExprView()->space() : host->space();
    const float margin = kPlatformMargin * space;
    const float height = coverHeight();
    const float width = std::min(m_squishView->getWidth() + margin, host->spacingRect().width() - margin);
    m_platform->setFrame({m_ogPivot.x - width / 2, m_ogPivot.y - height / 2, width, height});
    const core::Rect platform = m_platform->frame();
    m_squishView->setLeftWallXPos(platform.minX(), platform.maxX());
    moveViewTo(*m_rightArm, {platform.maxX(), platform.midY()}, AnchorMiddleLeft);
    moveViewTo(*m_leftArm, {platform.minX(), platform.midY()}, AnchorMiddleRight);
}

void PlaygroundExponents::drawInitialState() {
    m_clearing = false;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    if (m_displayState == DisplayState::Gathering) {
        positionCoverViews();
        m_squishView->fitIntoRect(m_platform->bounds(), false);
        // Shown again, the main expression's views stand above the veil.
        for (const std::shared_ptr<ExprView>& floater :
             {m_singleFloaterView, m_leftFloaterView, m_rightFloaterView})
            host->showExprView(floater.get());
        if (m_timesFloaterView)
            host->showGenericView(*m_timesFloaterView);
    }
    host->showView(m_leftArm);
    host->showView(m_rightArm);
    if (m_displayState == DisplayState::Row) {
        host->showExprView(m_squishView.get());
        host->showExprView(m_finalSoloView.get());
    }
}

void PlaygroundExponents::moveToFinalStateAnimated(bool animated) {
    if (!animated) {
        moveToPivot();
        return;
    }
    ui::animate(
        {.duration = kStageDuration}, [this] { moveToPivot(); },
        [weak = weakSelf(), animated](bool) {
            const std::shared_ptr<PlaygroundExponents> self = weak.lock();
            // Once the modal is over the main expression's views are no longer its own to
            // take off the screen.
            if (!self || self->m_displayState == DisplayState::Row || self->m_clearing)
                return;
            self->m_displayState = DisplayState::Row;
            for (std::shared_ptr<ExprView>* floater :
                 {&self->m_singleFloaterView, &self->m_leftFloaterView, &self->m_rightFloaterView}) {
                if (*floater)
                    (*floater)->clear();
                *floater = nullptr;
            }
            if (self->m_timesFloaterView)
                self->m_timesFloaterView->clear();
            self->m_timesFloaterView = nullptr;
            self->drawInitialState();
            self->moveToFinalStateAnimated(animated);
        });
}

void PlaygroundExponents::moveToPivot() {
    if (m_displayState == DisplayState::Gathering)
        gatherAtPivot();
    else
        spreadAtPivot();
}

// The terms move to the row's line, the sign between them, and each piece of the row is put on the
// term it comes from, ready to spread.
void PlaygroundExponents::gatherAtPivot() {
    if (!m_squishView)
        return;
    const core::Point pivot = m_ogPivot;
    const float rowSize = m_squishView->baseFontSize();
    for (const std::shared_ptr<ExprView>& floater : {m_leftFloaterView, m_rightFloaterView}) {
        if (floater)
            floater->setFontSize(rowSize, true);
    }
    if (m_timesFloaterView)
        m_timesFloaterView->setFontSize(rowSize, true);

    if (m_timesFloaterView && m_leftFloaterView && m_rightFloaterView) {
        m_timesFloaterView->moveToVertical(pivot.y + 2 * m_leftFloaterView->space(), AnchorCenter);
        const core::Point sign = m_timesFloaterView->getPointAtPosition(AnchorCenter);
        const float signWidth = m_timesFloaterView->getWidth();
        m_rightFloaterView->moveTo({sign.x + signWidth / 2 + m_squishView->space(), pivot.y},
                                   AnchorMiddleLeft);
        m_leftFloaterView->moveTo({sign.x - signWidth / 2 - m_leftFloaterView->getWidth(), pivot.y},
                                  AnchorMiddleLeft);
    }
    if (m_singleFloaterView) {
        m_singleFloaterView->moveToVertical(pivot.y, AnchorCenter);
        core::Rect area = m_singleFloaterView->getHitbox();
        area.size.width = m_singleFloaterView->getPureWidth();
        m_platform->setFrame(area);
    }

    // Pieces 0 .. 2n - 2 stand on the first term (n its exponent), piece 2n - 1 on the sign, the rest
    // on the second (or only) term; signs other than that one sit lower, like a times sign in its row.
    // A single term takes every piece.
    const int signPiece = m_singleFloaterView ? -1 : 2 * m_originalExprs.front()->exponent() - 1;
    const GenericViewList pieces = m_squishView->orderedViewList();
    for (int i = 0; i < int(pieces.size()); ++i) {
        const IGenericView* home = i < signPiece         ? m_leftFloaterView.get()
                                   : i == signPiece      ? m_timesFloaterView.get()
                                   : m_singleFloaterView ? m_singleFloaterView.get()
                                                         : m_rightFloaterView.get();
        if (!home)
            continue;
        core::Point at = home->getPointAtPosition(AnchorCenter);
        if (i % 2 == 1 && i != signPiece)
            at.y += 2 * m_squishView->space();
        pieces[size_t(i)]->moveTo(at, AnchorCenter);
    }

    const ExprView* rightEnd = m_singleFloaterView ? m_singleFloaterView.get() : m_rightFloaterView.get();
    const ExprView* leftEnd = m_singleFloaterView ? m_singleFloaterView.get() : m_leftFloaterView.get();
    if (rightEnd) {
        setHeight(*m_rightArm, rightEnd->getHeight());
        moveViewTo(*m_rightArm, rightEnd->getPointAtPosition(AnchorMiddleRight), AnchorMiddleLeft);
    }
    if (leftEnd) {
        setHeight(*m_leftArm, leftEnd->getHeight());
        moveViewTo(*m_leftArm, leftEnd->getPointAtPosition(AnchorMiddleLeft), AnchorMiddleRight);
    }
}

void PlaygroundExponents::spreadAtPivot() {
    if (!m_squishView)
        return;
    positionCoverViews();
    m_squishView->fitIntoRect(m_platform->bounds(), false);
    m_squishView->moveTo(m_ogPivot, AnchorCenter);
}

void PlaygroundExponents::touchBegan(core::Point point) {
    // Before the row is shown there is nothing to tap.
    if (m_displayState == DisplayState::Row && m_platform->frame().contains(point))
        m_tapping = true;
}

bool PlaygroundExponents::touchMoved(core::Point point) {
    m_tapping = false;
    if (m_falling)
        return false;
    // A push before the row is shown would move pieces still standing on the terms.
    if (m_displayState != DisplayState::Row || !m_squishView)
        return true;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return false;
    if (m_lastPoint == core::Point{0, 0})
        m_lastPoint = point;
    m_squishView->addToOffset((point.x - m_lastPoint.x) * kPushGain);
    if (const std::shared_ptr<StepReplace> merge = m_squishView->overlapCheck()) {
        host->didExponentCombineStep();
        Baggage bag(m_squishView);
        const ExprPtr merged = merge->applyToExpr(m_product, &bag);
        if (const auto row = asExactly<ExprProduct>(merged))
            showMergedRow(row, bag);
        else if (const auto solo = asExactly<ExprSoloist>(merged))
            showFinalSolo(solo);
    }
    m_lastPoint = point;
    return true;
}

void PlaygroundExponents::showMergedRow(const std::shared_ptr<ExprProduct>& product, Baggage& bag) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const float size = m_squishView->baseFontSize();
    const float offset = m_squishView->offset();
    m_squishView->clear();
    m_product = product;
    // The pieces that survive keep their labels; the merged power grows where its factor stood.
    m_squishView = ExprViewSquishProduct::create(product, *host, &bag);
    m_squishView->setAlgebraTransformSize(1);
    m_squishView->setFontSize(size, false);
    m_squishView->setLeftWallXPos(m_platform->frame().minX(), m_platform->frame().maxX());
    m_squishView->setOffset(offset);
    m_squishView->alignToWall();
    host->showExprView(m_squishView.get());
    m_squishView->moveTo(m_ogPivot, AnchorCenter);
    noteExponents();
    if (m_squishView->canFallDown())
        fallDown();
}

void PlaygroundExponents::showFinalSolo(const std::shared_ptr<ExprSoloist>& solo) {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    m_finalSolo = solo;
    m_finalSoloView = ExprViewSoloist::create(solo, *host);
    m_finalSoloView->setFontSize(2 * m_squishView->baseFontSize(), false);
    const core::Rect platform = m_platform->frame();
    const float x =
        m_squishView->leftAligned() ? platform.minX() : platform.maxX() - m_finalSoloView->getWidth();
    m_finalSoloView->moveTo({x, platform.midY()}, AnchorMiddleLeft);
    host->showExprView(m_finalSoloView.get());
    m_squishView->clear();
    m_squishView = nullptr;
    m_product = nullptr;
    noteExponents();
    fallDown();
}

bool PlaygroundExponents::touchEnded(core::Point) {
    m_lastPoint = {0, 0};
    if (m_tapping)
        fallDown();
    else if (m_squishView && !m_falling)
        m_squishView->pushOffWall(m_ogPivot);
    m_tapping = false;
    return false;
}

void PlaygroundExponents::fallDown() {
    // A second tap during the fall would commit the row twice.
    if (m_falling)
        return;
    m_falling = true;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    if (!host)
        return;
    ui::animate(
        {.duration = kFallDuration},
        [&] {
            if (m_finalSoloView || !m_squishView)
                return;
            // At the main expression's size, every factor alike, against the wall it leaned to. The
            // walls hold it no longer: at that size the row may be wider than the platform, and its
            // pieces would pile up on a wall on their way into the expression.
            m_squishView->setAlgebraTransformSize(1);
            m_squishView->setFontSizeForced(host->baseFontSize());
            const float leaned = m_squishView->offset();
            m_squishView->setOffset(0);
            m_squishView->setLeftWallXPos(host->bounds().minX(), host->bounds().maxX());
            const core::Rect platform = m_platform->frame();
            const float x = leaned < 0 ? platform.minX() : platform.maxX() - m_squishView->getWidth();
            m_squishView->moveTo({x, platform.midY()}, AnchorMiddleLeft);
        },
        [weak = weakSelf()](bool) {
            if (const std::shared_ptr<PlaygroundExponents> self = weak.lock())
                self->commit();
        });
}

void PlaygroundExponents::commit() {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = m_mainPlayground.lock();
    if (!host || !main || m_clearing)
        return;
    std::shared_ptr<StepReplace> step;
    Baggage bag;
    if (m_finalSoloView) {
        // The merged power's view hands its labels over to the main expression.
        m_finalSoloView->setFontSize(host->baseFontSize(), false);
        bag.addExprView(m_finalSoloView);
        step = std::make_shared<StepReplace>(
            std::vector<ExprPtr>(m_originalExprs.begin(), m_originalExprs.end()),
            std::vector<ExprPtr>{m_finalSolo});
    } else if (m_squishView) {
        // Copies of the row's terms and signs go into the main expression, each starting where its
        // piece of the row stands.
        bag.addExprView(m_squishView);
        std::vector<ExprPtr> copies;
        for (const ExprViewPtr& factor : m_squishView->exprViews()) {
            ExprPtr copy = factor->getExpr()->copyWithBag(nullptr);
            bag.addPositionForObj(copy, factor->getExpr());
            copies.push_back(std::move(copy));
        }
        const std::shared_ptr<ExprProduct> written = ExprProduct::productWithArray(copies);
        for (size_t i = 0; i < m_product->ops().size() && i < written->ops().size(); ++i)
            bag.addPositionForObj(written->ops()[i], m_product->ops()[i]);
        step = std::make_shared<StepReplace>(
            std::vector<ExprPtr>(m_originalExprs.begin(), m_originalExprs.end()),
            std::vector<ExprPtr>{written});
    }
    if (step)
        main->executeStep(step, bag);
    host->popModalPlayground();
}

void PlaygroundExponents::clear() {
    m_clearing = true;
    if (m_squishView)
        m_squishView->clear();
    m_platform->removeFromSuperview();
    m_leftArm->removeFromSuperview();
    m_rightArm->removeFromSuperview();
}

void PlaygroundExponents::noteExponents() {
    if (m_squishView) {
        m_leftExponentNumber = m_squishView->firstExponent();
        m_rightExponentNumber = m_squishView->lastExponent();
    } else {
        const int merged = m_finalSolo ? m_finalSolo->exponent() : 0;
        m_leftExponentNumber = merged;
        m_rightExponentNumber = merged;
    }
}

std::weak_ptr<PlaygroundExponents> PlaygroundExponents::weakSelf() {
    return std::static_pointer_cast<PlaygroundExponents>(shared_from_this());
}

} // namespace zm
