#pragma once

#include "model/Operator.h"
#include "platform/ui/View.h"
#include "playground/views/GenericView.h"

namespace zm {

class PlaygroundView;

// The fraction bar: a bar filled with its line colour, which the quotient view sizes to its own width.
// A new colour shows the next time the bar is drawn, which the quotient asks for when its size changes.
class OpViewDivide : public ui::View, public GenericView {
public:
    // A bar 50 by 5 at the origin, in the host view's expression colour and spacing unit.
    static std::shared_ptr<OpViewDivide> create(std::shared_ptr<OpDivide> op,
                                                const PlaygroundView& playgroundView);

    const std::shared_ptr<OpDivide>& op() const { return m_op; }
    const core::Color& lineColor() const { return m_lineColor; }
    void setLineColor(const core::Color& color) { m_lineColor = color; }
    float space() const { return m_space; }
    void setSpace(float space) { m_space = space; }

    // Change one dimension of the frame, keeping the origin and the other dimension.
    void setWidth(float width);
    void setHeight(float height);

    void setColor(const core::Color& color) override { m_lineColor = color; }
    ModelObjectPtr getObj() const override { return m_op; }
    // Takes a fraction bar; anything else leaves the view without one.
    void setObj(ModelObjectPtr obj) override;

protected:
    OpViewDivide();

    void draw(gfx::Canvas& canvas) override;
    ui::View& platformView() override { return *this; }

private:
    std::shared_ptr<OpDivide> m_op;
    core::Color m_lineColor;
    float m_space = 0;
};

} // namespace zm
