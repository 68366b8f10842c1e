#include "platform/ui/ScrollView.h"

#include "platform/ui/Outlets.h"
#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/ScrollViewParts.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A finger that lifts faster than this (points a second) flicks the content on.
constexpr float flickSpeed = 50;
// A page snap goes to the neighbouring page from this speed on, else to the nearest page.
constexpr float pageFlickSpeed = 300;
// Past an edge the content follows the finger at this share of its movement.
constexpr float rubberBand = 0.5f;
constexpr double indicatorFadeDelay = 0.5;

} // namespace

void ScrollViewDelegate::scrollViewDidScroll(ScrollView&) {}

void ScrollViewDelegate::scrollViewWillBeginDragging(ScrollView&) {}

void ScrollViewDelegate::scrollViewDidEndDragging(ScrollView&, bool) {}

void ScrollViewDelegate::scrollViewDidEndDecelerating(ScrollView&) {}

void ScrollViewDelegate::scrollViewDidEndScrollingAnimation(ScrollView&) {}

// Drags the content; it begins only along an axis the content can scroll in, so that a drag across a
// horizontal strip leaves the finger to what lies under it.
class ScrollView::Pan : public PanGestureRecognizer {
public:
    static std::shared_ptr<Pan> create(const std::shared_ptr<ScrollView>& owner) {
        return std::shared_ptr<Pan>(new Pan(owner));
    }

protected:
    bool canBegin(core::Point movement) const override {
        const std::shared_ptr<ScrollView> owner = m_owner.lock();
        if (!owner)
            return false;
        return std::abs(movement.x) >= std::abs(movement.y) ? owner->scrollsHorizontally()
                                                            : owner->scrollsVertically();
    }

private:
    explicit Pan(const std::shared_ptr<ScrollView>& owner)
        : PanGestureRecognizer([owner = std::weak_ptr<ScrollView>(owner)](GestureRecognizer&) {
            if (const std::shared_ptr<ScrollView> scrollView = owner.lock())
                scrollView->panned();
        })
        , m_owner(owner) {}

    std::weak_ptr<ScrollView> m_owner;
};

std::shared_ptr<ScrollView> ScrollView::create(const core::Rect& frame) {
    auto scrollView = std::shared_ptr<ScrollView>(new ScrollView(frame));
    setUp(scrollView);
    return scrollView;
}

ScrollView::ScrollView(const core::Rect& frame)
    : View(frame)
    , m_motion(std::make_unique<Motion>(*this))
    , m_indicators(std::make_unique<Indicators>(layer())) {
    setClipsToBounds(true);
}

ScrollView::~ScrollView() = default;

void ScrollView::setUp(const std::shared_ptr<ScrollView>& scrollView) {
    scrollView->m_pan = Pan::create(scrollView);
    scrollView->m_pan->setDelaysTouchesBegan(scrollView->m_delaysContentTouches, kContentTouchDelay);
    scrollView->addGestureRecognizer(scrollView->m_pan);
}

void ScrollView::setContentSize(core::Size size) {
    m_contentSize = {std::max(0.0f, size.width), std::max(0.0f, size.height)};
    m_indicators->place(*this);
}

void ScrollView::setContentInset(const EdgeInsets& insets) {
    m_contentInset = insets;
    m_indicators->place(*this);
}

core::Point ScrollView::minimumContentOffset() const {
    return {-m_contentInset.left, -m_contentInset.top};
}

core::Point ScrollView::maximumContentOffset() const {
    const core::Point low = minimumContentOffset();
    const core::Size size = bounds().size;
    return {std::max(low.x, m_contentSize.width + m_contentInset.right - size.width),
            std::max(low.y, m_contentSize.height + m_contentInset.bottom - size.height)};
}

core::Point ScrollView::clamped(core::Point offset) const {
    const core::Point low = minimumContentOffset();
    const core::Point high = maximumContentOffset();
    return {std::clamp(offset.x, low.x, high.x), std::clamp(offset.y, low.y, high.y)};
}

bool ScrollView::scrollsHorizontally() const {
    return m_scrollEnabled &&
           (m_alwaysBounceHorizontal || maximumContentOffset().x > minimumContentOffset().x);
}

