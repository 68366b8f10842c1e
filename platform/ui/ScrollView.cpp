#include "platform/ui/ScrollView.h"

#include "platform/ui/Animation.h"
#include "platform/ui/AnimationEngine.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/PanGestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// A flick's speed falls to this share of itself every millisecond.
constexpr double decelerationRate = 0.998;
// Slower than this (points a second) the content stops; a finger that lifts faster flicks it.
constexpr float restingSpeed = 10;
constexpr float flickSpeed = 50;
// A page snap goes to the neighbouring page from this speed on, else to the nearest page.
constexpr float pageFlickSpeed = 300;
// Past an edge the content follows the finger at this share of its movement.
constexpr float rubberBand = 0.5f;
constexpr double glideDuration = 0.3;
constexpr double springBackDuration = 0.4;

constexpr float indicatorThickness = 2.5f;
constexpr float indicatorMargin = 3;
constexpr float indicatorMinimumLength = 20;
constexpr double indicatorFadeDelay = 0.5;
constexpr double indicatorFadeDuration = 0.3;
constexpr std::string_view fadeKey = "fade";

// Ease out: fast at first, settling gently.
double easeOut(double t) {
    const double rest = 1 - t;
    return 1 - rest * rest * rest;
}

core::Point lerp(core::Point from, core::Point to, double share) {
    return {float(from.x + (to.x - from.x) * share), float(from.y + (to.y - from.y) * share)};
}

} // namespace

void ScrollViewDelegate::scrollViewDidScroll(ScrollView&) {}

void ScrollViewDelegate::scrollViewWillBeginDragging(ScrollView&) {}

void ScrollViewDelegate::scrollViewDidEndDragging(ScrollView&, bool) {}

void ScrollViewDelegate::scrollViewDidEndDecelerating(ScrollView&) {}

void ScrollViewDelegate::scrollViewDidEndScrollingAnimation(ScrollView&) {}

// Moves the content by itself, frame by frame: gliding to a target, or coasting after a flick until
// friction stops it. Every frame's offset goes through applyOffset, so the delegate hears each one.
class ScrollView::Motion : private FrameObserver {
public:
    explicit Motion(ScrollView& owner)
        : m_owner(owner) {}
    ~Motion() override { unregister(); }

    bool isRunning() const { return m_kind != Kind::None; }

    void glide(core::Point to, double duration, Arrival arrival) {
        m_kind = Kind::Glide;
        m_from = m_owner.contentOffset();
        m_to = to;
        m_duration = duration;
        m_elapsed = 0;
        m_arrival = arrival;
        start();
    }

    void coast(core::Point velocity) {
        m_kind = Kind::Coast;
        m_velocity = velocity;
        m_arrival = Arrival::Decelerating;
        start();
    }

    void stop() {
        m_kind = Kind::None;
        unregister();
    }

private:
    enum class Kind { None, Glide, Coast };

    void start() {
        if (m_engine)
            return;
        m_engine = AnimationEngine::current();
        if (m_engine) {
            m_engine->addFrameObserver(*this);
            return;
        }
        // Nothing animates: the content arrives at once.
        const Kind kind = m_kind;
        m_kind = Kind::None;
        if (kind == Kind::Glide)
            m_owner.applyOffset(m_to);
        else
            m_owner.applyOffset(m_owner.clamped(m_owner.contentOffset()));
        m_owner.arrived(m_arrival);
    }

    void unregister() {
        // An engine that is no longer current has ended (engines nest), taking its observers with it.
        if (m_engine && m_engine == AnimationEngine::current())
            m_engine->removeFrameObserver(*this);
        m_engine = nullptr;
    }

    void advance(double elapsed) override {
        const std::shared_ptr<View> keep = m_owner.shared_from_this();
        if (m_kind == Kind::Glide)
            advanceGlide(elapsed);
        else if (m_kind == Kind::Coast)
            advanceCoast(elapsed);
        else
            unregister();
    }

    void advanceGlide(double elapsed) {
        m_elapsed += elapsed;
        const double share = m_duration > 0 ? std::min(1.0, m_elapsed / m_duration) : 1.0;
        const Arrival arrival = m_arrival;
        if (share >= 1)
            stop();
        m_owner.applyOffset(lerp(m_from, m_to, easeOut(share)));
        if (share >= 1)
            m_owner.arrived(arrival);
    }

    void advanceCoast(double elapsed) {
        const double decay = std::pow(decelerationRate, elapsed * 1000);
        m_velocity = {float(m_velocity.x * decay), float(m_velocity.y * decay)};
        const core::Point offset = m_owner.contentOffset();
        const core::Point moved{float(offset.x + m_velocity.x * elapsed),
                                float(offset.y + m_velocity.y * elapsed)};
        const core::Point inside = m_owner.clamped(moved);
        if (moved != inside && !m_owner.m_bounces) {
            // An edge stops the content along its axis.
            if (moved.x != inside.x)
                m_velocity.x = 0;
            if (moved.y != inside.y)
                m_velocity.y = 0;
        }
        m_owner.applyOffset(m_owner.m_bounces ? moved : inside);
        if (m_kind != Kind::Coast)
            return; // the delegate took over
        const bool pastEdge = m_owner.m_bounces && moved != inside;
        if (pastEdge) {
            m_owner.m_motion->glide(inside, springBackDuration, Arrival::Decelerating);
            return;
        }
        if (std::hypot(m_velocity.x, m_velocity.y) < restingSpeed) {
            stop();
            m_owner.arrived(Arrival::Decelerating);
        }
    }

