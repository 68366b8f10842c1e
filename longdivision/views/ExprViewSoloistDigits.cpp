#include "longdivision/views/ExprViewSoloistDigits.h"

#include "longdivision/views/ColumnGrid.h"
#include "longdivision/views/DecimalSeparator.h"
#include "playground/PlaygroundView.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericView.h"

#include <algorithm>

namespace zm {

std::shared_ptr<ExprViewSoloistDigits> ExprViewSoloistDigits::create(std::shared_ptr<ExprSoloist> solo,
                                                                     PlaygroundView& playgroundView) {
    std::shared_ptr<ExprViewSoloistDigits> view(new ExprViewSoloistDigits);
    view->m_playgroundView = std::static_pointer_cast<PlaygroundView>(playgroundView.shared_from_this());
    view->m_solo = std::move(solo);
    view->m_dotView =
        GenericLabel::create(localizedDecimalString(), fontNamed(kGeorgia, playgroundView.baseFontSize()));
    bool negative = false;
    for (const char character : std::to_string(view->m_solo->coef())) {
        if (character == '-') {
            negative = true;
            continue;
        }
        const int32_t digit = character - '0';
        view->m_digitViews.push_back(
            ExprViewSoloist::create(ExprSoloist::soloWithCoef(negative ? -digit : digit), playgroundView));
        negative = false;
    }
    view->setFontSize(playgroundView.baseFontSize(), false);
    view->setColor(playgroundView.expressionColor());
    return view;
}

void ExprViewSoloistDigits::setDotPosition(uint32_t position) {
    m_dotPosition = position;
    if (position != kNoDot)
        m_columnLayout = true;
}

void ExprViewSoloistDigits::setHideDotView(bool hide) {
    if (hide == m_hideDotView)
        return;
    m_hideDotView = hide;
    if (hide) {
        m_dotView->clear();
    } else if (const std::shared_ptr<PlaygroundView> host = playgroundView()) {
        host->showGenericView(*m_dotView);
    }
}

void ExprViewSoloistDigits::appendDigitView(std::shared_ptr<ExprViewSoloist> digitView) {
    m_solo = m_solo->expandByDigit(*digitView->solo());
    m_digitViews.push_back(std::move(digitView));
}

void ExprViewSoloistDigits::removeLastDigitView() {
    if (m_digitViews.empty())
        return;
    m_digitViews.back()->clear();
    m_digitViews.pop_back();
    std::shared_ptr<ExprSoloist> shorter = m_solo->removeLastDigit();
    m_solo = shorter ? std::move(shorter) : ExprSoloist::soloWithCoef(0);
}

void ExprViewSoloistDigits::moveTo(core::Point point, Anchor anchor) {
    if (const std::optional<core::Point> middleLeft =
            middleLeftForAnchor(point, anchor, {getWidth(), getHeight()}))
        layOutFromMiddleLeft(*middleLeft);
}

void ExprViewSoloistDigits::layOutFromMiddleLeft(core::Point point) {
    const float w = colWidth();
    float left = point.x;
    auto placeDot = [&] { m_dotView->moveTo({left - w / 8, point.y}, AnchorMiddleLeft); };
    for (size_t index = 0; index < m_digitViews.size(); ++index) {
        ExprViewSoloist& digit = *m_digitViews[index];
        if (index == m_dotPosition) {
            placeDot();
            left += w / 4;
        }
        if (m_columnLayout) {
            digit.moveTo({left + w / 2, point.y}, AnchorCenter);
            left += w;
        } else {
            digit.moveTo({left, point.y}, AnchorMiddleLeft);
            left += digit.getWidth();
        }
    }
    if (m_dotPosition == m_digitViews.size())
        placeDot();
}

void ExprViewSoloistDigits::moveToCenterY(float y, int32_t column, const ColumnGrid& grid, bool rightAligned) {
    const int32_t count = int32_t(m_digitViews.size());
    for (int32_t index = 0; index < count; ++index) {
        ExprViewSoloist& digit = *m_digitViews[size_t(index)];
        if (!rightAligned) {
            digit.moveTo({grid.getCenterXForColumn(column + index), y}, AnchorCenter);
            continue;
        }
        float x = grid.getCenterXForColumn(column - (count - 1 - index));
        if (digit.solo()->coef() < 0)
            x -= digit.getWidth() / 4;
        digit.moveTo({x, y}, AnchorCenter);
    }
}

void ExprViewSoloistDigits::moveToTopLeft(core::Point point, float columnWidth) {
    for (size_t index = 0; index < m_digitViews.size(); ++index)
        m_digitViews[index]->moveTo({point.x + float(index) * columnWidth, point.y}, AnchorTopLeft);
}

core::Point ExprViewSoloistDigits::getDotViewBottomLeftAtDotIndex(int32_t index) const {
    if (!m_columnLayout)
        return {};
    if (index == 0 && m_dotPosition == 0)
        return pointAtAnchorInRect(m_dotView->frame(), AnchorBottomLeft);
    const core::Point bottomLeft = getPointAtPosition(AnchorBottomLeft);
    return {bottomLeft.x + float(index) * colWidth() - colWidth() / 8, bottomLeft.y};
}

core::Point ExprViewSoloistDigits::getPointAtPosition(Anchor anchor) const {
    core::Point point = ExprView::getPointAtPosition(anchor);
    if ((anchor == AnchorTopLeft || anchor == AnchorBottomLeft) && !m_digitViews.empty()) {
        const float overhang = (colWidth() - m_digitViews.front()->getWidth()) / 2;
        if (overhang > 0)
            point.x -= overhang;
    }
    return point;
}

float ExprViewSoloistDigits::getWidth() const {
    float width = 0;
    if (m_columnLayout) {
        width = colWidth() * float(m_digitViews.size());
    } else {
        for (const auto& digit : m_digitViews)
            width += digit->getWidth();
    }
    return m_dotPosition != kNoDot ? width + colWidth() / 4 : width;
}

float ExprViewSoloistDigits::getHeight() const {
    float height = 0;
    for (const auto& digit : m_digitViews)
        height = std::max(height, digit->getHeight());
    return height;
}

float ExprViewSoloistDigits::getPureWidth() const {
    float width = 0;
    for (const auto& digit : m_digitViews)
        width += digit->getPureWidth();
    return width;
}

core::Rect ExprViewSoloistDigits::getHitbox() const {
    core::Rect box = core::Rect::null();
    for (const auto& digit : m_digitViews)
        box = box.united(digit->getHitbox());
    return box;
}

std::vector<bool> ExprViewSoloistDigits::listedDigits() const {
    std::vector<bool> listed;
    bool significant = m_showForwardZeroes || m_digitViews.size() == 1;
    for (const auto& digit : m_digitViews) {
        significant = significant || digit->solo()->coef() != 0;
        listed.push_back(significant);
    }
    return listed;
}

ViewList ExprViewSoloistDigits::getViewList() const {
    ViewList views;
    const std::vector<bool> listed = listedDigits();
    for (size_t index = 0; index < m_digitViews.size(); ++index) {
        if (!listed[index])
            continue;
        appendAll(views, m_digitViews[index]->getViewList());
    }
    if (m_dotPosition != kNoDot && !m_hideDotView)
        views.push_back(m_dotView);
    return views;
}

GenericViewList ExprViewSoloistDigits::getGenericSubviews() const {
    GenericViewList subviews;
    for (const auto& digit : m_digitViews) {
        appendAll(subviews, digit->getGenericSubviews());
    }
    subviews.push_back(m_dotView);
    return subviews;
}

GenericViewList ExprViewSoloistDigits::getBaseNodeGenericViews() const {
    GenericViewList views;
    for (const auto& digit : m_digitViews) {
        appendAll(views, digit->getBaseNodeGenericViews());
    }
    appendAll(views, m_dotView->getBaseNodeGenericViews());
    return views;
}

std::shared_ptr<ExprView> ExprViewSoloistDigits::getExprViewFromPoint(core::Point point) const {
    for (const auto& digit : m_digitViews) {
        if (std::shared_ptr<ExprView> found = digit->getExprViewFromPoint(point))
            return found;
    }
    return nullptr;
}

void ExprViewSoloistDigits::setSpace(float space) {
    ExprView::setSpace(space);
    for (const auto& digit : m_digitViews)
        digit->setSpace(space);
}

void ExprViewSoloistDigits::setFontSize(float size, bool animated) {
    GridExprView::setFontSize(size, animated);
    for (const auto& digit : m_digitViews)
        digit->setFontSize(size, animated);
    m_dotView->setFontSize(size, animated);
}

std::string ExprViewSoloistDigits::description() const {
    return "<digits " + std::to_string(m_solo->coef()) + ">";
}

std::string ExprViewSoloistDigits::localizedDecimalString() {
    return userDecimalSeparator();
}

} // namespace zm
