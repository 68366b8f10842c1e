#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace zm {

// Twelve soft white rays that fade from the centre outwards, turning slowly and endlessly. The
// completion of a problem lays two of them, turning opposite ways, behind the glow of the solved
// expression. Transparent apart from its rays.
//
// The rays are drawn once; the spin only animates the view's transform. Main thread only.
class SunburstView : public ui::View {
public:
    static constexpr float kDefaultSpeed = 2.0f;
    static constexpr float kDefaultStartAlpha = 0.075f;
    static constexpr int kRayCount = 12;
    // The rays are faint and soft-edged, so half a pixel per point looks the same: the view holding a
    // screen's sunbursts draws them at this resolution, all into one picture, so that a turning
    // sunburst as high as the screen costs a quarter of the pixels or less each frame and the picture
    // is enlarged onto the screen once, however many sunbursts it holds.
    static constexpr float kRasterizationScale = 0.5f;

    // A square as high as `frame`, centred horizontally on a rectangle of the frame's width that starts
    // at x 0 (the frame's own x is not used): the sunburst of a screen is made with the screen's bounds.
    static std::shared_ptr<SunburstView> create(const core::Rect& frame);

    // The seconds of one full turn (a larger value turns slower).
    float speed() const { return m_speed; }
    void setSpeed(float speed) { m_speed = speed; }
    // Clockwise on screen unless reversed.
    bool reverseDirection() const { return m_reverseDirection; }
    void setReverseDirection(bool reverse) { m_reverseDirection = reverse; }
    // The rays' opacity at the centre.
    float startAlpha() const { return m_startAlpha; }
    void setStartAlpha(float alpha) { m_startAlpha = alpha; }

    // Starts turning a quarter turn every speed / 4 seconds, again and again, for as long as the view
    // lives. A quarter turn is three periods of the rays, so the repetitions join without a jump.
    // Properties set afterwards do not change a spin under way.
    void spin();

protected:
    explicit SunburstView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    float m_speed = kDefaultSpeed;
    bool m_reverseDirection = false;
    float m_startAlpha = kDefaultStartAlpha;
};

} // namespace zm
