#pragma once

#include "platform/ui/View.h"

#include <memory>

namespace zm {

// Twelve soft white rays that fade from the centre outwards, turning slowly and endlessly. The
// completion of a problem lays two of them, turning opposite ways, behind the glow of the solved
// expression. Transparent apart from its rays.
//
// The spin only animates the view's transform. The fade looks the same at every angle, so each frame
// only the outline of the rays turns: it cuts the rays out of a picture of the fade that is put down
// square to the screen's pixels (one picture for every sunburst of a size), which costs a copy of
// the pixels the rays cover rather than a turned picture. Main thread only.
class SunburstView : public ui::View {
public:
    static constexpr float kDefaultSpeed = 2.0f;
    static constexpr float kDefaultStartAlpha = 0.075f;
    static constexpr int kRayCount = 12;

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
    float startAlpha() const;
    void setStartAlpha(float alpha);

    // Starts turning a quarter turn every speed / 4 seconds, again and again, for as long as the view
    // lives. A quarter turn is three periods of the rays, so the repetitions join without a jump.
    // Properties set afterwards do not change a spin under way.
    void spin();

protected:
    explicit SunburstView(const core::Rect& frame);

private:
    class RaysLayer;

    RaysLayer& rays() const;

    float m_speed = kDefaultSpeed;
    bool m_reverseDirection = false;
};

} // namespace zm
