#include "playground/PlaygroundDistribute.h"

#include "model/ExprProduct.h"
#include "model/ExprSum.h"
#include "model/Operator.h"
#include "model/steps/StepDistribute.h"
#include "platform/ui/Device.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/DistributionDrawingView.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/views/Baggage.h"
#include "playground/views/ExprViewList.h"
#include "playground/views/OpSlider.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

// The share of the slider's run during which the copies lift off the factor, before they take to
// their arrows.
constexpr float kLift = 0.15f;
// How far the slider stands above the bottom of the spacing rectangle.
constexpr float kSliderRaisePhone = 22;
constexpr float kSliderRaiseTablet = 11;
// On a phone the expression shrinks into the middle of its rectangle and rises, to make room for the
// arrows and the slider.
constexpr float kPhoneInset = 0.2f;
constexpr float kPhoneRise = 0.1f;
// The height of an arrow's curve, in spacing units of the sum.
constexpr float kArrowHeightPhone = 6;
constexpr float kArrowHeightTablet = 7;
// After this long the copies come to the front, over the arrows.
constexpr double kCopiesToFrontDelay = 0.5;

void appendViews(ViewList& views, const IGenericView& view) {
    const ViewList more = view.getViewList();
    views.insert(views.end(), more.begin(), more.end());
}

} // namespace

std::shared_ptr<PlaygroundDistribute> PlaygroundDistribute::create(std::shared_ptr<StepDistribute> step,
                                                                   PlaygroundMain& mainPlayground) {
    const std::shared_ptr<PlaygroundView> host = mainPlayground.playgroundView();
    if (!step || !host)
        return nullptr;
    auto main = std::static_pointer_cast<PlaygroundMain>(mainPlayground.weak_from_this().lock());
    std::shared_ptr<PlaygroundDistribute> playground(new PlaygroundDistribute(*host, std::move(step), main));
    std::weak_ptr<PlaygroundDistribute> weak = playground;
    playground->m_slider->addTarget(ui::ControlEvent::ValueChanged, [weak](ui::Control&) {
        if (auto self = weak.lock())
            self->sliderChanged();
    });
    return playground;
}

PlaygroundDistribute::PlaygroundDistribute(PlaygroundView& playgroundView,
                                           std::shared_ptr<StepDistribute> step,
                                           std::weak_ptr<PlaygroundMain> mainPlayground)
    : Playground(playgroundView)
    , m_stepDist(std::move(step))
    , m_mainPlayground(std::move(mainPlayground))
    , m_slider(OpSlider::create()) {
    m_slider->setMinimumTrackTintColor(playgroundView.highlightColor());
}

bool PlaygroundDistribute::isShown() const {
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    return host && host->modalPlayground().get() == this;
}

void PlaygroundDistribute::drawInitialState() {
    configureViews();
    if (const std::shared_ptr<PlaygroundView> host = playgroundView()) {
        for (const std::shared_ptr<ui::View>& view : getConcreteViews())
            host->showView(view);
    }
}

