#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/LDPlaygroundView.h"
#include "platform/core/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericView.h"

#include <algorithm>

namespace zm {

namespace {

constexpr int32_t kMostDecimalPlaces = 4;
constexpr double kDigitMoveDuration = 0.4;
constexpr double kPointLiftDuration = 0.5;
constexpr double kBannerSlideDuration = 0.5;
// A lifted point's bottom stops this far below the dividend's top.
constexpr float kPointLift = 10;
constexpr float kRepeatingBarWidth = 100;
const core::Color kMarkColor = core::Color::rgb255(25, 161, 230);

} // namespace

int32_t LDPlaygroundMain::quotientValue() const {
    const ExprViewSoloistDigits* quotient = answerView();
    return quotient ? quotient->solo()->coef() : 0;
}

int32_t LDPlaygroundMain::decimalPlaces() const {
    const ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    // No point stands after the last digit: no places yet.
    if (dividend.dotPosition() == ExprViewSoloistDigits::kNoDot)
        return 0;
    return std::max(0, int32_t(dividend.digitViews().size()) - int32_t(dividend.dotPosition()));
}

void LDPlaygroundMain::checkComplete() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExpr)
        return;
    const int32_t quotient = quotientValue();
    if (m_longDivisionExpr->isSolvedWithAnswer(quotient, false)) {
        host->showComplete();
        return;
    }
    // Remainder and decimal places both wait until no chooser is open: a chooser's answer is part of
    // the quotient they are decided on.
    const bool chooserOpen = host->modalVisible();
    if (m_longDivisionExpr->acceptsRemainders()) {
        const int64_t left = lastRow() ? lastRow()->workingView().solo()->coef() : 0;
        const int64_t dividend = m_longDivisionExpr->numerator()->coef();
        if (left + int64_t(quotient) * m_longDivisionExpr->denominator()->coef() == dividend && !chooserOpen)
            startRemainderMode();
        else
            animateCorrectGhost(); // the next move, as after a step of any other division
        return;
    }
    if (allOriginalDigitsUsed() && !chooserOpen)
        startDecimalMode();
    animateCorrectGhost();
}

bool LDPlaygroundMain::allOriginalDigitsUsed() const {
    if (!m_longDivisionExpr)
        return false;
    const int64_t quotient = quotientValue();
    const int64_t divisor = m_longDivisionExpr->denominator()->coef();
    const int64_t dividend = m_longDivisionExpr->numerator()->coef();
    return quotient * divisor < dividend && dividend < divisor * (quotient + 1);
}

void LDPlaygroundMain::startRemainderMode() {
    stopGhostAnimation();
    if (m_remainderMode || !m_longDivisionExprView)
        return;
    m_remainderMode = true;
    m_longDivisionExprView->setRemainderModeActive(true);
    resizeToFitWithSegments(true);
    moveToFinalStateAnimated(true);
    animateCorrectGhost();
}

void LDPlaygroundMain::startDecimalMode() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    if (m_decimalMode) {
        appendZeroToNumerator();
        return;
    }
    m_decimalMode = true;
    m_longDivisionExpr->setDecimalMode(true);
    ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    // The point goes after the last digit; a dividend that has one keeps it where it is (3.77 ÷ 0.5 is
    // 37.7 ÷ 5, whose quotient's point follows the 7, not the last digit).
    if (dividend.dotPosition() == ExprViewSoloistDigits::kNoDot)
        dividend.setDotPosition(uint32_t(dividend.digitViews().size()));
    m_longDivisionExpr->setNumeratorDotPosition(dividend.dotPosition());
    dividend.setHideDotView(false);
    if (ExprViewSoloistDigits* quotient = answerView())
        quotient->setDotPosition(dividend.dotPosition());
    const float lastDigitX = dividend.digitViews().back()->getPointAtPosition(AnchorCenter).x;
    m_dotPoleView->setCenter({lastDigitX, m_dotPoleView->center().y});
    host->addSubview(m_dotPoleView);
    appendZeroToNumerator();
    m_longDivisionExprView->updateWidth();
}

void LDPlaygroundMain::appendZeroToDividend() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    const auto& digits = dividend.digitViews();
    auto zero = ExprViewSoloist::create(ExprSoloist::soloWithCoef(0), *host);
    // It starts one column right of the second-to-last digit, and glides into its own column.
    if (digits.size() >= 2) {
        const core::Point before = digits[digits.size() - 2]->getPointAtPosition(AnchorCenter);
        zero->moveTo({before.x + m_longDivisionExprView->colWidth(), before.y}, AnchorCenter);
    } else if (!digits.empty()) {
        zero->moveTo(digits.front()->getPointAtPosition(AnchorCenter), AnchorCenter);
    }
    host->showExprView(zero.get());
    dividend.appendDigitView(zero);
    m_longDivisionExpr->numerator()->setCoef(dividend.solo()->coef());
    m_longDivisionExpr->calculateSegments();
}

