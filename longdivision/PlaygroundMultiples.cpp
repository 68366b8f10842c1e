#include "longdivision/PlaygroundMultiples.h"

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "longdivision/QVImageMaster.h"
#include "platform/gfx/Path.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Transaction.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr uint32_t kLargestDigit = 9;
constexpr double kSettleDuration = 0.4;
// The flying divisor: large where it starts, small where it lands, bowed 100 points to the right.
constexpr double kFlightDuration = 0.25;
constexpr double kFlightStartScale = 1.5;
constexpr double kFlightEndScale = 0.5;
constexpr float kFlightBow = 100;
// The refusal: 20 points to the left and back, one and a half times, then a settle back.
constexpr float kShakeDistance = 20;
constexpr double kShakeDuration = 0.1;
constexpr double kShakeRepeats = 1.5;
constexpr double kShakeReturnDuration = 0.25;
// How far inside the right edge a "✓" that would cross it ends up.
constexpr float kEdgeMargin = 5;

core::Point centerOf(const IGenericView& view) {
    return view.getPointAtPosition(AnchorCenter);
}

std::shared_ptr<ui::Button> makeCountButton(const char* title) {
    auto button = QVImageMaster::makeGoButton();
    button->setTitle(title);
    button->setBackgroundImage(QVImageMaster::whiteButtonBackgroundImage());
    button->setTitleColor(core::Color::black());
    return button;
}

void placeButton(ui::Button& button, core::Point center, core::Size size) {
    button.setFrame({{center.x - size.width / 2, center.y - size.height / 2}, size});
}

} // namespace

std::shared_ptr<PlaygroundMultiples> PlaygroundMultiples::create(std::shared_ptr<ExprSegment> segment,
                                                                 LDPlaygroundView& playgroundView) {
    std::shared_ptr<PlaygroundMultiples> chooser(new PlaygroundMultiples(std::move(segment), playgroundView));
    const std::weak_ptr<PlaygroundMultiples> weakChooser = chooser;
    auto wire = [&weakChooser](ui::Button& button, void (PlaygroundMultiples::*action)()) {
        button.addTarget(ui::ControlEvent::TouchUpInside, [weakChooser, action](ui::Control&) {
            if (const auto self = weakChooser.lock())
                ((*self).*action)();
        });
    };
    wire(*chooser->m_goButton, &PlaygroundMultiples::hitGo);
    wire(*chooser->m_plusButton, &PlaygroundMultiples::incrementCounter);
    wire(*chooser->m_minusButton, &PlaygroundMultiples::decrementCounter);
    return chooser;
}

PlaygroundMultiples::PlaygroundMultiples(std::shared_ptr<ExprSegment> segment, LDPlaygroundView& playgroundView)
    : Playground(playgroundView)
    , m_pView(std::static_pointer_cast<LDPlaygroundView>(playgroundView.shared_from_this()))
    , m_segment(std::move(segment))
    , m_goButton(QVImageMaster::makeGoButton())
    , m_plusButton(makeCountButton("+"))
    , m_minusButton(makeCountButton("-")) {
    // First places; the layout moves them before anything is drawn.
    if (const std::shared_ptr<LDPlaygroundMain> main = playgroundView.playgroundMain()) {
        const ExprViewLongDivision& division = *main->longDivisionExprView();
        m_goButton->setCenter(centerOf(*division.numeratorView()->digitViews().back()));
        if (!main->segmentViews().empty()) {
            const core::Point product = centerOf(*main->segmentViews().back()->productView());
            m_plusButton->setCenter(product);
            m_minusButton->setCenter(product);
        }
    }
}

std::shared_ptr<LDPlaygroundView> PlaygroundMultiples::pView() const {
    return m_pView.lock();
}

std::shared_ptr<LDPlaygroundMain> PlaygroundMultiples::mainPlayground() const {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    return host ? host->playgroundMain() : nullptr;
}

void PlaygroundMultiples::drawInitialState() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (!host || !main || main->segmentViews().empty())
        return;
    const auto& rows = main->segmentViews();
    m_segmentView = rows.back();
    updateHighlights();
    host->addSubview(m_goButton);
    host->addSubview(m_plusButton);
    host->showExprView(m_segmentView.get());
    host->showExprView(m_segmentView->multipleView().get());
    // The digit brought down into the row before stays in sight above the veil.
    const auto found = std::ranges::find(rows, m_segmentView);
    if (found != rows.end() && found != rows.begin())
        host->showExprView((*(found - 1))->appendedRemainderView().get());
}

