#include "longdivision/views/ExprViewLongDivision.h"

#include "longdivision/views/ExprViewSegment.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/ImageView.h"
#include "playground/PlaygroundView.h"
#include "playground/views/AnchorGeometry.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericView.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace zm {

namespace {

bool near(const IGenericView& view, core::Point point) {
    return grownHitbox(view.getHitbox()).contains(point);
}

} // namespace

std::shared_ptr<ExprViewLongDivision> ExprViewLongDivision::create(std::shared_ptr<ExprLongDivision> longDivision,
                                                                   PlaygroundView& playgroundView) {
    std::shared_ptr<ExprViewLongDivision> view(new ExprViewLongDivision);
    view->m_playgroundView = std::static_pointer_cast<PlaygroundView>(playgroundView.shared_from_this());
    view->m_longDivison = std::move(longDivision);
    const ExprLongDivision& model = *view->m_longDivison;
    view->m_denominatorView = ExprViewSoloistDigits::create(model.denominator(), playgroundView);
    view->m_denominatorView->setColumnLayout(false);
    view->m_denominatorView->setDotPosition(model.denominatorDotPosition());
    view->m_numeratorView = ExprViewSoloistDigits::create(model.numerator(), playgroundView);
    view->m_numeratorView->setDotPosition(model.numeratorDotPosition());
    view->m_denominatorView->setHideDotView(true);
    view->m_opViewDivide =
        OpViewDivide::create(std::make_shared<OpDivide>(model.numerator(), model.denominator()), playgroundView);
    view->m_opViewDivide->setWidth(view->getWidth());
    view->m_dividerViewLeft = GenericLabel::create(")", fontNamed("Verdana", 20));
    // Artwork for a black expression colour only when it is the black colour itself.
    view->m_dividerImage = ui::ImageView::create(ui::imageNamed(
        playgroundView.expressionColor().isBlackConstant() ? "divider-left-black.png" : "divider-left.png"));
    view->m_remainderLabel = GenericLabel::create("r", fontNamed(kGeorgia, 20));
    view->setFontSize(playgroundView.baseFontSize(), false);
    view->setColor(playgroundView.expressionColor());
    return view;
}

void ExprViewLongDivision::setRemainderModeActive(bool active) {
    m_remainderModeActive = active;
    if (!active) {
        m_remainderLabel->clear();
    } else if (const std::shared_ptr<PlaygroundView> host = m_playgroundView.lock()) {
        host->showGenericView(*m_remainderLabel);
    }
}

std::shared_ptr<ExprSegment> ExprViewLongDivision::acceptDenominator(const ExprView& dropped) const {
    if (&dropped != m_denominatorView.get())
        return nullptr;
    const auto& digits = m_numeratorView->digitViews();
    const auto lit = highlightedDigits(digits);
    if (lit.empty() || lit.front() != digits.front())
        return nullptr;
    const int64_t divisor = m_denominatorView->solo()->coef();
    const int64_t number = numberOfDigits(lit);
    if (number < divisor || number > std::numeric_limits<int32_t>::max())
        return nullptr;
    // The shortest leading part the divisor goes into: without its last digit it must not reach it.
    if (lit.size() > 1 && numberOfDigits({lit.begin(), lit.end() - 1}) >= divisor)
        return nullptr;
    return ExprSegment::create(ExprSoloist::soloWithCoef(int32_t(number)), m_denominatorView->solo());
}

void ExprViewLongDivision::movingDenominator(const ExprView& divisor) {
    checkHighlight(divisor.getHitbox());
}

void ExprViewLongDivision::checkHighlight(const core::Rect& rect) {
    highlightDigitsUnder(m_numeratorView->digitViews(), rect);
}

std::shared_ptr<ExprViewSoloistDigits> ExprViewLongDivision::getDenominatorViewFromPoint(core::Point point) const {
    return near(*m_denominatorView, point) ? m_denominatorView : nullptr;
}

std::shared_ptr<ExprView> ExprViewLongDivision::getExprViewFromPoint(core::Point point) const {
    return getDenominatorViewFromPoint(point);
}

std::shared_ptr<ExprView> ExprViewLongDivision::getExprViewFromPoint(core::Point point, uint32_t index) const {
    if (std::shared_ptr<ExprView> divisor = getExprViewFromPoint(point))
        return divisor;
    const auto& digits = m_numeratorView->digitViews();
    for (size_t k = index; k < digits.size(); ++k) {
        if (near(*digits[k], point))
            return digits[k];
    }
    return nullptr;
}

