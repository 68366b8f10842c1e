#include "longdivision/LDPlaygroundMain.h"

#include "longdivision/LDPlaygroundView.h"
#include "longdivision/PlaygroundBeginningDecimal.h"
#include "longdivision/PlaygroundMultiples.h"
#include "longdivision/QVImageMaster.h"
#include "platform/core/Localization.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewAnimation.h"
#include "playground/views/Baggage.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <cmath>

namespace zm {

namespace {

constexpr double kSettleDuration = 0.4;
constexpr float kPhoneFontCap = 80;

bool isTablet() {
    return ui::Device::current().isTablet();
}

} // namespace

LDPlaygroundMain::LDPlaygroundMain(LDPlaygroundView& playgroundView)
    : PlaygroundMain(playgroundView) {
    m_dotPoleView = ui::View::create({0, 0, 10, 10});
    m_dotPoleView->setBackgroundColor(core::Color::white(0.75f, 0.25f));
    m_dotPoleView->setUserInteractionEnabled(false);
    m_repeatingGoButton = QVImageMaster::makeGoButton();
    m_repeatingGoButton->setFrame({0, 0, 70, 40});
    const core::Rect host = playgroundView.frame();
    m_patternLabel = ui::Label::create({0, 0, host.width(), host.height() * 0.5f});
    m_patternLabel->setBackgroundColor(core::Color::black().withAlpha(0.9f));
    m_patternLabel->setTextColor(core::Color::white());
    m_patternLabel->setTextAlignment(gfx::TextAlignment::Center);
    m_patternLabel->setFont(fontNamed(kGeorgia, isTablet() ? 70 : 30));
    m_patternLabel->setText(core::Localization::main().localizedString("WhatPattern", ""));
}

std::shared_ptr<LDPlaygroundMain> LDPlaygroundMain::create(LDPlaygroundView& playgroundView) {
    auto playground = std::make_shared<LDPlaygroundMain>(playgroundView);
    std::weak_ptr<LDPlaygroundMain> weakPlayground = playground;
    playground->m_repeatingGoButton->addTarget(ui::ControlEvent::TouchUpInside, [weakPlayground](ui::Control&) {
        if (auto self = weakPlayground.lock())
            self->checkRepeating();
    });
    return playground;
}

LDPlaygroundMain::~LDPlaygroundMain() {
    if (m_ghostTimer)
        m_ghostTimer->invalidate();
}

std::shared_ptr<LDPlaygroundView> LDPlaygroundMain::pView() const {
    return std::static_pointer_cast<LDPlaygroundView>(playgroundView());
}

void LDPlaygroundMain::setLongDivisionExpr(std::shared_ptr<ExprLongDivision> longDivision) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (longDivision == m_longDivisionExpr || !longDivision || !host)
        return;
    m_longDivisionExpr = std::move(longDivision);
    m_longDivisionExprView = ExprViewLongDivision::create(m_longDivisionExpr, *host);
    host->enableTouchInput();
    m_problemState = LDProblemStateWorking;
}

void LDPlaygroundMain::setRepeatingDecimalLine(std::shared_ptr<OpViewDivide> bar, uint32_t startIndex,
                                               uint32_t endIndex) {
    m_repeatingDecimalLineView = std::move(bar);
    m_answerRepeatingStartIndex = startIndex;
    m_answerRepeatingEndIndex = endIndex;
}

ExprViewSoloistDigits* LDPlaygroundMain::answerView() const {
    return m_longDivisionExprView ? m_longDivisionExprView->answerView().get() : nullptr;
}

bool LDPlaygroundMain::shifterOpen() const {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    return host && isExactly<PlaygroundBeginningDecimal>(host->modalPlayground());
}

void LDPlaygroundMain::drawInitialState() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    resizeToFitWithSegments(true);
    stopGhostAnimation();
    ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    if (dividend.dotPosition() != ExprViewSoloistDigits::kNoDot) {
        dividend.setHideDotView(false);
        host->addSubview(m_dotPoleView);
    }
    host->showExprView(m_longDivisionExprView.get());
    for (size_t index = 0; index < m_segmentViews.size(); ++index) {
        host->showExprView(m_segmentViews[index].get());
        if (index == 0)
            m_segmentViews[0]->aboveView()->clear();
    }
    if (agentExprView()) {
        for (const std::shared_ptr<ui::View>& view : agentExprView()->getViewList())
            host->bringToFront(*view);
    }
    if (m_problemState == LDProblemStateFindingPattern)
        host->addSubview(m_patternLabel);
    moveToPivot();
    animateCorrectGhost();
}

