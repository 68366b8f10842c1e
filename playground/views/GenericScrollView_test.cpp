#include "playground/testing/PlaygroundStage.h"
#include "playground/views/GenericScrollView.h"

#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

class RecordingOwner : public GenericScrollViewOwner {
public:
    void touchingInScrollView(core::Point point) override { touching.push_back(point); }
    void tappedInScrollView(core::Point point) override { tapped.push_back(point); }
    void scrolled() override { ++scrolls; }

    std::vector<core::Point> touching;
    std::vector<core::Point> tapped;
    int scrolls = 0;
};

TEST(GenericScrollView, ReportsEveryTouchToItsOwnerAtOnce) {
    PlaygroundStage stage;
    auto owner = std::make_shared<RecordingOwner>();
    auto strip = GenericScrollView::create({100, 100, 300, 80});
    strip->setPlaygroundFact(owner);
    strip->setContentSize({300, 80});
    stage.playgroundView->addSubview(strip);
    EXPECT_FALSE(strip->delaysContentTouches());

    stage.host.touchDown({150, 120});
    ASSERT_EQ(owner->touching.size(), 1u);
    EXPECT_EQ(owner->touching.front(), (core::Point{50, 20}));
    stage.host.touchUp({150, 120});
    ASSERT_EQ(owner->tapped.size(), 1u);
    EXPECT_EQ(owner->tapped.front(), (core::Point{50, 20}));

    strip->setContentOffset({10, 0});
    EXPECT_EQ(owner->scrolls, 1);
}

TEST(GenericScrollView, TakesNoPartInExpressionLayout) {
    PlaygroundStage stage;
    auto strip = GenericScrollView::create({100, 100, 300, 80});
    strip->moveTo({0, 0}, AnchorTopLeft);
    EXPECT_EQ(strip->frame(), (core::Rect{100, 100, 300, 80}));
    EXPECT_EQ(strip->getTopLeft(), (core::Point{0, 0}));
    EXPECT_FALSE(strip->containsPoint({150, 120}));
    EXPECT_FALSE(strip->containsView(strip.get()));
    ASSERT_EQ(strip->getViewList().size(), 1u);
    // Without an owner, touches go nowhere.
    stage.playgroundView->addSubview(strip);
    stage.host.touchDown({150, 120});
    stage.host.touchUp({150, 120});
}

} // namespace
} // namespace zm