// In this order: the overlay for the arrows; on a phone the expression shrinks and rises; one copy of
// the factor per term, stacked on the factor; the sum again, in parentheses, over the veil; the
// direction; one arrow per term, alternately above and below, in the order the copies travel; one
// times sign per copy on the real sign; the slider at its start.
void PlaygroundDistribute::configureViews() {
    m_distributors.clear();
    m_ops.clear();
    m_acceptor = nullptr;
    m_timesView = nullptr;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    if (!host)
        return;
    const bool tablet = ui::Device::current().isTablet();
    m_drawing = DistributionDrawingView::create(host->bounds());
    m_drawing->setColor(host->highlightColor());
    m_showingSlider = true;
    host->resetPivotPoint();
    const core::Rect spacing = host->spacingRect();
    m_slider->moveTo(
        {spacing.width() / 2, spacing.maxY() - (tablet ? kSliderRaiseTablet : kSliderRaisePhone)},
        AnchorCenter);

    const std::shared_ptr<ExprView> mainView = main ? main->mainExprView() : nullptr;
    if (!mainView)
        return;
    if (!tablet) {
        mainView->fitIntoRect(spacing.insetBy(0, kPhoneInset * spacing.height()), true);
        const core::Point pivot = host->pivotPoint();
        host->setPivotPoint({pivot.x, pivot.y - kPhoneRise * host->bounds().height()});
        main->moveToFinalStateAnimated(true);
    }

    const StepDistribute& step = *m_stepDist;
    const float fontSize = mainView->baseFontSize();
    const std::shared_ptr<ExprView> factor = mainView->viewWithExpr(step.distributor().get());
    const std::shared_ptr<ExprView> sumView = mainView->viewWithExpr(step.intoSum().get());
    if (!factor || !sumView)
        return;
    const core::Point factorCenter = factor->getPointAtPosition(AnchorCenter);
    for (const ExprPtr& copy : step.distCopies()) {
        ExprViewPtr view = makeExprView(*copy, *host, nullptr);
        view->setFontSize(fontSize, false);
        view->moveTo(factorCenter, AnchorCenter);
        m_distributors.push_back(std::move(view));
    }
    m_acceptor = std::dynamic_pointer_cast<ExprViewSum>(makeExprView(*step.intoSum(), *host, nullptr));
    if (!m_acceptor)
        return;
    m_acceptor->setFontSize(fontSize, false);
    m_acceptor->setParenthesis(true);
    m_acceptor->moveTo(sumView->getPointAtPosition(AnchorCenter), AnchorCenter);

    m_dirRight =
        factor->getPointAtPosition(AnchorTopLeft).x < m_acceptor->getPointAtPosition(AnchorTopLeft).x;
    if (!m_dirRight)
        m_stepDist->setReverse(true);

    std::vector<ExprViewPtr> targets = m_acceptor->exprViews();
    if (!m_dirRight)
        std::ranges::reverse(targets);
    for (size_t k = 0; k < targets.size(); ++k)
        makePathFrom(*factor, *targets[k], k % 2 == 0);

    // The sign between the factor and the sum; when several stand between them, the last.
    OperatorPtr times;
    if (const std::shared_ptr<ExprProduct>& product = step.prodParent()) {
        for (const OperatorPtr& op : product->ops()) {
            const bool joins =
                (op->firstExpr() == step.distributor() && op->secondExpr() == step.intoSum()) ||
                (op->firstExpr() == step.intoSum() && op->secondExpr() == step.distributor());
            if (joins)
                times = op;
        }
    }
    const std::shared_ptr<ExprView> productView =
        step.prodParent() ? mainView->viewWithExpr(step.prodParent().get()) : nullptr;
    m_timesView = times && productView ? productView->viewWithOp(times.get()) : nullptr;
    if (m_timesView) {
        const core::Point timesCenter = m_timesView->getPointAtPosition(AnchorCenter);
        m_timesSignOffset = {timesCenter.x - factorCenter.x, 2 * productView->space()};
        for (const std::shared_ptr<OpTimes>& copy : step.opCopies()) {
            std::shared_ptr<IGenericView> sign = makeOpView(*copy, *host, nullptr);
            if (!sign)
                continue;
            sign->setFontSize(fontSize, false);
            sign->moveTo(timesCenter, AnchorCenter);
            m_ops.push_back(std::move(sign));
        }
    }
    m_slider->setValue(m_dirRight ? 0 : 1);
}

void PlaygroundDistribute::makePathFrom(const ExprView& factor, const ExprView& target, bool isAbove) {
    if (!m_drawing || !m_acceptor)
        return;
    const float height =
        (ui::Device::current().isTablet() ? kArrowHeightTablet : kArrowHeightPhone) * m_acceptor->space();
    if (isAbove) {
        const core::Point first = factor.getPointAtPosition(AnchorTopCenter);
        const core::Point last = target.getPointAtPosition(AnchorTopCenter);
        m_drawing->addDrawingPath({first, last, {(first.x + last.x) / 2, first.y - height}});
        return;
    }
    // Below, clear of the low-set times signs.
    const float drop = 2 * factor.space();
    const core::Point factorBottom = factor.getPointAtPosition(AnchorBottomCenter);
    const core::Point targetBottom = target.getPointAtPosition(AnchorBottomCenter);
    const core::Point first{factorBottom.x, factorBottom.y + drop};
    const core::Point last{targetBottom.x, targetBottom.y + drop};
    m_drawing->addDrawingPath({first, last, {(first.x + last.x) / 2, first.y + height}});
}

void PlaygroundDistribute::sliderChanged() {
    if (m_clearing || !isShown())
        return;
    const float value = m_slider->value();
    // Leftwards, a slider the cancel has already let go of does not commit.
    if ((m_dirRight && value == 1) || (!m_dirRight && value == 0 && m_slider->isUserInteractionEnabled())) {
        commit();
        return;
    }
    if (!m_drawing || m_drawing->paths().size() < 2 || m_drawing->paths().size() != m_distributors.size())
        return;
    moveCopies(value);
}