void LDPlaygroundMain::moveToPivotOffsetX(float offsetX) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    ExprViewLongDivision& division = *m_longDivisionExprView;
    ExprViewSoloistDigits& dividend = *division.numeratorView();
    const float s = division.space();
    const bool shifter = shifterOpen();
    float top = 30;
    if (isTablet())
        top = shifter && m_demoMode ? 30 : 50;
    else
        top = shifter && m_demoMode ? 10 : 30;

    float x = host->frame().width() * 0.5f + offsetX;
    // A repeating quotient grows long on a phone: the division starts half a column further left.
    if (!isTablet() && m_longDivisionExpr->isRepeatingDecimal() &&
        uint32_t(dividend.digitViews().size()) - dividend.dotPosition() >= 4)
        x -= division.colWidth() * 0.5f;
    division.moveTo({x, top}, AnchorTopCenter);

    const core::Point point = dividend.dotView()->getPointAtPosition(AnchorCenter);
    const core::Rect band = m_dotPoleView->frame();
    m_dotPoleView->setFrame({point.x - band.width() / 2, 0, band.width(), band.height()});

    const core::Point d = dividend.getPointAtPosition(AnchorTopLeft);
    ExprViewSoloistDigits* quotient = answerView();
    const float quotientWidth = quotient ? quotient->getWidth() : 0;
    if (quotient)
        quotient->moveTo({d.x, d.y + s}, AnchorBottomLeft);
    division.remainderLabel()->moveTo({d.x + quotientWidth + s, d.y + s}, AnchorBottomLeft);
    if (division.remainderView())
        division.remainderView()->moveTo(
            {d.x + quotientWidth + division.remainderLabel()->getWidth() + 2 * s, d.y + s}, AnchorBottomLeft);

    const float firstDigitY = dividend.digitViews().front()->getPointAtPosition(AnchorCenter).y;
    if (quotient)
        quotient->moveToCenterYLeftAlignedAtColumn(firstDigitY - division.rowHeight() - 0.5f * s, 0, *this);

    // Rows: each under the last digit it brought down, stepping over the quotient's zeros for digits
    // brought down without a row of their own.
    int32_t column = m_segmentViews.empty() ? 0 : int32_t(m_segmentViews.front()->aboveView()->digitViews().size()) - 1;
    float y = firstDigitY;
    const auto& quotientDigits = quotient ? quotient->digitViews() : std::vector<std::shared_ptr<ExprViewSoloist>>{};
    for (size_t index = 0; index < m_segmentViews.size(); ++index) {
        if (index > 0) {
            ++column;
            while (size_t(column) < quotientDigits.size() && quotientDigits[size_t(column)]->nonSegmentZero())
                ++column;
        }
        m_segmentViews[index]->moveToCenterY(y, column, *this);
        y = m_segmentViews[index]->differenceView()->getPointAtPosition(AnchorCenter).y;
    }

    if (dividend.dotPosition() != ExprViewSoloistDigits::kNoDot && m_answerDotView)
        m_answerDotView->moveTo({dividend.dotView()->getPointAtPosition(AnchorBottomLeft).x, d.y + s},
                                AnchorBottomLeft);

    if (m_repeatingDecimalLineView && quotient && m_answerRepeatingEndIndex < quotientDigits.size() &&
        m_answerRepeatingStartIndex <= m_answerRepeatingEndIndex) {
        const core::Point start = quotientDigits[m_answerRepeatingStartIndex]->getPointAtPosition(AnchorTopLeft);
        const core::Point end = quotientDigits[m_answerRepeatingEndIndex]->getPointAtPosition(AnchorTopRight);
        m_repeatingDecimalLineView->setWidth(end.x - start.x);
        m_repeatingDecimalLineView->setHeight(0.05f * dividend.getHeight());
        m_repeatingDecimalLineView->setNeedsDisplay();
        m_repeatingDecimalLineView->moveTo({start.x, start.y + 2 * s}, AnchorBottomLeft);
    }

    if (quotient) {
        const core::Point middleRight = quotient->getPointAtPosition(AnchorMiddleRight);
        m_repeatingGoButton->setCenter({middleRight.x + m_repeatingGoButton->frame().width() / 1.5f, middleRight.y});
    }
    if (m_problemState == LDProblemStateFindingPattern)
        placeFindPatternLabel();
}

