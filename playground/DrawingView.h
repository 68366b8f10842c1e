#pragma once

#include "platform/core/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <vector>

namespace zm {

class ExprView;

// The transparent overlay on which a line is drawn through the terms of a fraction to cancel them. The
// host view keeps it over everything; the main playground tests the line against its term views.
// (-1, -1) as an end point means no line. It takes no touches, and hides itself while it shows nothing.
class DrawingView : public ui::View {
public:
    static std::shared_ptr<DrawingView> create(const core::Rect& frame);

    core::Point startPoint() const { return m_startPoint; }
    void setStartPoint(core::Point point);
    core::Point endPoint() const { return m_endPoint; }
    // Also draws the line anew.
    void setEndPoint(core::Point point);
    // The spacing unit of the expression: the line is half as wide.
    float space() const { return m_space; }
    void setSpace(float space) { m_space = space; }
    const core::Color& color() const { return m_color; }
    void setColor(const core::Color& color) { m_color = color; }

    // No line any more.
    virtual void clear();
    virtual bool isDisplayed() const;
    // The term views the line crosses, in the order it reaches them (a fraction bar or a product's
    // sign names no term).
    std::vector<std::shared_ptr<ExprView>> getHits(const ExprView& exprView) const;

protected:
    // On a phone the overlay covers the whole phone screen whatever frame is given.
    explicit DrawingView(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    void showLine();

    core::Point m_startPoint{-1, -1};
    core::Point m_endPoint{-1, -1};
    float m_space = 5;
    core::Color m_color = core::Color::rgb255(223, 32, 1);
};

} // namespace zm