void LDPlaygroundMain::appendZeroToNumerator() {
    clearUpDigits();
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    // Up to four places, and fewer when the dividend with one more would not fit in 32 bits.
    if (decimalPlaces() < kMostDecimalPlaces && m_longDivisionExpr->oneMoreDecimalPlaceFits()) {
        appendZeroToDividend();
        resizeToFitWithSegments(true);
        moveToFinalStateAnimated(true);
        return;
    }
    if (m_longDivisionExpr->answerRepeatingStartIndex() != ExprLongDivision::kNone)
        return;
    resizeToFitWithSegments(false, true);
    moveToFinalStateAnimated(true);
    m_problemState = LDProblemStateFindingPattern;
    host->addSubview(m_patternLabel);
    placeFindPatternLabel();
    const float middle = host->center().x;
    m_patternLabel->setCenter({middle - m_patternLabel->frame().width(), m_patternLabel->center().y});
    ui::animate({.duration = kBannerSlideDuration},
                [this, middle] { m_patternLabel->setCenter({middle, m_patternLabel->center().y}); });
}

void LDPlaygroundMain::animateDecimalUp() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    const core::Point point = dividend.dotView()->getPointAtPosition(AnchorCenter);
    ExprViewSoloistDigits* quotient = answerView();
    if (!quotient && !m_answerDotView) {
        // No quotient yet: a point of its own rises to the quotient's line and waits for it.
        m_answerDotView = GenericLabel::create(ExprViewSoloistDigits::localizedDecimalString(),
                                               fontNamed(kGeorgia, host->baseFontSize()));
        m_answerDotView->setColor(host->expressionColor());
        m_answerDotView->moveTo(point, AnchorCenter);
        host->showGenericView(*m_answerDotView);
        const float top = dividend.getPointAtPosition(AnchorTopLeft).y;
        ui::animate({.duration = kPointLiftDuration},
                    [this, point, top] { m_answerDotView->moveTo({point.x, top + kPointLift}, AnchorBottomCenter); });
        return;
    }
    if (quotient && quotient->hideDotView() && !dividend.hideDotView()) {
        quotient->setHideDotView(false);
        const std::shared_ptr<GenericLabel>& lifted = quotient->dotView();
        const core::Point place = lifted->getPointAtPosition(AnchorCenter);
        lifted->moveTo(point, AnchorCenter);
        ui::animate({.duration = kPointLiftDuration}, [&lifted, place] { lifted->moveTo(place, AnchorCenter); });
    }
}

bool LDPlaygroundMain::eligibleForRepeating() const {
    return m_longDivisionExpr && m_longDivisionExpr->isRepeatingDecimal();
}

void LDPlaygroundMain::moveSolo(const std::shared_ptr<ExprViewSoloist>& digit) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    ExprViewSoloistDigits* quotient = answerView();
    if (!host || !quotient || !digit)
        return;
    const float line = quotient->dotView()->getPointAtPosition(AnchorTopCenter).y;
    const core::Point left = digit->getPointAtPosition(AnchorTopLeft);
    const core::Point right = digit->getPointAtPosition(AnchorTopRight);
    const auto options = ui::AnimationOptions::BeginFromCurrentState;
    if (const auto raised = std::ranges::find(m_upDigits, digit); raised != m_upDigits.end()) {
        m_upDigits.erase(raised);
        if (m_upDigits.empty())
            m_repeatingGoButton->removeFromSuperview();
        digit->dehighlight();
        // The bar that marks where this digit stood.
        const auto bar = std::ranges::find_if(m_lineSegments, [&](const std::shared_ptr<OpViewDivide>& mark) {
            const float x = mark->getPointAtPosition(AnchorTopCenter).x;
            return x > left.x && x < right.x;
        });
        if (bar != m_lineSegments.end()) {
            (*bar)->removeFromSuperview();
            m_lineSegments.erase(bar);
        }
        ui::animate({.duration = kDigitMoveDuration, .options = options},
                    [&] { digit->moveTo({left.x, line}, AnchorTopLeft); });
    } else {
        if (m_upDigits.empty()) {
            const core::Point end = quotient->getPointAtPosition(AnchorMiddleRight);
            m_repeatingGoButton->setCenter({end.x + m_repeatingGoButton->frame().width() / 1.5f, end.y});
            host->addSubview(m_repeatingGoButton);
        }
        m_upDigits.push_back(digit);
        digit->highlight();
        auto bar = OpViewDivide::create(nullptr, *host);
        bar->setWidth(1.1f * digit->getWidth());
        bar->setHeight(0.05f * m_longDivisionExprView->numeratorView()->getHeight());
        bar->moveTo({left.x, line}, AnchorTopLeft);
        bar->setLineColor(kMarkColor);
        m_lineSegments.push_back(bar);
        host->addSubview(bar);
        const float lift = 2 * m_longDivisionExprView->space();
        ui::animate({.duration = kDigitMoveDuration, .options = options},
                    [&] { digit->moveTo({left.x, line - lift}, AnchorTopLeft); });
    }
    stopGhostAnimation();
    animateCorrectGhost();
}