bool ScrollView::scrollsVertically() const {
    return m_scrollEnabled && (m_alwaysBounceVertical || maximumContentOffset().y > minimumContentOffset().y);
}

void ScrollView::setContentOffset(core::Point offset, bool animated) {
    stopMotion();
    if (animated && offset != contentOffset()) {
        m_indicators->show();
        glide(offset, scrolling::glideDuration, Arrival::ScrollingAnimation);
        return;
    }
    applyOffset(offset);
}

void ScrollView::scrollRectToVisible(const core::Rect& rect, bool animated) {
    const core::Rect visible = m_contentInset.inset(bounds());
    const core::Rect wanted = rect.standardized();
    auto axis = [](float offset, float wantedMin, float wantedMax, float visibleMin, float visibleMax) {
        if (wantedMin < visibleMin || wantedMax - wantedMin > visibleMax - visibleMin)
            return offset + wantedMin - visibleMin;
        if (wantedMax > visibleMax)
            return offset + wantedMax - visibleMax;
        return offset;
    };
    const core::Point offset = contentOffset();
    setContentOffset(clamped({axis(offset.x, wanted.minX(), wanted.maxX(), visible.minX(), visible.maxX()),
                              axis(offset.y, wanted.minY(), wanted.maxY(), visible.minY(), visible.maxY())}),
                     animated);
}

void ScrollView::setScrollEnabled(bool enabled) {
    m_scrollEnabled = enabled;
    m_pan->setEnabled(enabled);
}

void ScrollView::setDelaysContentTouches(bool delays) {
    m_delaysContentTouches = delays;
    m_pan->setDelaysTouchesBegan(delays, kContentTouchDelay);
}

void ScrollView::setCanCancelContentTouches(bool cancels) {
    m_canCancelContentTouches = cancels;
    m_pan->setCancelsTouchesInView(cancels);
}

void ScrollView::flashScrollIndicators() {
    m_indicators->place(*this);
    m_indicators->show();
    if (!m_dragging && !m_motion->isRunning())
        m_indicators->fade(indicatorFadeDelay);
}

bool ScrollView::isShowingScrollIndicator() const {
    return m_indicators->isShowing();
}

void ScrollView::connectOutlets(Outlets& outlets) {
    outlets.weak("delegate", m_delegate);
    View::connectOutlets(outlets);
}

void ScrollView::contentOffsetDidChange() {}

void ScrollView::didAddSubview(View& subview) {
    View::didAddSubview(subview);
    m_indicators->raise(layer());
}

void ScrollView::layoutSubviews() {
    View::layoutSubviews();
    m_indicators->place(*this);
}

void ScrollView::applyOffset(core::Point offset) {
    if (offset == contentOffset())
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    setBounds({offset, bounds().size});
    m_indicators->place(*this);
    contentOffsetDidChange();
    if (const std::shared_ptr<ScrollViewDelegate> delegate = m_delegate.lock())
        delegate->scrollViewDidScroll(*this);
}

void ScrollView::glide(core::Point target, double duration, Arrival arrival) {
    if (arrival == Arrival::Decelerating)
        m_decelerating = true;
    m_motion->glide(target, duration, arrival);
}

void ScrollView::arrived(Arrival arrival) {
    const std::shared_ptr<View> keep = shared_from_this();
    m_indicators->fade(0);
    if (arrival == Arrival::Decelerating) {
        m_decelerating = false;
        if (const std::shared_ptr<ScrollViewDelegate> delegate = m_delegate.lock())
            delegate->scrollViewDidEndDecelerating(*this);
    } else if (const std::shared_ptr<ScrollViewDelegate> delegate = m_delegate.lock()) {
        delegate->scrollViewDidEndScrollingAnimation(*this);
    }
}

void ScrollView::stopMotion() {
    m_motion->stop();
    m_decelerating = false;
}

void ScrollView::panned() {
    switch (m_pan->state()) {
    case GestureState::Began:
        beginDrag();
        break;
    case GestureState::Changed:
        drag();
        break;
    case GestureState::Ended:
    case GestureState::Cancelled:
        endDrag();
        break;
    default:
        break;
    }
}

