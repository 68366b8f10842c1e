#pragma once

#include "platform/ui/EdgeInsets.h"
#include "platform/ui/View.h"

#include <memory>

namespace ui {

class PanGestureRecognizer;
class ScrollView;

// Told how a scroll view moves. Every operation is optional.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    // The content offset changed: under the finger, while the content glides on or springs back, during
    // an animated scroll, or by a call. Sent on every change, once per frame while moving.
    virtual void scrollViewDidScroll(ScrollView& scrollView);
    virtual void scrollViewWillBeginDragging(ScrollView& scrollView);
    // The finger lifted; `willDecelerate` when the content goes on moving by itself (momentum, a page
    // snap, springing back from past an edge), which ends with scrollViewDidEndDecelerating.
    virtual void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate);
    virtual void scrollViewDidEndDecelerating(ScrollView& scrollView);
    // An animated setContentOffset or scrollRectToVisible arrived.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView& scrollView);
};

// Shows a part of content larger than itself and moves it under the finger. The content is the scroll
// view's subviews, laid out in a space of contentSize; the content offset is the point of that space
// shown at the top-left corner (the bounds' origin). The content insets add room around the content.
//
// A finger that drags the content scrolls it along the axes in which the content is larger than the
// view; the content follows the finger, goes on gliding and slowing down after a flick, and springs
// back when pulled past an edge (unless it does not bounce). With paging, it comes to rest on whole
// multiples of the view's size.
//
// Scrolling starts once a finger has moved a few points along a scrollable axis. From then on the
// finger belongs to the scroll view: the view under it is sent touches-cancelled (unless the scroll view
// may not cancel content touches). Until then, a view inside does not hear of the finger for a short
// while (delaysContentTouches), so that a drag does not flash its highlight; a finger held still reaches
// it when the delay has passed, and a quick tap when it lifts.
//
// Movement is animated by the running animation engine; without one, the content arrives at once.
class ScrollView : public View {
public:
    // How long touches-began waits inside a scroll view that delays content touches.
    static constexpr double kContentTouchDelay = 0.15;

    static std::shared_ptr<ScrollView> create(const core::Rect& frame = {});
    ~ScrollView() override;

    core::Size contentSize() const { return m_contentSize; }
    void setContentSize(core::Size size);
    const EdgeInsets& contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets& insets);

    core::Point contentOffset() const { return bounds().origin; }
    // Any offset is taken as it is (the content may be shown past its edges); animated, the content
    // glides there and the delegate hears scrollViewDidEndScrollingAnimation. Either way a drag or glide
    // in progress stops.
    void setContentOffset(core::Point offset, bool animated = false);
    // The offsets the content comes to rest between.
    core::Point minimumContentOffset() const;
    core::Point maximumContentOffset() const;
    // Scrolls as little as needed to show `rect` (in content coordinates) inside the insets; a rectangle
    // larger than the view shows its top-left part. The offset stays between its limits.
    void scrollRectToVisible(const core::Rect& rect, bool animated);

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled);
    bool isPagingEnabled() const { return m_pagingEnabled; }
    void setPagingEnabled(bool enabled) { m_pagingEnabled = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    // Scroll (and bounce) along an axis even when the content fits it.
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool bounce) { m_alwaysBounceHorizontal = bounce; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool bounce) { m_alwaysBounceVertical = bounce; }

    bool delaysContentTouches() const { return m_delaysContentTouches; }
    void setDelaysContentTouches(bool delays);
    bool canCancelContentTouches() const { return m_canCancelContentTouches; }
    void setCanCancelContentTouches(bool cancels);

    // Thin bars along the right and bottom edges that show which part of the content is in view, while
    // it moves and for a moment after.
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalIndicator = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalIndicator; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalIndicator = shows; }
    // Shows the indicators for a moment, to tell that there is more to see.
    void flashScrollIndicators();
    // Whether an indicator is on screen now.
    bool isShowingScrollIndicator() const;

    // A finger is dragging the content; the content moves on by itself after a drag.
    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_decelerating; }

    // The recogniser that drags the content (its delay and cancelling follow the settings above).
    PanGestureRecognizer& panGestureRecognizer() const { return *m_pan; }

    const std::weak_ptr<ScrollViewDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) { m_delegate = std::move(delegate); }

    void connectOutlets(Outlets& outlets) override;

protected:
    explicit ScrollView(const core::Rect& frame);
    // Finishes a new scroll view of any class: its factory calls this once the view is shared.
    static void setUp(const std::shared_ptr<ScrollView>& scrollView);

    // The content offset changed (before the delegate hears of it): subclasses that place content by the
    // visible area do it here.
    virtual void contentOffsetDidChange();

    void didAddSubview(View& subview) override;
    void layoutSubviews() override;

private:
    class Motion;
    class Indicators;
    class Pan;

    enum class Arrival { Decelerating, ScrollingAnimation };

    bool scrollsHorizontally() const;
    bool scrollsVertically() const;
    core::Point clamped(core::Point offset) const;
    // Moves the content to `offset`; tells the delegate when it moved.
    void applyOffset(core::Point offset);
    void glide(core::Point target, double duration, Arrival arrival);
    void arrived(Arrival arrival);
    void stopMotion();

    void panned();
    void beginDrag();
    void drag();
    void endDrag();
    core::Point pageTarget(core::Point velocity) const;

    core::Size m_contentSize;
    EdgeInsets m_contentInset;
    bool m_scrollEnabled = true;
    bool m_pagingEnabled = false;
    bool m_bounces = true;
    bool m_alwaysBounceHorizontal = false;
    bool m_alwaysBounceVertical = false;
    bool m_delaysContentTouches = true;
    bool m_canCancelContentTouches = true;
    bool m_showsHorizontalIndicator = true;
    bool m_showsVerticalIndicator = true;
    bool m_dragging = false;
    bool m_decelerating = false;
    core::Point m_dragStartOffset;
    std::shared_ptr<PanGestureRecognizer> m_pan;
    std::unique_ptr<Motion> m_motion;
    std::unique_ptr<Indicators> m_indicators;
    std::weak_ptr<ScrollViewDelegate> m_delegate;
};

} // namespace ui