void LDPlaygroundMain::clearUpDigits() {
    if (ExprViewSoloistDigits* quotient = answerView())
        quotient->dehighlight();
    for (const std::shared_ptr<OpViewDivide>& bar : m_lineSegments)
        bar->removeFromSuperview();
    m_lineSegments.clear();
    for (const std::shared_ptr<ExprViewSoloist>& digit : std::vector(m_upDigits))
        moveSolo(digit);
}

void LDPlaygroundMain::checkRepeating() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    ExprViewSoloistDigits* quotient = answerView();
    if (!host || !quotient)
        return;
    const auto& digits = quotient->digitViews();
    auto indexOf = [&digits](const std::shared_ptr<ExprViewSoloist>& digit) {
        return size_t(std::ranges::find(digits, digit) - digits.begin());
    };
    // Only digits after the point, and the last of them among the raised.
    for (const std::shared_ptr<ExprViewSoloist>& digit : m_upDigits) {
        if (indexOf(digit) < quotient->dotPosition()) {
            failAnimation();
            return;
        }
    }
    if (!digits.empty() && std::ranges::find(m_upDigits, digits.back()) == m_upDigits.end()) {
        failAnimation();
        return;
    }
    const std::optional<std::string>& pattern = m_longDivisionExpr->pattern();
    if (!pattern) {
        core::logf(core::LogLevel::Info, "failed to find pattern. Answer num %d", quotientValue());
        quotient->dehighlight();
        return;
    }
    // The raised digits in the quotient's order, and the pattern repeated to their length.
    std::string raised;
    uint32_t first = ExprLongDivision::kNone, last = 0;
    for (size_t k = 0; k < digits.size(); ++k) {
        if (std::ranges::find(m_upDigits, digits[k]) == m_upDigits.end())
            continue;
        raised += std::to_string(digits[k]->solo()->coef());
        first = std::min(first, uint32_t(k));
        last = uint32_t(k);
    }
    std::string repeated = *pattern;
    while (repeated.size() < raised.size())
        repeated += *pattern;
    if (repeated != raised) {
        failAnimation();
        return;
    }

    auto bar = OpViewDivide::create(nullptr, *host);
    bar->setWidth(kRepeatingBarWidth);
    bar->setHeight(0.05f * m_longDivisionExprView->numeratorView()->getHeight());
    if (!m_lineSegments.empty())
        bar->moveTo(m_lineSegments.front()->getPointAtPosition(AnchorCenter), AnchorCenter);
    m_problemState = LDProblemStateWorking;
    m_patternLabel->removeFromSuperview();
    host->addSubview(bar);
    setRepeatingDecimalLine(bar, first, last);
    m_longDivisionExpr->setAnswerRepeatingStartIndex(first);
    m_longDivisionExpr->setAnswerRepeatingEndIndex(last);
    quotient->dehighlight();
    host->showComplete();
    resizeToFitWithSegments(true);
    moveToFinalStateAnimated(true);
    m_repeatingGoButton->removeFromSuperview();
    for (const std::shared_ptr<OpViewDivide>& mark : m_lineSegments)
        mark->removeFromSuperview();
    tell(PlaygroundMessage::FoundPattern, [](PlaygroundDelegate& d) { d.foundPattern(); });
}

void LDPlaygroundMain::findPattern() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    ExprViewSoloistDigits* quotient = answerView();
    if (!host || !quotient)
        return;
    for (const std::shared_ptr<ExprViewSoloist>& digit : quotient->digitViews()) {
        if (digit->solo()->coef() == 0)
            continue;
        m_upDigits.push_back(digit);
        auto bar = OpViewDivide::create(nullptr, *host);
        bar->setWidth(1.1f * digit->getWidth());
        bar->moveTo(digit->getPointAtPosition(AnchorTopLeft), AnchorTopLeft);
        bar->setLineColor(kMarkColor);
        m_lineSegments.push_back(bar);
    }
    checkRepeating();
    stopGhostAnimation();
}

} // namespace zm
