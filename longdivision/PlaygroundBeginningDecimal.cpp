#include "longdivision/PlaygroundBeginningDecimal.h"

#include "longdivision/LDPlaygroundMain.h"
#include "longdivision/LDPlaygroundView.h"
#include "longdivision/QVImageMaster.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"
#include "playground/views/OpSlider.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace zm {

namespace {

constexpr double kSnapDuration = 0.5;
constexpr float kShakeDistance = 20;
constexpr double kShakeDuration = 0.1;
constexpr double kShakeRepeats = 1.5;
constexpr double kShakeReturnDuration = 0.25;

constexpr uint32_t kNoDot = ExprViewSoloistDigits::kNoDot;

// The point of a quadratic curve from `a` to `b` around `control` at `t`.
core::Point onCurve(core::Point a, core::Point control, core::Point b, float t) {
    const float u = 1 - t;
    return {u * u * a.x + 2 * u * t * control.x + t * t * b.x, u * u * a.y + 2 * u * t * control.y + t * t * b.y};
}

} // namespace

std::shared_ptr<PlaygroundBeginningDecimal>
PlaygroundBeginningDecimal::create(LDPlaygroundView& playgroundView, std::shared_ptr<LDPlaygroundMain> mainPlayground) {
    std::shared_ptr<PlaygroundBeginningDecimal> shifter(
        new PlaygroundBeginningDecimal(playgroundView, std::move(mainPlayground)));
    const std::weak_ptr<PlaygroundBeginningDecimal> weakShifter = shifter;
    auto wire = [&weakShifter](ui::Control& control, ui::ControlEvent event,
                               void (PlaygroundBeginningDecimal::*action)()) {
        control.addTarget(event, [weakShifter, action](ui::Control&) {
            if (const auto self = weakShifter.lock())
                ((*self).*action)();
        });
    };
    wire(*shifter->m_slider, ui::ControlEvent::ValueChanged, &PlaygroundBeginningDecimal::sliderChanged);
    wire(*shifter->m_slider, ui::ControlEvent::TouchUpInside, &PlaygroundBeginningDecimal::letGoSlider);
    wire(*shifter->m_goButton, ui::ControlEvent::TouchUpInside, &PlaygroundBeginningDecimal::hitGo);
    return shifter;
}

PlaygroundBeginningDecimal::PlaygroundBeginningDecimal(LDPlaygroundView& playgroundView,
                                                       std::shared_ptr<LDPlaygroundMain> mainPlayground)
    : Playground(playgroundView)
    , m_slider(OpSlider::create())
    , m_pView(std::static_pointer_cast<LDPlaygroundView>(playgroundView.shared_from_this()))
    , m_mainPlayground(std::move(mainPlayground))
    , m_longDivisionExprView(m_mainPlayground->longDivisionExprView())
    , m_goButton(QVImageMaster::makeGoButton()) {
    const gfx::Font pointFont = fontNamed(kGeorgia, playgroundView.baseFontSize());
    m_denomDotView = GenericLabel::create(ExprViewSoloistDigits::localizedDecimalString(), pointFont);
    m_numerDotView = GenericLabel::create(ExprViewSoloistDigits::localizedDecimalString(), pointFont);
    const bool tablet = ui::Device::current().isTablet();
    m_goButton->setFrame({0, 0, tablet ? 200.0f : 100.0f, tablet ? 100.0f : 50.0f});
    m_goButton->titleLabel().setFont(fontNamed(kGeorgia, tablet ? 80 : 50));
}

void PlaygroundBeginningDecimal::drawInitialState() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    m_longDivisionExprView = m_mainPlayground->longDivisionExprView();
    if (!host || !m_longDivisionExprView)
        return;
    dividend().dotView()->clear();
    divisor().dotView()->clear();
    dividend().setHideDotView(true);
    // A dividend without a point has it after its last digit.
    if (dividend().dotPosition() == kNoDot)
        dividend().setDotPosition(uint32_t(dividend().digitViews().size()));
    host->showExprView(m_longDivisionExprView.get());
    host->addSubview(m_goButton);
    host->addSubview(m_slider);
    host->showGenericView(*m_denomDotView);
    host->showGenericView(*m_numerDotView);
}

