#pragma once

#include "model/Anchor.h"
#include "model/ModelObject.h"
#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

#include <memory>
#include <vector>

namespace ui {
class View;
}

namespace zm {

class IGenericView;

using ViewList = std::vector<std::shared_ptr<ui::View>>;
using GenericViewList = std::vector<std::shared_ptr<IGenericView>>;

// The one interface through which everything shown in a playground, from a whole equation down to one
// digit, is placed, measured, styled, hit-tested and taken off the screen. Expression views answer it
// by laying out the labels they own; platform views answer it through `GenericView`.
//
// Positions are points in the host view's coordinates together with the anchor of the object's
// rectangle that is to lie on them.
class IGenericView {
public:
    virtual ~IGenericView() = default;

    // Places the object so that its point at `anchor` lies on `point`; a value outside the nine anchors
    // leaves it where it is.
    virtual void moveTo(core::Point point, Anchor anchor) = 0;
    // Moves vertically only: the point at `anchor` keeps its x and goes to `y`.
    virtual void moveToVertical(float y, Anchor anchor) = 0;
    // The point of the hit box at `anchor`.
    virtual core::Point getPointAtPosition(Anchor anchor) const = 0;
    virtual float getWidth() const = 0;
    virtual float getHeight() const = 0;
    // The width without a temporary enlargement (a term under the finger).
    virtual float getPureWidth() const = 0;
    // The rectangle for hit tests and anchor points.
    virtual core::Rect getHitbox() const = 0;
    virtual core::Point getTopLeft() const = 0;
    virtual bool containsPoint(core::Point point) const = 0;
    // Whether `view` is this object or a part of it.
    virtual bool containsView(const IGenericView* view) const = 0;
    // Takes every platform view of the object off the screen.
    virtual void clear() = 0;
    // Every platform view the object puts on screen.
    virtual ViewList getViewList() const = 0;
    // The direct parts to which colour, opacity, scale and font size pass on.
    virtual GenericViewList getGenericSubviews() const = 0;
    // The views that stand for model objects (terms and operators).
    virtual GenericViewList getBaseNodeGenericViews() const = 0;
    // The model object shown (a node or an operator), or null.
    virtual void setObj(ModelObjectPtr obj) = 0;
    virtual ModelObjectPtr getObj() const = 0;
    virtual void alterAlpha(float alpha) = 0;
    // Shows the object scaled by `scale`.
    virtual void setAlgebraTransformSize(float scale) = 0;
    virtual bool isHighlighted() const = 0;
    virtual void setColor(const core::Color& color) = 0;
    virtual void highlight() = 0;
    // While a dragged term hovers over a matching one.
    virtual void matchHoverHighlight() = 0;
    virtual void dehighlight() = 0;
    // While the object is dragged.
    virtual void movingHighlight() = 0;
    virtual void setFontSize(float size, bool animated) = 0;
};

// The highlight of views: the colour of a piece being pointed at.
inline constexpr core::Color kHighlightColor = core::Color::rgb255(25, 161, 230);

} // namespace zm