std::shared_ptr<ExprViewSoloist> ExprViewLongDivision::getNumeratorDigitFromPoint(core::Point point,
                                                                                  uint32_t index) const {
    const auto& digits = m_numeratorView->digitViews();
    if (index >= digits.size())
        return nullptr;
    if (near(*digits[index], point))
        return digits[index];
    const auto found = std::ranges::find_if(digits, [&](const auto& digit) { return near(*digit, point); });
    return found == digits.end() ? nullptr : *found;
}

std::shared_ptr<GenericLabel> ExprViewLongDivision::getDotViewFromPoint(core::Point point) const {
    if (m_numeratorView->dotPosition() == ExprViewSoloistDigits::kNoDot)
        return nullptr;
    return near(*m_numeratorView->dotView(), point) ? m_numeratorView->dotView() : nullptr;
}

std::shared_ptr<ExprViewSoloist> ExprViewLongDivision::getDigitViewFromPoint(core::Point point) const {
    if (!m_answerView)
        return nullptr;
    for (const auto& digit : m_answerView->digitViews()) {
        if (digit->getHitbox().contains(point))
            return digit;
    }
    return nullptr;
}

std::shared_ptr<ExprViewSoloist> ExprViewLongDivision::getPatternDigitFromPoint(
    core::Point point, const std::vector<std::shared_ptr<ExprViewSoloist>>& tapped) const {
    if (!m_answerView)
        return nullptr;
    const auto& digits = m_answerView->digitViews();
    const uint32_t dot = m_answerView->dotPosition();
    const std::optional<std::string>& pattern = m_longDivison->pattern();
    // A digit reaches half its size beyond its box, so a wide digit reaches into its neighbour's:
    // of the digits within reach, the one whose middle is nearest the finger.
    auto nearest = [&point](const std::vector<std::shared_ptr<ExprViewSoloist>>& candidates,
                            const std::function<bool(size_t)>& offered) -> std::shared_ptr<ExprViewSoloist> {
        std::shared_ptr<ExprViewSoloist> best;
        float bestDistance = 0;
        for (size_t k = 0; k < candidates.size(); ++k) {
            if (!offered(k) || !near(*candidates[k], point))
                continue;
            const float distance = std::abs(candidates[k]->getPointAtPosition(AnchorCenter).x - point.x);
            if (!best || distance < bestDistance) {
                best = candidates[k];
                bestDistance = distance;
            }
        }
        return best;
    };
    // First a digit after the point, not yet tapped, that the pattern has.
    if (auto found = nearest(digits, [&](size_t k) {
            if (k < dot || std::ranges::find(tapped, digits[k]) != tapped.end())
                return false;
            return !pattern || pattern->find(std::to_string(digits[k]->solo()->coef())) != std::string::npos;
        }))
        return found;
    // Then one already tapped.
    if (auto found = nearest(tapped, [](size_t) { return true; }))
        return found;
    // Then any digit after the point that is on screen.
    return nearest(digits, [&](size_t k) {
        const ViewList views = digits[k]->getViewList();
        return k >= dot && !views.empty() && views.back()->superview();
    });
}

bool ExprViewLongDivision::validateRemainder(const ExprView& dragged) const {
    const core::Rect label = m_remainderLabel->getHitbox();
    return dragged.getHitbox().intersects(label.offsetBy(label.width(), 0));
}

void ExprViewLongDivision::acceptRemainder(const ExprView& dropped) {
    const auto term = std::dynamic_pointer_cast<ExprSoloist>(dropped.getExpr());
    const std::shared_ptr<PlaygroundView> host = m_playgroundView.lock();
    if (!term || !host)
        return;
    m_remainderView = ExprViewSoloist::create(term, *host);
    m_remainderView->moveTo(dropped.getPointAtPosition(AnchorCenter), AnchorCenter);
    host->showExprView(m_remainderView.get());
    m_longDivison->setRemainder(term);
}

void ExprViewLongDivision::updateWidth() {
    m_opViewDivide->setWidth(getWidth() - m_denominatorView->getWidth());
    m_opViewDivide->setNeedsDisplay();
}