void PlaygroundMultiples::moveToPivot() {
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (!m_segmentView || !main)
        return;
    if (const auto& quotient = main->longDivisionExprView()->answerView(); quotient && !quotient->digitViews().empty())
        m_segmentView->multipleView()->moveTo(quotient->digitViews().back()->getPointAtPosition(AnchorBottomCenter),
                                              AnchorBottomCenter);
    updateHighlights();
}

void PlaygroundMultiples::moveToFinalStateAnimated(bool animated) {
    if (!animated) {
        moveToPivot();
        return;
    }
    ui::animate({.duration = kSettleDuration,
                 .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
                [this] { moveToPivot(); });
}

void PlaygroundMultiples::clear() {
    m_goButton->removeFromSuperview();
    m_plusButton->removeFromSuperview();
    m_minusButton->removeFromSuperview();
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (host && m_segmentView)
        host->showExprView(m_segmentView.get());
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (main && main->segmentViews().size() == 1)
        main->segmentViews().front()->aboveView()->clear();
}

void PlaygroundMultiples::updateHighlights() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_segmentView)
        return;
    const core::Rect digit = m_segmentView->multipleView()->getHitbox();
    const float column = m_segmentView->colWidth();
    const float base = host->baseFontSize();
    core::Size size{60, 40};
    float titleSize = 40;
    if (ui::Device::current().isTablet()) {
        if (digit.height() >= 40)
            size = {digit.height(), 0.75f * digit.height()};
        titleSize = std::max(30.0f, base);
    }
    const gfx::Font titleFont = fontNamed(kGeorgia, titleSize);

    m_goButton->setFrame({{digit.minX() + digit.width() / 2 + column / 2, digit.minY() + 0.85f * digit.height() - size.height},
                          size});
    m_goButton->titleLabel().setFont(titleFont);
    for (ui::Button* button : {m_plusButton.get(), m_minusButton.get()}) {
        button->titleLabel().setFont(titleFont);
        button->setTitleEdgeInsets({0, 0, base / 8, 0});
    }
    const ExprViewSoloistDigits& product = *m_segmentView->productView();
    const core::Point plus{m_goButton->center().x, product.getPointAtPosition(AnchorMiddleRight).y + 5};
    placeButton(*m_plusButton, plus, size);
    const float beside = size.width + (float(product.digitViews().size()) + 0.7f) * column;
    placeButton(*m_minusButton, {plus.x - beside, plus.y}, size);
    m_segmentView->multipleView()->setColor(m_goldColor);

    const float beyond = m_goButton->frame().maxX() - host->frame().width();
    if (beyond > 0 && !m_shiftingLeft) {
        if (const std::shared_ptr<LDPlaygroundMain> main = mainPlayground()) {
            m_shiftingLeft = true;
            main->moveToPivotOffsetX(-(beyond + kEdgeMargin));
            moveToPivot();
            m_shiftingLeft = false;
        }
    }
    validateButton(*m_goButton);
    validateButton(*m_plusButton);
    validateButton(*m_minusButton);
}

void PlaygroundMultiples::validateButton(ui::Button& button) {
    const core::Rect frame = button.frame();
    button.setFrame({frame.origin, {std::floor(frame.width()), std::floor(frame.height())}});
}

void PlaygroundMultiples::incrementCounter() {
    if (++m_counter > kLargestDigit) {
        m_counter = kLargestDigit;
        failAnimation();
    } else {
        upAnimation();
    }
    updateCounter();
}

void PlaygroundMultiples::decrementCounter() {
    if (m_counter == 0) {
        failAnimation();
    } else {
        --m_counter;
        downAnimation();
    }
    updateCounter();
}