void PlaygroundBeginningDecimal::moveToPivot() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    const float height = host->frame().height();
    const float middle = host->center().x;
    const float buttonHeight = m_goButton->frame().height();
    const float bottom = height - buttonHeight / 1.5f;
    m_goButton->setCenter({middle, bottom - 10});
    const float lift = ui::Device::current().isTablet() ? 20 : 0;
    m_slider->setCenter({middle, bottom - buttonHeight / 2 - 1.5f * m_slider->frame().height() - lift});

    const int32_t digits = int32_t(divisor().digitViews().size());
    const int32_t divisorGap = divisor().dotPosition() == kNoDot ? digits : int32_t(divisor().dotPosition());
    const int32_t dividendGap = dividend().dotPosition() == kNoDot ? int32_t(dividend().digitViews().size())
                                                                    : int32_t(dividend().dotPosition());
    m_numerDotView->moveTo(dividend().getDotViewBottomLeftAtDotIndex(dividendGap), AnchorBottomLeft);
    m_denomDotView->moveTo(divisor().dotView()->getPointAtPosition(AnchorBottomLeft), AnchorBottomLeft);

    // The divisor's gaps; one with its point before the first digit draws its point half a point's
    // width further left.
    const float pointWidth = divisor().dotView()->getWidth();
    m_denomLeftPoint = divisor().getDotViewBottomLeftAtDotIndex(0);
    m_denomRightPoint = divisor().getDotViewBottomLeftAtDotIndex(digits);
    if (divisorGap == 0) {
        const core::Point corner = divisor().getPointAtPosition(AnchorBottomRight);
        m_denomRightPoint = {corner.x - pointWidth, corner.y};
    }
    m_offset = dividendGap - divisorGap;
    m_numerLeftPoint = dividend().getDotViewBottomLeftAtDotIndex(m_offset);
    m_numerRightPoint = dividend().getDotViewBottomLeftAtDotIndex(m_offset + digits);
    m_denomPoints.clear();
    m_numerPoints.clear();
    for (int32_t gap = 0; gap <= digits; ++gap) {
        core::Point point = divisor().getDotViewBottomLeftAtDotIndex(gap);
        if (divisorGap == 0 && gap > 0)
            point.x -= pointWidth / 2;
        m_denomPoints.push_back(point);
        m_numerPoints.push_back(dividend().getDotViewBottomLeftAtDotIndex(gap + m_offset));
    }
    m_slider->setValue(float(divisorGap) / float(digits), false);
}

void PlaygroundBeginningDecimal::clear() {
    m_slider->removeFromSuperview();
    m_goButton->removeFromSuperview();
    m_denomDotView->clear();
    m_numerDotView->clear();
}

void PlaygroundBeginningDecimal::sliderChanged() {
    const float value = m_slider->value();
    m_denomDotView->moveTo(getPositionAtPercentageThrough(value, m_denomLeftPoint, m_denomRightPoint, m_denomPoints),
                           AnchorBottomLeft);
    m_numerDotView->moveTo(getPositionAtPercentageThrough(value, m_numerLeftPoint, m_numerRightPoint, m_numerPoints),
                           AnchorBottomLeft);
}

void PlaygroundBeginningDecimal::letGoSlider() {
    positionView(*m_denomDotView, m_denomPoints);
    positionView(*m_numerDotView, m_numerPoints);
}

core::Point PlaygroundBeginningDecimal::getPositionAtPercentageThrough(float value, core::Point first,
                                                                       core::Point second,
                                                                       const std::vector<core::Point>& points) {
    if (points.size() < 2)
        return first;
    const double step = 1.0 / double(points.size() - 1);
    double sum = 0;
    std::optional<size_t> found;
    for (size_t i = 0; i < points.size(); ++i) {
        sum += step;
        if (double(value) <= sum) {
            found = i;
            first = points[i];
            if (i + 1 < points.size())
                second = points[i + 1];
            break;
        }
    }
    const float t = float((double(value) - (sum - step)) / step);
    if (found)
        updateDotPosition(int32_t(*found) + (t > 0.5f ? 1 : 0), points);
    // Between two gaps on one line the point sags a quarter of a row at the middle.
    const core::Point control{(first.x + second.x) / 2, first.y + m_longDivisionExprView->rowHeight() / 2};
    return onCurve(first, control, second, t);
}

