#pragma once

#include "model/ExprEquation.h"
#include "playground/views/ExprViewBinary.h"

namespace zm {

// The view of an equation, laid out in one row around its equals sign: a tap on the sign asks for the
// same operation on both sides.
class ExprViewEquation : public ExprViewBinary {
public:
    static std::shared_ptr<ExprViewEquation> create(std::shared_ptr<ExprEquation> equation,
                                                    PlaygroundView& playgroundView, Baggage* bag);

    // Laid out for a playing area of `playSize`: centred on its equals sign while both sides fit
    // in half the area's width, else centred as a whole.
    void moveTo(core::Point point, Anchor anchor, core::Size playSize);
    // For the device's screen.
    void moveTo(core::Point point, Anchor anchor) override;

    // The operators inside the sides, else the equals sign.
    std::shared_ptr<IGenericView> getOpViewFromPoint(core::Point point) const override;
    // A tap inside a side asks what that side asks; a tap on the equals sign asks for the both-sides
    // step of this equation.
    std::shared_ptr<Step> stepFromTap(core::Point point) const override;

protected:
    ExprViewEquation() = default;
};

} // namespace zm
