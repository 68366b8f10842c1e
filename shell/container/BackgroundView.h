#pragma once

#include "platform/ui/View.h"

#include <future>
#include <memory>

namespace zm {

// The surface behind every screen: a picture stretched over the bounds with its hue turned by an
// angle. The container's interface file puts it at the back of the container's view.
//
// Main thread only.
class BackgroundView : public ui::View {
public:
    static std::shared_ptr<BackgroundView> create(const core::Rect& frame = {});

    const std::shared_ptr<const gfx::Image>& image() const;
    void setImage(std::shared_ptr<const gfx::Image> image);
    // A picture still being read elsewhere: the view waits for it when it first needs it, so that
    // whatever comes before its first drawing goes on meanwhile.
    void setImage(std::shared_future<std::shared_ptr<const gfx::Image>> image);

    // Shows the picture turned by `angle` radians; the surface is drawn again even for the same angle.
    void displayHueAngle(double angle);
    double hueAngle() const { return m_hueAngle; }

protected:
    explicit BackgroundView(const core::Rect& frame)
        : View(frame) {}

    void draw(gfx::Canvas& canvas) override;

private:
    mutable std::shared_future<std::shared_ptr<const gfx::Image>> m_reading;
    mutable std::shared_ptr<const gfx::Image> m_image;
    double m_hueAngle = 0;
    // The picture turned by m_turnedAngle: turning costs a pass over every pixel, so a redraw for the
    // same angle reuses it.
    std::shared_ptr<const gfx::Image> m_turned;
    double m_turnedAngle = 0;
};

} // namespace zm
