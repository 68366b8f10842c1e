#pragma once

#include "platform/ui/Animation.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace ui {
class ShapeLayer;
}

namespace zm {

// One difficulty's row of progress dots: solved problems are white discs, the problem being played a
// white ring, the others faint rings (plain rings while the row is dimmed). Up to four dots stand in
// one line; five to eight make two lines of four.
//
// A count that grows by exactly one is not shown at once: the new dot fills with a clockwise sweep of
// two seconds, and the count moves on when the sweep has finished. Every other count is shown at once.
//
// Made by the playground screen's interface file. Main thread only.
class CircleDrawerView : public ui::View, public ui::AnimationDelegate {
public:
    static constexpr std::string_view kFillAnimationKey = "drawCircleAnimation";
    static constexpr double kFillDuration = 2.0;

    static std::shared_ptr<CircleDrawerView> create(const core::Rect& frame = {});

    uint32_t totalCircles() const { return m_totalCircles; }
    // Does not redraw.
    void setTotalCircles(uint32_t count) { m_totalCircles = count; }
    uint32_t completedCircles() const { return m_completedCircles; }
    // One more than now plays the fill animation (and shows the dot as in progress meanwhile); any
    // other count is shown at once.
    void setCompletedCircles(uint32_t count);
    // Whether the dot after the solved ones is drawn as a full ring. Does not redraw.
    bool problemInProgress() const { return m_problemInProgress; }
    void setProblemInProgress(bool inProgress) { m_problemInProgress = inProgress; }

    // The geometry: one or two lines, the dot's diameter and the gap between dots for that, the centre
    // of a line's first dot, and the width the row asks for (its widest line with gaps on both sides).
    int numRows() const;
    float circleWidth() const;
    float spacing() const;
    float xOffset() const;
    float requestedWidth() const;

    // Sweeps the dot after the solved ones full; a full row only stops showing a dot in progress.
    void animateCircle();
    // The layer of the last sweep, left over the dot it filled; null before the first.
    const std::shared_ptr<ui::ShapeLayer>& circleLayer() const { return m_circleLayer; }

    void animationDidStop(const ui::Animation& animation, bool finished) override;
    using ui::AnimationDelegate::animationDidStop;

protected:
    explicit CircleDrawerView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    core::Point centerOfCircle(uint32_t index) const;

    uint32_t m_totalCircles = 0;
    uint32_t m_completedCircles = 0;
    bool m_problemInProgress = false;
    std::shared_ptr<ui::ShapeLayer> m_circleLayer;
};

} // namespace zm