void PlaygroundBeginningDecimal::updateDotPosition(int32_t index, const std::vector<core::Point>& points) {
    if (&points == &m_denomPoints) {
        if (uint32_t(index) != divisor().dotPosition())
            divisor().setDotPosition(uint32_t(index));
    } else if (&points == &m_numerPoints) {
        // Gaps left of the first digit keep the dividend's point before it.
        const uint32_t gap = uint32_t(std::max(0, index + m_offset));
        if (gap != dividend().dotPosition()) {
            dividend().setDotPosition(gap);
            m_mainPlayground->moveToFinalStateAnimated(true);
        }
    }
}

void PlaygroundBeginningDecimal::positionView(GenericLabel& label, const std::vector<core::Point>& points) {
    if (points.size() < 2)
        return;
    const float x = label.getPointAtPosition(AnchorBottomLeft).x;
    core::Point nearest = points.front();
    int best = 100000;
    for (const core::Point& point : points) {
        const int distance = int(std::abs(point.x - x));
        if (distance < best) {
            best = distance;
            nearest = point;
        }
    }
    const float y = points.front().y;
    ui::animate({.duration = kSnapDuration}, [&label, &nearest, y] { label.moveTo({nearest.x, y}, AnchorBottomLeft); });
    m_slider->setValue((nearest.x - points.front().x) / (points.back().x - points.front().x), true);
}

void PlaygroundBeginningDecimal::hitGo() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    if (m_slider->value() != 1) {
        failAnimation();
        return;
    }
    // A point taken past the dividend's last digit: a 0 for every gap crossed, as decimal places
    // bring them, within 32 bits.
    const size_t count = dividend().digitViews().size();
    const size_t zeros = dividend().dotPosition() > count ? dividend().dotPosition() - count : 0;
    int64_t grown = m_mainPlayground->longDivisionExpr()->numerator()->coef();
    for (size_t k = 0; k < zeros; ++k)
        grown *= 10;
    if (zeros > 10 || grown > std::numeric_limits<int32_t>::max()) {
        failAnimation();
        return;
    }
    dividend().setHideDotView(false);
    divisor().setDotPosition(kNoDot);
    divisor().setColumnLayout(false);
    for (size_t k = 0; k < zeros; ++k)
        m_mainPlayground->appendZeroToDividend();
    if (dividend().dotPosition() == dividend().digitViews().size()) {
        // The dividend is whole too.
        dividend().setHideDotView(true);
        dividend().dotView()->clear();
        dividend().setDotPosition(kNoDot);
        m_longDivisionExprView->longDivison()->setNumeratorDotPosition(ExprLongDivision::kNone);
        m_mainPlayground->dotPoleView()->removeFromSuperview();
    }
    m_mainPlayground->resizeToFitWithSegments(true);
    m_mainPlayground->moveToFinalStateAnimated(true);
    host->popModalPlayground();
}

void PlaygroundBeginningDecimal::failAnimation() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    host->didErrorStep();
    m_mainPlayground->moveToFinalStateAnimated(false);
    m_numerDotView->moveTo(dividend().dotView()->getPointAtPosition(AnchorCenter), AnchorCenter);
    m_denomDotView->moveTo(divisor().dotView()->getPointAtPosition(AnchorCenter), AnchorCenter);
    ViewList views = m_numerDotView->getViewList();
    const ViewList denominator = m_denomDotView->getViewList();
    views.insert(views.end(), denominator.begin(), denominator.end());
    auto shift = [views](float dx) {
        for (const std::shared_ptr<ui::View>& view : views)
            view->setCenter({view->center().x + dx, view->center().y});
    };
    ui::animate(
        {.duration = kShakeDuration,
         .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState |
                    ui::AnimationOptions::Repeat | ui::AnimationOptions::Autoreverse,
         .repeatCount = kShakeRepeats},
        [&shift] { shift(-kShakeDistance); },
        [shift](bool) { ui::animate({.duration = kShakeReturnDuration}, [&shift] { shift(kShakeDistance); }); });
}

} // namespace zm
