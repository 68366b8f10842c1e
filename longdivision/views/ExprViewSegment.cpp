#include "longdivision/views/ExprViewSegment.h"

#include "longdivision/model/OpMinus.h"
#include "longdivision/views/ColumnGrid.h"
#include "platform/core/Log.h"
#include "playground/PlaygroundView.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <limits>

namespace zm {

std::vector<std::shared_ptr<ExprViewSoloist>>
highlightedDigits(const std::vector<std::shared_ptr<ExprViewSoloist>>& views) {
    std::vector<std::shared_ptr<ExprViewSoloist>> lit;
    for (const auto& view : views) {
        if (view->isHighlighted())
            lit.push_back(view);
    }
    return lit;
}

int64_t numberOfDigits(const std::vector<std::shared_ptr<ExprViewSoloist>>& digits) {
    int64_t number = 0;
    for (const auto& digit : digits) {
        // More digits than 32 bits can hold never make a row: the number only has to stay above them.
        number = std::min<int64_t>(number * 10 + digit->solo()->coef(), int64_t(1) << 40);
    }
    return number;
}

void highlightDigitsUnder(const std::vector<std::shared_ptr<ExprViewSoloist>>& digits, const core::Rect& rect) {
    for (const auto& digit : digits) {
        if (digit->getHitbox().intersects(rect))
            digit->highlight();
    }
    const auto lit = highlightedDigits(digits);
    if (!lit.empty() && !lit.back()->getHitbox().intersects(rect))
        lit.back()->dehighlight();
}

core::Rect grownHitbox(const core::Rect& box) {
    return box.insetBy(-box.width() / 2, -box.height() / 2);
}

std::shared_ptr<ExprViewSegment> ExprViewSegment::create(std::shared_ptr<ExprSegment> segment,
                                                         PlaygroundView& playgroundView) {
    std::shared_ptr<ExprViewSegment> row(new ExprViewSegment);
    row->m_playgroundView = std::static_pointer_cast<PlaygroundView>(playgroundView.shared_from_this());
    row->m_segment = std::move(segment);
    row->m_productView = ExprViewSoloistDigits::create(row->m_segment->product(), playgroundView);
    row->m_differenceView = ExprViewSoloistDigits::create(row->m_segment->difference(), playgroundView);
    row->m_aboveView = ExprViewSoloistDigits::create(row->m_segment->aboveExpr(), playgroundView);
    row->m_multipleView = ExprViewSoloist::create(row->m_segment->multiple(), playgroundView);
    row->m_minusView = OpView::create<OpViewMinus>(std::make_shared<OpMinus>(), playgroundView);
    row->m_lineView = OpViewDivide::create(
        std::make_shared<OpDivide>(row->m_segment->product(), row->m_segment->difference()), playgroundView);
    row->m_lineView->setWidth(row->ruleWidth());
    row->setFontSize(playgroundView.baseFontSize(), false);
    row->setColor(playgroundView.expressionColor());
    return row;
}

const ExprViewSoloistDigits& ExprViewSegment::workingView() const {
    return m_appendedRemainderView ? *m_appendedRemainderView : *m_differenceView;
}

float ExprViewSegment::ruleWidth() const {
    return m_productView->getWidth() + m_productView->space() + m_minusView->getWidth();
}

bool ExprViewSegment::validateDropDownDigit(const ExprView& dragged) const {
    const core::Rect working = workingView().getHitbox();
    return dragged.getHitbox().intersects(working.offsetBy(working.width(), 0));
}

void ExprViewSegment::acceptDropDownDigit(const std::shared_ptr<ExprView>& digit) {
    if (!isExactly<ExprViewSoloist>(digit))
        return;
    if (!m_appendedRemainderView) {
        const std::shared_ptr<PlaygroundView> host = m_playgroundView.lock();
        if (!host)
            return;
        m_appendedRemainderView = ExprViewSoloistDigits::create(m_differenceView->solo(), *host);
        m_appendedRemainderView->setShowForwardZeroes(true);
        m_appendedRemainderView->moveTo(m_differenceView->getPointAtPosition(AnchorTopLeft), AnchorTopLeft);
        m_differenceView->clear();
    }
    m_appendedRemainderView->appendDigitView(std::static_pointer_cast<ExprViewSoloist>(digit));
}

void ExprViewSegment::movingDenominator(const ExprView& divisor) {
    checkHighlight(divisor.getHitbox());
}

void ExprViewSegment::checkHighlight(const core::Rect& rect) {
    highlightDigitsUnder(workingView().digitViews(), rect);
}

std::shared_ptr<ExprSegment> ExprViewSegment::droppedDenominator(const ExprViewSoloistDigits& divisor) const {
    if (!m_appendedRemainderView)
        return nullptr;
    const auto& digits = m_appendedRemainderView->digitViews();
    const auto lit = highlightedDigits(digits);
    if (lit.empty())
        return nullptr;
    // The divisor must cover the first significant digit.
    const auto significant =
        std::ranges::find_if(digits, [](const auto& digit) { return digit->solo()->coef() != 0; });
    if (significant != digits.end() && std::ranges::find(lit, *significant) == lit.end())
        return nullptr;
    const int64_t number = numberOfDigits(lit);
    if (number < divisor.solo()->coef() || number > std::numeric_limits<int32_t>::max())
        return nullptr;
    return ExprSegment::create(ExprSoloist::soloWithCoef(int32_t(number)), m_segment->denominator());
}

void ExprViewSegment::moveToCenterY(float y, int32_t column, const ColumnGrid& grid) {
    const float r = rowHeight();
    const std::shared_ptr<PlaygroundView> host = m_playgroundView.lock();
    const float g = host ? host->space() : 0;
    m_aboveView->moveToCenterYRightAlignedAtColumn(y, column, grid);
    m_productView->setShrunk(m_shrunk);
    m_productView->moveToCenterYRightAlignedAtColumn(y + r, column, grid);
    m_minusView->moveTo(m_productView->getPointAtPosition(AnchorMiddleLeft), AnchorMiddleRight);
    const core::Point productTopRight = m_productView->getPointAtPosition(AnchorTopRight);
    m_lineView->moveTo({productTopRight.x, productTopRight.y + r + 2 * g}, AnchorTopRight);
    const float differenceY = productTopRight.y + r + 2 * g + r / 2;
    m_differenceView->moveToCenterYRightAlignedAtColumn(differenceY, column, grid);
    if (m_appendedRemainderView) {
        const int32_t brought =
            int32_t(m_appendedRemainderView->digitViews().size()) - int32_t(m_differenceView->digitViews().size());
        m_appendedRemainderView->moveToCenterYRightAlignedAtColumn(differenceY, column + brought, grid);
    }
}

void ExprViewSegment::moveEverythingToY(float y) {
    for (const std::shared_ptr<ui::View>& view : getViewList())
        view->setCenter({view->center().x, y});
}

std::shared_ptr<ExprViewSoloistDigits> ExprViewSegment::getRemainderViewFromPoint(core::Point point) const {
    // Once digits are brought down the difference is off the screen: what is left is the appended
    // number ("01" leaves 1, not the hidden 0).
    const std::shared_ptr<ExprViewSoloistDigits>& working =
        m_appendedRemainderView ? m_appendedRemainderView : m_differenceView;
    return grownHitbox(working->getHitbox()).contains(point) ? working : nullptr;
}

core::Point ExprViewSegment::getRelevantTopRight() const {
    if (!m_appendedRemainderView)
        return m_differenceView->getPointAtPosition(AnchorTopRight);
    const core::Point topLeft = m_appendedRemainderView->getPointAtPosition(AnchorTopLeft);
    return {topLeft.x + m_appendedRemainderView->getWidth(), topLeft.y};
}

core::Point ExprViewSegment::getTopLeft() const {
    return m_aboveView->getPointAtPosition(AnchorTopLeft);
}

void ExprViewSegment::moveTo(core::Point, Anchor anchor) {
    if (anchor != AnchorTopRight)
        core::log(core::LogLevel::Warning, "need to use AnchorTopRight for ExprViewSegment");
}

ViewList ExprViewSegment::getViewList() const {
    ViewList views = m_productView->getViewList();
    appendAll(views, m_aboveView->getViewList());
    appendAll(views, m_multipleView->getViewList());
    appendAll(views, workingView().getViewList());
    views.push_back(m_lineView);
    views.push_back(m_minusView);
    return views;
}

GenericViewList ExprViewSegment::getGenericSubviews() const {
    GenericViewList views{m_productView, m_aboveView, m_differenceView, m_multipleView, m_lineView, m_minusView};
    if (m_appendedRemainderView)
        views.push_back(m_appendedRemainderView);
    return views;
}

GenericViewList ExprViewSegment::getBaseNodeGenericViews() const {
    GenericViewList views = m_productView->getBaseNodeGenericViews();
    appendAll(views, m_differenceView->getBaseNodeGenericViews());
    appendAll(views, m_aboveView->getBaseNodeGenericViews());
    appendAll(views, m_multipleView->getBaseNodeGenericViews());
    if (m_appendedRemainderView)
        appendAll(views, m_appendedRemainderView->getBaseNodeGenericViews());
    views.push_back(m_lineView);
    views.push_back(m_minusView);
    return views;
}

float ExprViewSegment::getWidth() const {
    return std::max({m_differenceView->getWidth(), m_productView->getWidth(), m_aboveView->getWidth()});
}

float ExprViewSegment::getPureWidth() const {
    return std::max(m_differenceView->getPureWidth(), m_productView->getPureWidth());
}

float ExprViewSegment::getHeight() const {
    return 2 * m_differenceView->getHeight() + 2 * space() + m_lineView->frame().height();
}

core::Rect ExprViewSegment::getHitbox() const {
    return m_differenceView->getHitbox().united(m_productView->getHitbox());
}

void ExprViewSegment::setSpace(float space) {
    ExprView::setSpace(space);
    m_productView->setSpace(space);
    m_differenceView->setSpace(space);
    m_aboveView->setSpace(space);
}

void ExprViewSegment::setFontSize(float size, bool animated) {
    GridExprView::setFontSize(size, animated);
    m_shrunk = false;
    m_productView->setFontSize(size, animated);
    m_differenceView->setFontSize(size, animated);
    m_aboveView->setFontSize(size, animated);
    m_lineView->setFontSize(size, animated);
    m_minusView->setFontSize(size, animated);
    if (m_appendedRemainderView)
        m_appendedRemainderView->setFontSize(size, animated);
    m_lineView->setWidth(ruleWidth());
    m_lineView->setHeight(float(0.05 * double(m_differenceView->getHeight())));
    m_lineView->setNeedsDisplay();
}

std::string ExprViewSegment::description() const {
    return "<row " + m_segment->description() + ">";
}

} // namespace zm