float ExprViewLongDivision::getCenterXForColumn(int32_t column) const {
    const auto& digits = m_numeratorView->digitViews();
    if (column < 0)
        return digits.front()->getPointAtPosition(AnchorCenter).x - float(-column) * colWidth();
    if (size_t(column) < digits.size())
        return digits[size_t(column)]->getPointAtPosition(AnchorCenter).x;
    return 0;
}

void ExprViewLongDivision::moveTo(core::Point point, Anchor anchor) {
    const std::optional<core::Point> middleLeft = middleLeftForAnchor(point, anchor, {getWidth(), getHeight()});
    if (!middleLeft)
        return;
    const float s = space();
    const auto [x, y] = *middleLeft;
    m_denominatorView->moveTo({x, y}, AnchorMiddleLeft);
    const float c = x + m_denominatorView->getWidth();
    m_dividerViewLeft->moveTo({c - s, y}, AnchorMiddleLeft);
    moveViewTo(*m_dividerImage, {c, y + s / 2}, AnchorMiddleLeft);
    const core::Rect bracket = m_dividerImage->frame();
    m_opViewDivide->moveTo({bracket.minX() + s, bracket.minY()}, AnchorTopLeft);
    m_numeratorView->moveTo({c + 3 * s, y}, AnchorMiddleLeft);
}

void ExprViewLongDivision::setFontSize(float size, bool animated) {
    const float before = baseFontSize();
    GridExprView::setFontSize(size, animated);
    if (size == before && m_opViewDivide->frame().width() >= m_numeratorView->getWidth())
        return;
    const core::Rect paren = m_dividerViewLeft->getHitbox();
    m_dividerImage->setFrame(paren.insetBy(paren.width() / 8, paren.height() / 8));
    m_opViewDivide->setWidth(getWidth() - m_denominatorView->getWidth());
    m_opViewDivide->setHeight(float(0.1078 * double(m_dividerImage->frame().height())));
    m_opViewDivide->setNeedsDisplay();
}

float ExprViewLongDivision::getWidth() const {
    const float s = space();
    float width = m_numeratorView->getWidth() + m_denominatorView->getWidth() + 3 * s;
    if (m_remainderModeActive)
        width += 2 * s + 2 * m_remainderLabel->getWidth();
    if (m_remainderView)
        width += m_remainderView->getWidth() - m_remainderLabel->getWidth();
    return width;
}

float ExprViewLongDivision::getHeight() const {
    return 2 * m_numeratorView->getHeight() + space() + m_opViewDivide->frame().height();
}

float ExprViewLongDivision::getPureWidth() const {
    return m_numeratorView->getPureWidth() + m_denominatorView->getPureWidth() + 3 * space();
}

core::Rect ExprViewLongDivision::getHitbox() const {
    return m_numeratorView->getHitbox().united(m_denominatorView->getHitbox());
}

ViewList ExprViewLongDivision::getViewList() const {
    ViewList views = m_numeratorView->getViewList();
    appendAll(views, m_denominatorView->getViewList());
    views.push_back(m_opViewDivide);
    views.push_back(m_dividerImage);
    if (m_remainderView)
        appendAll(views, m_remainderView->getViewList());
    if (m_remainderModeActive)
        appendAll(views, m_remainderLabel->getViewList());
    if (m_answerView)
        appendAll(views, m_answerView->getViewList());
    return views;
}

GenericViewList ExprViewLongDivision::getGenericSubviews() const {
    GenericViewList views{m_numeratorView, m_denominatorView, m_dividerViewLeft, m_opViewDivide, m_remainderLabel};
    if (m_remainderView)
        views.push_back(m_remainderView);
    return views;
}

GenericViewList ExprViewLongDivision::getBaseNodeGenericViews() const {
    GenericViewList views = m_numeratorView->getBaseNodeGenericViews();
    appendAll(views, m_denominatorView->getBaseNodeGenericViews());
    views.push_back(m_dividerViewLeft);
    views.push_back(m_opViewDivide);
    appendAll(views, m_remainderLabel->getBaseNodeGenericViews());
    if (m_remainderView)
        appendAll(views, m_remainderView->getBaseNodeGenericViews());
    return views;
}

std::string ExprViewLongDivision::description() const {
    return "<long division " + m_longDivison->description() + ">";
}

} // namespace zm
