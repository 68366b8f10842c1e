#pragma once

#include "platform/ui/View.h"

namespace ui {

// A spinning wheel of spokes that says something is going on. It spins between startAnimating and
// stopAnimating and, unless told otherwise, is hidden while stopped.
class ActivityIndicatorView : public View {
public:
    enum class Style {
        WhiteLarge, // 37 points, white
        White,      // 20 points, white
        Gray,       // 20 points, grey
    };

    // Sized for its style, at the origin.
    static std::shared_ptr<ActivityIndicatorView> create(Style style = Style::White);

    Style style() const { return m_style; }
    // Takes the style's size and colour.
    void setStyle(Style style);
    const core::Color& color() const { return m_color; }
    void setColor(const core::Color& color);

    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }

protected:
    explicit ActivityIndicatorView(Style style);

    void draw(gfx::Canvas& canvas) override;
    // A view put back into a window spins again (leaving its superview stopped the spin).
    void didMoveToWindow() override;

private:
    void spin();

    Style m_style;
    core::Color m_color = core::Color::white();
    bool m_hidesWhenStopped = true;
    bool m_animating = false;
};

} // namespace ui