    ScrollView& m_owner;
    AnimationEngine* m_engine = nullptr; // while registered with it
    Kind m_kind = Kind::None;
    core::Point m_from;
    core::Point m_to;
    double m_duration = 0;
    double m_elapsed = 0;
    core::Point m_velocity;
    Arrival m_arrival = Arrival::Decelerating;
};

// The two scroll indicators: plain layers above the content, placed in the scroll view's bounds.
class ScrollView::Indicators {
public:
    explicit Indicators(Layer& host) {
        for (Layer* bar : {m_horizontal.get(), m_vertical.get()}) {
            bar->setBackgroundColor(core::Color::rgba(0, 0, 0, 0.35f));
            bar->setOpacity(0);
            host.addSublayer(bar == m_horizontal.get() ? m_horizontal : m_vertical);
        }
    }

    // Keeps the bars above subviews added later.
    void raise(Layer& host) {
        for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
            bar->removeFromSuperlayer();
            host.addSublayer(bar);
        }
    }

    void place(const ScrollView& view) {
        const core::Rect area = view.bounds();
        const core::Point low = view.minimumContentOffset();
        const core::Point high = view.maximumContentOffset();
        const core::Point offset = view.contentOffset();
        auto along = [](float visible, float total, float start, float span, float from, float to, float at) {
            const float length = std::clamp(visible * visible / std::max(total, 1.0f),
                                            std::min(indicatorMinimumLength, visible),
                                            std::max(0.0f, visible - 2 * indicatorMargin));
            const float share = to > from ? std::clamp((at - from) / (to - from), 0.0f, 1.0f) : 0;
            return std::pair{start + indicatorMargin +
                                 share * std::max(0.0f, span - 2 * indicatorMargin - length),
                             length};
        };
        const bool horizontal = view.m_showsHorizontalIndicator && high.x > low.x;
        const bool vertical = view.m_showsVerticalIndicator && high.y > low.y;
        m_horizontal->setHidden(!horizontal);
        m_vertical->setHidden(!vertical);
        const EdgeInsets& inset = view.m_contentInset;
        if (horizontal) {
            const auto [x, length] = along(area.width(), view.m_contentSize.width + inset.left + inset.right,
                                           area.minX(), area.width(), low.x, high.x, offset.x);
            m_horizontal->setFrame(
                {x, area.maxY() - indicatorMargin - indicatorThickness, length, indicatorThickness});
        }
        if (vertical) {
            const auto [y, length] =
                along(area.height(), view.m_contentSize.height + inset.top + inset.bottom, area.minY(),
                      area.height(), low.y, high.y, offset.y);
            m_vertical->setFrame(
                {area.maxX() - indicatorMargin - indicatorThickness, y, indicatorThickness, length});
        }
    }

    void show() {
        for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
            bar->removeAnimation(fadeKey);
            bar->setOpacity(1);
        }
    }

    void fade(double delay) {
        for (const std::shared_ptr<Layer>& bar : {m_horizontal, m_vertical}) {
            if (bar->opacity() == 0)
                continue;
            bar->setOpacity(0);
            if (AnimationEngine::current())
                bar->addAnimation(Animation::basic(LayerProperty::Opacity, 1.0f, 0.0f)
                                      .setDuration(indicatorFadeDuration)
                                      .setDelay(delay)
                                      .setFillMode(FillMode::Backwards),
                                  std::string(fadeKey));
        }
    }

    bool isShowing() const {
        auto shows = [](const Layer& bar) { return !bar.isHidden() && bar.presentation().opacity > 0; };
        return shows(*m_horizontal) || shows(*m_vertical);
    }

private:
    std::shared_ptr<Layer> m_horizontal = Layer::create();
    std::shared_ptr<Layer> m_vertical = Layer::create();
};

// Drags the content; it begins only along an axis the content can scroll in, so that a drag across a
// horizontal strip leaves the finger to what lies under it.
class ScrollView::Pan : public PanGestureRecognizer {
public:
    static std::shared_ptr<Pan> create(const std::shared_ptr<ScrollView>& owner) {
        auto pan = std::shared_ptr<Pan>(new Pan);
        pan->m_owner = owner;
        pan->addTarget([owner = std::weak_ptr<ScrollView>(owner)](GestureRecognizer&) {
            if (const std::shared_ptr<ScrollView> scrollView = owner.lock())
                scrollView->panned();
        });
        return pan;
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
    Pan() = default;

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
        glide(offset, glideDuration, Arrival::ScrollingAnimation);
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
        glide(target, m_pagingEnabled ? glideDuration : springBackDuration, Arrival::Decelerating);
    } else if (then == Then::Coast) {
        m_decelerating = true;
        m_motion->coast(velocity);
    }
}

} // namespace ui
