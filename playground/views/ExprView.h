#pragma once

#include "model/Expr.h"
#include "playground/views/IGenericView.h"

#include <memory>
#include <string>
#include <vector>

namespace zm {

class Baggage;
class GenericLabel;
class PlaygroundView;
class Step;

// The view of one node of the expression tree. It is no platform view: it owns the labels and
// operator views of its node (and the views of its children), which the playground puts on its host
// view, and answers the anchor interface by laying out, measuring and styling them. On top of that it
// answers what the playground asks: which term or operator lies under a point, which step a tap asks
// for, which term a dragged term is dropped on, which view shows a model object; and it fits its font
// size to a rectangle.
//
// Every operation has a base answer that subclasses of other subsystems rely on: no size, no views,
// nothing found. A view tree is rebuilt from the model after every move (`Expr::
// makeExprViewFromPlaygroundView`), so a view never outlives the tree it was made for by long.
//
// Main thread only; the automatic player reads positions and sizes from its own queue between moves.
class ExprView : public IGenericView, public std::enable_shared_from_this<ExprView> {
public:
    ~ExprView() override = default;
    ExprView(const ExprView&) = delete;
    ExprView& operator=(const ExprView&) = delete;

    // The anchor interface: the base places nothing and measures nothing; colour, opacity, scale and
    // highlights pass on to the generic subviews.
    void moveTo(core::Point, Anchor) override {}
    void moveToVertical(float y, Anchor anchor) override;
    core::Point getPointAtPosition(Anchor anchor) const override;
    float getWidth() const override { return 0; }
    float getHeight() const override { return 0; }
    float getPureWidth() const override { return getWidth(); }
    core::Rect getHitbox() const override { return core::Rect::null(); }
    core::Point getTopLeft() const override { return {}; }
    bool containsPoint(core::Point point) const override;
    bool containsView(const IGenericView* view) const override;
    void clear() override;
    ViewList getViewList() const override { return {}; }
    GenericViewList getGenericSubviews() const override { return {}; }
    GenericViewList getBaseNodeGenericViews() const override { return {}; }
    void setObj(ModelObjectPtr) override {}
    ModelObjectPtr getObj() const override { return nullptr; }
    void alterAlpha(float alpha) override;
    void setAlgebraTransformSize(float scale) override;
    void setColor(const core::Color& color) override;
    void highlight() override;
    void matchHoverHighlight() override;
    // Back to white.
    void dehighlight() override;
    // The first generic subview's answer; no for a view without any.
    bool isHighlighted() const override;
    void movingHighlight() override;
    // Sets the base font size, then the same size on every generic subview.
    void setFontSize(float size, bool animated) override;

    // The node shown.
    virtual void setExpr(ExprPtr) {}
    virtual ExprPtr getExpr() const { return nullptr; }

    // The view of this subtree that shows a node or an operator (by identity), or null.
    virtual std::shared_ptr<ExprView> viewWithExpr(const Expr* expr) const;
    virtual std::shared_ptr<IGenericView> viewWithOp(const Operator* op) const;
    // An operator's view, else a node's.
    virtual std::shared_ptr<IGenericView> viewWithObj(const ModelObject* obj) const;
    // The deepest view of this subtree other than `dragged` whose hit box meets the dragged view's and
    // whose node is an exact match of the dragged node: where a dragged term can be dropped.
    virtual std::shared_ptr<ExprView> getOverlappingExactMatchExprView(const ExprView& dragged) const;
    // The operator view, and the deepest term view, under a point.
    virtual std::shared_ptr<IGenericView> getOpViewFromPoint(core::Point point) const;
    virtual std::shared_ptr<ExprView> getExprViewFromPoint(core::Point point) const;
    // The labels of this subtree that show the variable `var`.
    virtual std::vector<std::shared_ptr<GenericLabel>> getVarLabelsForVar(const std::string& var) const;
    // The step a tap at the point asks for, or null.
    virtual std::shared_ptr<Step> stepFromTap(core::Point point) const;
    // Whether the point lies on a term or an operator of this subtree (a pan that starts there drags
    // the expression's pieces, not the playground).
    virtual bool draggingOnExpr(core::Point) const { return false; }

    // The font size the view is shown at, and the spacing unit that goes with it: half the width of a
    // space in "Georgia" at that size. Setting the size it already has changes nothing.
    float baseFontSize() const { return m_baseFontSize; }
    virtual void setBaseFontSize(float size);
    float space() const { return m_space; }
    // Composite views pass the spacing unit on to their children.
    virtual void setSpace(float space) { m_space = space; }

    // Fits the font size to a rectangle: as large as the node's text allows, capped per device (see
    // the source for the multipliers); nothing is sent when the size would not change.
    void fitIntoRect(const core::Rect& rect, bool animated);
    float calcFontSizeWithMultiplier(float heightMultiplier, const core::Rect& rect) const;
    // The font size at which the node's approximate text, set in "Georgia", would take the given
    // shares of the rectangle's height and width, interpolated between two measurements.
    float calcFontSizeWithHeightMultiplier(float heightMultiplier, float widthMultiplier,
                                           const core::Rect& rect) const;
    // The fitted size, set at once and uncapped, even when it does not change.
    void sizeIntoRectWithMinimalSpacing(const core::Rect& rect);
    // Whether something can be crossed out: the node's text has a fraction bar.
    bool eligibleForEliminate() const;
    // The hit box, grown while the view is shown enlarged.
    core::Rect getHitboxWithTransform() const;

    // A text for debugging and test messages.
    virtual std::string description() const;

protected:
    ExprView() = default;

    // This view, as its owners hold it.
    template <class T = ExprView> std::shared_ptr<T> sharedAs() const {
        return std::static_pointer_cast<T>(std::const_pointer_cast<ExprView>(shared_from_this()));
    }

private:
    float m_space = 0;
    float m_baseFontSize = 0;
};

using ExprViewPtr = std::shared_ptr<ExprView>;

// The views of a tree, made by the nodes themselves (each node class makes its own kind of view) with
// the look of `playgroundView`. With a record of the move, surviving terms and operators take over
// their old views and new ones start where the record says.
ExprViewPtr makeExprView(Expr& expr, PlaygroundView& playgroundView, Baggage* bag);
// The view of an operator: its old view, re-pointed to it, when the record holds one; else a new view,
// placed where the record says the operator starts (the top-left corner of the host without a record).
std::shared_ptr<IGenericView> makeOpView(Operator& op, PlaygroundView& playgroundView, Baggage* bag);

// The platform view of an anchor-interface object that is one (operator views, labels), else null.
std::shared_ptr<ui::View> asPlatformView(const std::shared_ptr<IGenericView>& view);

} // namespace zm