void PlaygroundMultiples::updateCounter() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (!host || !main || !m_segmentView)
        return;
    if (m_counter == 0) {
        m_minusButton->removeFromSuperview();
    } else if (m_counter == kLargestDigit) {
        m_plusButton->removeFromSuperview();
    } else {
        host->addSubview(m_plusButton);
        host->addSubview(m_minusButton);
    }
    m_segment->setMultipleValue(int32_t(m_counter));

    auto& rows = main->mutableSegmentViews();
    m_segmentView->clear();
    if (!rows.empty() && rows.back() == m_segmentView)
        rows.pop_back();
    m_segmentView = ExprViewSegment::create(m_segment, *host);
    rows.push_back(m_segmentView);
    const std::shared_ptr<ExprViewSoloistDigits>& quotient = main->longDivisionExprView()->answerView();
    if (quotient) {
        // The quotient shows the digit on offer; its number takes the digit only once it is accepted.
        auto& digits = quotient->mutableDigitViews();
        if (!digits.empty())
            digits.pop_back();
        digits.push_back(m_segmentView->multipleView());
    }
    host->showExprView(m_segmentView.get());
    main->moveToPivot();
    m_segmentView->multipleView()->setColor(m_goldColor);
    if (quotient)
        m_segmentView->multipleView()->moveTo(quotient->digitViews().back()->getPointAtPosition(AnchorBottomCenter),
                                              AnchorBottomCenter);
    updateHighlights();
}

void PlaygroundMultiples::upAnimation() {
    if (m_segmentView)
        flyDivisor(centerOf(*m_segmentView->differenceView()), centerOf(*m_segmentView->productView()));
}

void PlaygroundMultiples::downAnimation() {
    if (m_segmentView)
        flyDivisor(centerOf(*m_segmentView->productView()), centerOf(*m_segmentView->differenceView()));
}

void PlaygroundMultiples::flyDivisor(core::Point from, core::Point to) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host)
        return;
    const float base = host->baseFontSize();
    const auto divisor = ExprViewSoloist::create(m_segment->denominator(), *host);
    divisor->setFontSize(float(kFlightStartScale * double(base)), false);
    divisor->moveTo(from, AnchorCenter);
    host->showExprView(divisor.get());

    gfx::Path path;
    path.moveTo(from);
    path.quadTo({from.x + kFlightBow, (from.y + to.y) / 2}, to);
    ui::Animation flight = ui::Animation::alongPath(path);
    flight.setCalculationMode(ui::CalculationMode::Paced)
        .setFillMode(ui::FillMode::Forwards)
        .setRemovedOnCompletion(false)
        .setDuration(kFlightDuration);

    ui::Transaction::begin();
    ui::Transaction::setCompletion([divisor] { divisor->clear(); });
    divisor->setFontSize(float(kFlightEndScale * double(base)), true);
    for (const std::shared_ptr<ui::View>& view : divisor->getViewList())
        view->layer().addAnimation(flight, "curveAnimation");
    ui::Transaction::commit();
}

void PlaygroundMultiples::hitGo() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (!host || !main || !m_segmentView)
        return;
    const int32_t difference = m_segment->difference()->coef();
    if (difference < 0 || difference >= m_segment->denominator()->coef()) {
        failAnimation();
        return;
    }
    const std::shared_ptr<ExprViewSoloist> digit = m_segmentView->multipleView();
    digit->setColor(core::Color::white());
    if (const auto& quotient = main->longDivisionExprView()->answerView()) {
        quotient->removeLastDigitView();
        quotient->appendDigitView(digit);
    }
    host->popModalPlayground();
}

void PlaygroundMultiples::failAnimation() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    const std::shared_ptr<LDPlaygroundMain> main = mainPlayground();
    if (!host || !main || !m_segmentView)
        return;
    host->didErrorStep();
    main->moveToPivot();
    const ViewList views = m_segmentView->getViewList();
    ui::animate(
        {.duration = kShakeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState |
                    ui::AnimationOptions::Repeat | ui::AnimationOptions::Autoreverse,
         .repeatCount = kShakeRepeats},
        [&views] {
            for (const std::shared_ptr<ui::View>& view : views) {
                const core::Point topLeft = viewPointAtPosition(*view, AnchorTopLeft);
                moveViewTo(*view, {topLeft.x - kShakeDistance, topLeft.y}, AnchorTopLeft);
            }
        },
        [weakMain = std::weak_ptr(main)](bool) {
            ui::animate({.duration = kShakeReturnDuration, .options = ui::AnimationOptions::BeginFromCurrentState},
                        [weakMain] {
                            if (const auto main = weakMain.lock())
                                main->moveToPivot();
                        });
        });
}

} // namespace zm
