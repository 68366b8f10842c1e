#pragma once

#include "playground/views/IGenericView.h"

namespace zm {

// Places any platform view by an anchor: the frame's top-left corner at AnchorTopLeft, the centre at
// AnchorCenter (so a scaled view stays centred), every other anchor reduced to one of those for a view
// of `size`. Nothing happens for a value outside the nine.
void placeView(ui::View& view, core::Point point, Anchor anchor, core::Size size);
// The same with the size of the view's frame: the anchor interface for any platform view, for screens
// that place plain labels and buttons with anchors.
void moveViewTo(ui::View& view, core::Point point, Anchor anchor);
core::Point viewPointAtPosition(const ui::View& view, Anchor anchor);

// The anchor interface of platform views. A platform class takes part by deriving from it next to its
// platform base and answering `platformView()`; it gets frame-based layout and hit tests, opacity and
// scale on the view itself, and no model object, colour or font of its own, and overrides what it
// needs otherwise (a label sets its text colour and font).
class GenericView : public IGenericView {
public:
    void moveTo(core::Point point, Anchor anchor) override;
    void moveToVertical(float y, Anchor anchor) override;
    core::Point getPointAtPosition(Anchor anchor) const override;
    float getWidth() const override;
    float getHeight() const override;
    float getPureWidth() const override { return getWidth(); }
    core::Rect getHitbox() const override;
    core::Point getTopLeft() const override;
    bool containsPoint(core::Point point) const override;
    bool containsView(const IGenericView* view) const override { return view == this; }
    void clear() override;
    // A plain view lists nothing, so `clear` takes nothing off the screen.
    ViewList getViewList() const override { return {}; }
    GenericViewList getGenericSubviews() const override { return {}; }
    GenericViewList getBaseNodeGenericViews() const override { return {}; }
    void setObj(ModelObjectPtr) override {}
    ModelObjectPtr getObj() const override { return nullptr; }
    void alterAlpha(float alpha) override;
    void setAlgebraTransformSize(float scale) override;
    bool isHighlighted() const override { return false; }
    void setColor(const core::Color&) override {}
    // Both colour every generic subview in the highlight colour.
    void highlight() override;
    void matchHoverHighlight() override;
    void dehighlight() override {}
    void movingHighlight() override {}
    void setFontSize(float, bool) override {}

protected:
    // The platform view that is this object.
    virtual ui::View& platformView() = 0;
    const ui::View& platformView() const { return const_cast<GenericView*>(this)->platformView(); }

    // This object, held by the same owners as its platform view.
    std::shared_ptr<IGenericView> genericSelf() const;
    // The platform view, shared.
    std::shared_ptr<ui::View> sharedPlatformView() const;
};

} // namespace zm
