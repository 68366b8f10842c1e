#include "playground/views/AnchorGeometry.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

std::shared_ptr<GenericLabel> labelAt(const core::Rect& frame) {
    auto label = GenericLabel::create("x", fontNamed(kGeorgia, 20));
    label->setFrame(frame);
    return label;
}

struct AnchorCase {
    Anchor anchor;
    core::Point point; // of the frame (10, 20, 30, 40)
};

constexpr AnchorCase kAnchorCases[] = {
    {AnchorTopLeft, {10, 20}},      {AnchorTopRight, {40, 20}},   {AnchorTopCenter, {25, 20}},
    {AnchorBottomCenter, {25, 60}}, {AnchorBottomLeft, {10, 60}}, {AnchorBottomRight, {40, 60}},
    {AnchorCenter, {25, 40}},       {AnchorMiddleLeft, {10, 40}}, {AnchorMiddleRight, {40, 40}},
};

TEST(GenericView, EveryAnchorNamesItsPointAndPlacesTheViewThere) {
    const core::Rect frame{10, 20, 30, 40};
    for (const AnchorCase& c : kAnchorCases) {
        SCOPED_TRACE(c.anchor);
        EXPECT_EQ(pointAtAnchorInRect(frame, c.anchor), c.point);
        auto label = labelAt(frame);
        EXPECT_EQ(label->getPointAtPosition(c.anchor), c.point);
        // Placed from elsewhere by that point, the view lands on the same frame.
        label->setFrame({300, 300, 30, 40});
        label->moveTo(c.point, c.anchor);
        EXPECT_EQ(label->frame(), frame);
    }
}

TEST(GenericView, MiddleRightPlacementReducesThroughMiddleLeft) {
    auto label = labelAt({0, 0, 30, 40});
    label->moveTo({100, 50}, AnchorMiddleRight);
    EXPECT_EQ(label->frame(), (core::Rect{70, 30, 30, 40}));
}

TEST(GenericView, CentrePlacementKeepsAScaledViewCentred) {
    auto label = labelAt({0, 0, 30, 40});
    label->setAlgebraTransformSize(2);
    label->moveTo({100, 100}, AnchorCenter);
    EXPECT_EQ(label->center(), (core::Point{100, 100}));
    EXPECT_EQ(label->frame(), (core::Rect{70, 60, 60, 80}));
}

TEST(GenericView, AnAnchorOutsideTheNineLeavesTheViewWhereItWas) {
    auto label = labelAt({10, 20, 30, 40});
    label->moveTo({500, 500}, static_cast<Anchor>(9));
    label->moveTo({500, 500}, static_cast<Anchor>(-1));
    label->moveToVertical(500, static_cast<Anchor>(42));
    EXPECT_EQ(label->frame(), (core::Rect{10, 20, 30, 40}));
}

TEST(GenericView, VerticalMoveKeepsTheAnchorsX) {
    auto label = labelAt({10, 20, 30, 40});
    label->moveToVertical(100, AnchorBottomRight);
    EXPECT_EQ(label->frame(), (core::Rect{10, 60, 30, 40}));
}

// A platform view with nothing but the anchor interface.
class PlainView : public ui::View, public GenericView {
public:
    static std::shared_ptr<PlainView> create() { return std::shared_ptr<PlainView>(new PlainView); }

protected:
    PlainView()
        : ui::View({0, 0, 10, 10}) {}
    ui::View& platformView() override { return *this; }
};

TEST(GenericView, APlainViewStandsForNothingAndClearsNothing) {
    auto parent = ui::View::create({0, 0, 100, 100});
    auto plain = PlainView::create();
    parent->addSubview(plain);
    EXPECT_TRUE(plain->getViewList().empty());
    EXPECT_TRUE(plain->getBaseNodeGenericViews().empty());
    EXPECT_EQ(plain->getObj(), nullptr);
    plain->clear();
    EXPECT_EQ(plain->superview(), parent.get());
    // Scale and opacity act on the view itself; colour and highlights reach nothing.
    plain->setAlgebraTransformSize(3);
    plain->alterAlpha(0.5f);
    plain->highlight();
    EXPECT_EQ(plain->transform(), core::AffineTransform::makeScale(3, 3));
    EXPECT_FLOAT_EQ(plain->alpha(), 0.5f);
    EXPECT_FALSE(plain->isHighlighted());
    EXPECT_TRUE(plain->containsView(plain.get()));
}

} // namespace
} // namespace zm