void ScrollView::beginDrag() {
    const std::shared_ptr<View> keep = shared_from_this();
    stopMotion();
    m_dragging = true;
    m_dragStartOffset = contentOffset();
    m_indicators->place(*this);
    m_indicators->show();
    if (const std::shared_ptr<ScrollViewDelegate> delegate = m_delegate.lock())
        delegate->scrollViewWillBeginDragging(*this);
}

void ScrollView::drag() {
    if (!m_dragging)
        return;
    const core::Point moved = m_pan->translationInView(this);
    const core::Point low = minimumContentOffset();
    const core::Point high = maximumContentOffset();
    auto follow = [this](float start, float translation, float low, float high) {
        const float raw = start - translation;
        if (raw >= low && raw <= high)
            return raw;
        const float edge = raw < low ? low : high;
        return m_bounces ? edge + (raw - edge) * rubberBand : edge;
    };
    applyOffset(
        {scrollsHorizontally() ? follow(m_dragStartOffset.x, moved.x, low.x, high.x) : contentOffset().x,
         scrollsVertically() ? follow(m_dragStartOffset.y, moved.y, low.y, high.y) : contentOffset().y});
}

core::Point ScrollView::pageTarget(core::Point velocity) const {
    const core::Size page = bounds().size;
    auto axis = [](float offset, float start, float size, float speed, float low, float high) {
        if (size <= 0)
            return offset;
        const float startPage = std::round(start / size);
        float target = std::round(offset / size);
        if (speed > pageFlickSpeed)
            target = std::floor(offset / size) + 1;
        else if (speed < -pageFlickSpeed)
            target = std::ceil(offset / size) - 1;
        target = std::clamp(target, startPage - 1, startPage + 1);
        return std::clamp(target * size, low, high);
    };
    const core::Point offset = contentOffset();
    const core::Point low = minimumContentOffset();
    const core::Point high = maximumContentOffset();
    return {axis(offset.x, m_dragStartOffset.x, page.width, velocity.x, low.x, high.x),
            axis(offset.y, m_dragStartOffset.y, page.height, velocity.y, low.y, high.y)};
}

void ScrollView::endDrag() {
    if (!m_dragging)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    m_dragging = false;
    // The content moves against the finger.
    const core::Point fingerVelocity = m_pan->velocityInView(this);
    core::Point velocity{scrollsHorizontally() ? -fingerVelocity.x : 0,
                         scrollsVertically() ? -fingerVelocity.y : 0};
    const core::Point offset = contentOffset();
    if (!m_bounces) {
        // Content held at an edge does not flick against it.
        const core::Point low = minimumContentOffset();
        const core::Point high = maximumContentOffset();
        if ((offset.x <= low.x && velocity.x < 0) || (offset.x >= high.x && velocity.x > 0))
            velocity.x = 0;
        if ((offset.y <= low.y && velocity.y < 0) || (offset.y >= high.y && velocity.y > 0))
            velocity.y = 0;
    }
    enum class Then { Rest, Glide, Coast } then = Then::Rest;
    core::Point target = clamped(offset);
    if (m_pagingEnabled) {
        target = pageTarget(velocity);
        then = target != offset ? Then::Glide : Then::Rest;
    } else if (target != offset) {
        then = Then::Glide;
    } else if (std::hypot(velocity.x, velocity.y) >= flickSpeed) {
        then = Then::Coast;
    }
    if (then == Then::Rest)
        m_indicators->fade(0);
    if (const std::shared_ptr<ScrollViewDelegate> delegate = m_delegate.lock())
        delegate->scrollViewDidEndDragging(*this, then != Then::Rest);
    if (m_dragging || m_motion->isRunning())
        return; // the delegate moved the content itself
    if (then == Then::Glide) {
        glide(target, m_pagingEnabled ? scrolling::glideDuration : scrolling::springBackDuration,
              Arrival::Decelerating);
    } else if (then == Then::Coast) {
        m_decelerating = true;
        m_motion->coast(velocity);
    }
}

} // namespace ui
