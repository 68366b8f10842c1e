#pragma once

#include "model/ExprQuotient.h"
#include "playground/views/ExprViewBinary.h"

namespace zm {

class OpViewDivide;

// The view of a fraction: the numerator over the denominator, centred on a bar as wide as the wider
// of them.
class ExprViewQuotient : public ExprViewBinary {
public:
    static std::shared_ptr<ExprViewQuotient> create(std::shared_ptr<ExprQuotient> quotient,
                                                    PlaygroundView& playgroundView, Baggage* bag);

    // Laid out from the middle of the bar's left end.
    void moveTo(core::Point point, Anchor anchor) override;
    float getWidth() const override;
    float getPureWidth() const override;
    // Both parts and twice the spacing unit for the bar.
    float getHeight() const override;
    core::Point getTopLeft() const override;
    // A term inside, else the whole fraction when the point lies on the bar or within a spacing unit
    // above or below it.
    std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const override;
    // Sizes the bar to the new width and thickness.
    void setFontSize(float size, bool animated) override;

    // The fraction bar, or null for an operator view of another kind.
    std::shared_ptr<OpViewDivide> bar() const;

protected:
    ExprViewQuotient() = default;

private:
    void fitBar();
};

} // namespace zm