// The first 0.15 of the slider's run lifts each copy off the factor to the start of its arrow (u from
// -1 to 0); the rest carries it along 0.85 of the arrow. Its times sign rests beside it while it lifts
// and leans towards the arrow's end while it travels.
void PlaygroundDistribute::moveCopies(float value) {
    const float sign = m_dirRight ? 1 : -1;
    const float t = m_dirRight ? value - kLift : value + kLift;
    const bool lifting = t < 0 || t > 1;
    const float u = t < 0 ? t / kLift : (t - 1) / -kLift;
    const float space = m_acceptor ? m_acceptor->space() : 0;
    const std::vector<DrawingPath>& paths = m_drawing->paths();
    for (size_t i = 0; i < m_distributors.size(); ++i) {
        ExprView& copy = *m_distributors[i];
        const DrawingPath& path = paths[i];
        const core::Point start = path.getPositionAtPercentageThrough(m_dirRight ? 0 : 1);
        const core::Point middle = path.getPositionAtPercentageThrough(0.5f);
        const Anchor anchor = middle.y > start.y ? AnchorTopCenter : AnchorBottomCenter;
        if (lifting) {
            copy.moveTo({start.x, start.y + (anchor == AnchorTopCenter ? space : 0)}, anchor);
            const float centerY = copy.getPointAtPosition(AnchorCenter).y;
            copy.moveTo({start.x, start.y + (start.y - centerY) * (1 - u)}, anchor);
        } else {
            copy.moveTo(path.getPositionAtPercentageThrough(t), AnchorCenter);
        }

        // A step built without a sign between the factor and the sum has no signs to carry.
        if (i >= m_ops.size())
            continue;
        const core::Point center = copy.getPointAtPosition(AnchorCenter);
        const core::Point end = path.lastPoint();
        const core::Point offset = m_timesSignOffset;
        const float across = std::min(offset.x, end.x - center.x);
        const float down = end.y - center.y;
        const float length = std::sqrt(down * down + across * across);
        float leanX = 1;
        float leanY = 0;
        if (!lifting && length > 0) {
            leanX = sign * across / length;
            leanY = down / length;
        }
        m_ops[i]->moveTo({center.x + leanX * offset.x, center.y + offset.y + copy.getHeight() * leanY * 0.5f},
                         AnchorCenter);
    }
}

// The step is applied once: the new copies and times signs start where the modal shows them.
void PlaygroundDistribute::commit() {
    m_clearing = true;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    if (!host || !main)
        return;
    const std::shared_ptr<Playground> keepAlive = shared_from_this();
    Baggage bag(m_acceptor);
    for (const std::shared_ptr<ExprView>& copy : m_distributors)
        bag.addGenericView(*copy);
    for (const std::shared_ptr<IGenericView>& sign : m_ops)
        bag.addGenericView(*sign);
    host->resetPivotPoint();
    main->executeStep(m_stepDist, bag);
    host->popModalPlayground();
}

// Final: nothing a late slider change sends applies the step after this.
void PlaygroundDistribute::cancel() {
    m_clearing = true;
    const std::shared_ptr<PlaygroundView> host = playgroundView();
    const std::shared_ptr<PlaygroundMain> main = mainPlayground();
    if (!host)
        return;
    const std::shared_ptr<Playground> keepAlive = shared_from_this();
    for (const std::shared_ptr<ExprView>& copy : m_distributors)
        copy->setColor(host->expressionColor());
    if (m_acceptor)
        m_acceptor->setColor(host->expressionColor());
    if (m_drawing)
        m_drawing->clear();
    m_slider->setUserInteractionEnabled(false);
    host->resetPivotPoint();
    if (main && main->mainExprView()) {
        main->mainExprView()->setFontSize(host->baseFontSize(), false);
        main->moveToFinalStateAnimated(true);
    }
    host->popModalPlayground();
}

void PlaygroundDistribute::touchBegan(core::Point point) {
    if (m_slider->frame().contains(point) || m_clearing || !isShown())
        return;
    cancel();
}

ViewList PlaygroundDistribute::getConcreteViews() {
    ViewList views;
    if (m_drawing)
        views.push_back(m_drawing);
    for (const std::shared_ptr<ExprView>& copy : m_distributors)
        appendViews(views, *copy);
    for (const std::shared_ptr<IGenericView>& sign : m_ops)
        appendViews(views, *sign);
    if (m_acceptor)
        appendViews(views, *m_acceptor);
    views.push_back(m_slider);
    return views;
}

void PlaygroundDistribute::moveToFinalStateAnimated(bool animated) {
    if (!m_drawing)
        return;
    m_drawing->renderWithAnimation(animated);
    if (!animated)
        return;
    std::weak_ptr<Playground> weakSelf = weak_from_this();
    ui::animate(
        {.duration = kCopiesToFrontDelay}, [] {},
        [weakSelf](bool) {
            auto self = std::static_pointer_cast<PlaygroundDistribute>(weakSelf.lock());
            if (!self || !self->isShown())
                return;
            const std::shared_ptr<PlaygroundView> host = self->playgroundView();
            for (const std::shared_ptr<ExprView>& copy : self->m_distributors) {
                for (const std::shared_ptr<ui::View>& view : copy->getViewList())
                    host->bringToFront(*view);
            }
        });
}

} // namespace zm