void LDPlaygroundMain::moveToFinalStateAnimated(bool animated) {
    if (!animated) {
        moveToPivot();
        return;
    }
    ui::animate({.duration = kSettleDuration,
                 .options = ui::AnimationOptions::AllowUserInteraction | ui::AnimationOptions::BeginFromCurrentState},
                [self = std::static_pointer_cast<LDPlaygroundMain>(shared_from_this())] { self->moveToPivot(); });
}

void LDPlaygroundMain::clear() {
    PlaygroundMain::clear();
    // The overlap timer would go on lighting views that are no longer shown.
    stopGhostAnimation();
    if (ExprViewSoloistDigits* quotient = answerView())
        quotient->clear();
    for (const auto& row : m_segmentViews)
        row->clear();
    if (m_answerDotView)
        m_answerDotView->clear();
    for (const auto& bar : m_lineSegments)
        bar->removeFromSuperview();
    m_dotPoleView->removeFromSuperview();
    if (m_repeatingDecimalLineView)
        m_repeatingDecimalLineView->removeFromSuperview();
}

core::Size LDPlaygroundMain::getContentSize() const {
    if (!m_longDivisionExprView)
        return {};
    float height = m_longDivisionExprView->getHeight();
    for (const auto& row : m_segmentViews)
        height += row->getHeight();
    return {m_longDivisionExprView->getWidth(), height};
}

float LDPlaygroundMain::getCenterXForColumn(int32_t column) const {
    return m_longDivisionExprView ? m_longDivisionExprView->getCenterXForColumn(column) : 0;
}

float LDPlaygroundMain::xPosAtColumn(uint32_t column) const {
    const auto& digits = m_longDivisionExprView->numeratorView()->digitViews();
    return column < digits.size() ? digits[column]->getPointAtPosition(AnchorMiddleLeft).x : -1;
}

float LDPlaygroundMain::yPosAtRow(uint32_t row) const {
    if (row == 0)
        return m_longDivisionExprView->numeratorView()->getPointAtPosition(AnchorBottomLeft).y;
    if (row - 1 >= m_segmentViews.size())
        return -1;
    return m_segmentViews[row - 1]->differenceView()->getPointAtPosition(AnchorBottomLeft).y;
}

uint32_t LDPlaygroundMain::calculateDigitDifference() const {
    if (m_segmentViews.empty())
        return 0;
    return uint32_t(m_segmentViews.front()->aboveView()->digitViews().size()) - 1;
}

void LDPlaygroundMain::insertHorizontalSegment(const std::shared_ptr<ExprSegment>& segment, Baggage* bag,
                                               bool showModal, bool solveSegments) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!segment || !host || !m_longDivisionExprView)
        return;
    if (bag)
        bag->addExprView(m_longDivisionExprView);
    m_segments.push_back(segment);
    auto row = ExprViewSegment::create(segment, *host);
    m_segmentViews.push_back(row);
    host->showExprView(row.get());

    auto zero = [&host](bool nonSegmentZero) {
        auto digit = ExprViewSoloist::create(ExprSoloist::soloWithCoef(0), *host);
        digit->setNonSegmentZero(nonSegmentZero);
        return digit;
    };
    ExprViewLongDivision& division = *m_longDivisionExprView;
    if (division.answerView()) {
        for (uint32_t k = 1; k < segment->digitsPulledFromNumerator(); ++k)
            division.answerView()->appendDigitView(zero(true));
        division.answerView()->appendDigitView(row->multipleView());
    } else {
        // The first row: the quotient's leading zeros, off the screen, then the row's digit.
        const uint32_t leading = calculateDigitDifference();
        for (uint32_t k = 0; k < leading; ++k) {
            if (!division.answerView())
                division.setAnswerView(ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(0), *host));
            else
                division.answerView()->appendDigitView(zero(false));
        }
        if (division.answerView()) {
            division.answerView()->appendDigitView(row->multipleView());
        } else {
            const int32_t digit = solveSegments ? segment->multiple()->coef() : 0;
            auto quotient = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(digit), *host);
            quotient->mutableDigitViews() = {row->multipleView()};
            division.setAnswerView(quotient);
        }
        ExprViewSoloistDigits& quotient = *division.answerView();
        quotient.setDotPosition(division.numeratorView()->dotPosition());
        if (m_answerDotView) {
            quotient.setHideDotView(false);
            m_answerDotView->clear();
            m_answerDotView = nullptr;
        }
    }
    if (m_segmentViews.size() == 1)
        row->aboveView()->clear();
    host->showExprView(division.answerView().get());
    moveToFinalStateAnimated(false);
    row->moveEverythingToY(row->aboveView()->getPointAtPosition(AnchorCenter).y);
    resizeToFitWithSegments(true, showModal);
    moveToFinalStateAnimated(true);
    if (showModal) {
        stopGhostAnimation();
        host->showModalPlayground(PlaygroundMultiples::create(segment, *host));
    }
}

