#pragma once

#include "playground/views/ExprViewList.h"

#include <memory>

namespace zm {

class StepReplace;

// The row of like factors in the exponents playground (x · x · x): a product whose pieces slide
// sideways between two walls. The finger gives the row an offset; pieces that would pass a wall pile
// up against it, the end factor at that wall swells while it is squeezed, and a factor pushed into the
// end factor is merged into it by raising the end factor's exponent (x² · x becomes x³). Each factor's
// font grows with its exponent, so merged powers look heavier.
//
// The row is laid out from the middle of its left edge, like any list; every piece goes through
// `displacedXPos`, which is what stops it at the walls. Main thread only.
class ExprViewSquishProduct : public ExprViewProduct {
public:
    static std::shared_ptr<ExprViewSquishProduct> create(std::shared_ptr<ExprProduct> product,
                                                         PlaygroundView& playgroundView, Baggage* bag);

    // How far the finger has moved the row sideways: negative leans left, positive right.
    float offset() const { return m_offset; }
    void setOffset(float offset) { m_offset = offset; }
    float leftWallXPos() const { return m_leftWallXPos; }
    float rightWallXPos() const { return m_rightWallXPos; }
    void setLeftWallXPos(float leftWallXPos, float rightWallXPos);
    // The last centre the row was placed on; a push lays the row out again around it.
    core::Point centerPivot() const { return m_centerPivot; }
    void setCenterPivot(core::Point point) { m_centerPivot = point; }
    // How far the end factor is pushed into its wall, in shares of twice its width; 0 when it is not.
    float squishPerc() const { return m_squishPerc; }

    // The x at which a piece laid out at `x` stands: moved by the offset, stopped by the walls.
    float displacedXPos(float x) const;
    // Moves the row by `dx`, at most 15 points either way per call, around its centre.
    void addToOffset(float dx);
    // The offset that puts the row flush against the wall it leans to.
    void alignToWall();
    bool leftAligned() const { return m_offset <= 0; }
    // Lets a squeezed row spring back off its wall, centred on `point`, over half a second.
    void pushOffWall(core::Point point);
    // The merge the row asks for now: two factors at the end it leans to, lying in the end factor's
    // box, become one power when the factor pushed in has exponent 1. Null when there is none.
    std::shared_ptr<StepReplace> overlapCheck() const;
    // Whether the row is two powers that can merge no further (x³ · x²).
    bool canFallDown() const;
    // The sum of the factors' exponents.
    int exponentTotal() const;
    // Every piece at the same size, animated, without the weighting by exponent.
    void setFontSizeForced(float size);
    // Factor 0, operator 0, factor 1, ..., the last factor.
    GenericViewList orderedViewList() const;
    // The exponent of the first and of the last factor.
    int firstExponent() const;
    int lastExponent() const;

    // Every anchor comes down to the middle of the left edge; centring also sets `centerPivot`.
    void moveTo(core::Point point, Anchor anchor) override;
    // The whole row at one scale: no factor stays swollen.
    void setAlgebraTransformSize(float scale) override;
    // The operators at `size`; a factor of exponent e at size × (1 + (e − 1) / (total − 1)), so a factor
    // holding every exponent of the row is twice as large as one of exponent 1.
    void setFontSize(float size, bool animated) override;

private:
    ExprViewSquishProduct() = default;

    void layOutFromMiddleLeft(float x, float y);
    // How far the row may be pushed beyond the point where it is flush against a wall.
    float maximumOffset() const;
    int exponentOf(const ExprView& factor) const;

    float m_offset = 0;
    float m_leftWallXPos = 0;
    float m_rightWallXPos = 0;
    core::Point m_centerPivot;
    float m_squishPerc = 0;
    // The factor shown swollen, if any; one of the row's own factor views.
    ExprView* m_swollen = nullptr;
};

} // namespace zm