void LDPlaygroundMain::calculateFontSize(bool withSegments, bool spaceForButtons) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExpr)
        return;
    float width = host->bounds().width() * 0.9f;
    const float height = host->bounds().height();
    m_hideNumSegments = 0;
    if (spaceForButtons)
        width -= isTablet() ? 165 : 65;
    const float base = host->baseFontSize();
    const std::string text = m_longDivisionExpr->getSizeApproxString();
    const core::Size small = gfx::measureText(text, fontNamed(kGeorgia, base));
    const core::Size large = gfx::measureText(text, fontNamed(kGeorgia, base + 10));
    const float rows = withSegments ? 2 * float(m_segmentViews.size() - m_hideNumSegments) + 2 : 2;
    const float byWidth = 10 * (width - small.width) / (large.width - small.width);
    const float byHeight = 10 * (height - rows * small.height) / (rows * large.height - rows * small.height);
    float size = base + std::min(byWidth, byHeight);
    if (!isTablet())
        size = std::min(size, kPhoneFontCap);
    host->setBaseFontSize(size);
}

void LDPlaygroundMain::resizeToFitWithSegments(bool withSegments, bool spaceForButtons) {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    calculateFontSize(withSegments, spaceForButtons);
    const float size = host->baseFontSize();
    m_longDivisionExprView->setFontSize(size, false);
    for (const auto& row : m_segmentViews)
        row->setFontSize(size, false);
    if (m_answerDotView)
        m_answerDotView->setFontSize(size, false);
    if (ExprViewSoloistDigits* quotient = answerView())
        quotient->setFontSize(size, false);

    ExprViewSoloistDigits& dividend = *m_longDivisionExprView->numeratorView();
    const core::Rect band = m_dotPoleView->frame();
    m_dotPoleView->setFrame({band.midX(), band.height(), 0.8f * dividend.dotView()->frame().width(), host->frame().height()});
    dividend.dotView()->moveTo({m_dotPoleView->frame().midX(), m_dotPoleView->frame().midY()}, AnchorCenter);

    const float side = std::max(60.0f, dividend.digitViews().front()->getHitbox().height());
    const core::Point center = m_repeatingGoButton->center();
    m_repeatingGoButton->setFrame({center, {std::floor(side), std::floor(0.75f * side)}});
    m_repeatingGoButton->titleLabel().setFont(fontNamed(kGeorgia, size));
}

void LDPlaygroundMain::removeDecimals() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    host->popModalPlayground();
    for (ExprViewSoloistDigits* number : {m_longDivisionExprView->numeratorView().get(),
                                          m_longDivisionExprView->denominatorView().get()}) {
        number->setDotPosition(ExprViewSoloistDigits::kNoDot);
        number->dotView()->clear();
    }
    m_dotPoleView->removeFromSuperview();
    moveToFinalStateAnimated(true);
}

void LDPlaygroundMain::showDecimalPlayground() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || !m_longDivisionExprView)
        return;
    stopGhostAnimation();
    m_longDivisionExprView->numeratorView()->setDotPosition(1);
    m_longDivisionExprView->denominatorView()->setDotPosition(0);
    host->showExprView(m_longDivisionExprView.get());
    moveToFinalStateAnimated(true);
    host->showModalPlayground(PlaygroundBeginningDecimal::create(
        *host, std::static_pointer_cast<LDPlaygroundMain>(shared_from_this())));
}

void LDPlaygroundMain::placeFindPatternLabel() {
    const std::shared_ptr<LDPlaygroundView> host = pView();
    if (!host || m_problemState != LDProblemStateFindingPattern || !m_longDivisionExprView)
        return;
    const float y = viewPointAtPosition(*m_longDivisionExprView->dividerImage(), AnchorBottomLeft).y;
    m_patternLabel->setFrame({0, y, host->frame().width(), host->frame().height() - y});
}

} // namespace zm
