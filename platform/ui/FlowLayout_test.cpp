#include "platform/ui/FlowLayout.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(FlowLayout, AHorizontalCarouselPlacesOneCardPerColumnCentredAcross) {
    FlowLayout flow{.scrollDirection = ScrollDirection::Horizontal,
                    .itemSize = {200, 150},
                    .minimumLineSpacing = 20,
                    .sectionInset = {0, 140, 0, 140}};
    const FlowLayout::Result layout = flow.layOut({3}, {480, 250});
    EXPECT_EQ(layout.frame({0, 0}), (core::Rect{140, 50, 200, 150}));
    EXPECT_EQ(layout.frame({0, 1}), (core::Rect{360, 50, 200, 150}));
    EXPECT_EQ(layout.frame({0, 2}), (core::Rect{580, 50, 200, 150}));
    EXPECT_EQ(layout.contentSize, (core::Size{920, 250}));
    EXPECT_FALSE(layout.frame({0, 3}));
    EXPECT_FALSE(layout.frame({1, 0}));
}

TEST(FlowLayout, LinesSpreadTheirItemsAndSectionsFollowOneAnother) {
    FlowLayout flow{.itemSize = {100, 40},
                    .minimumLineSpacing = 5,
                    .minimumInteritemSpacing = 10,
                    .sectionInset = {10, 10, 10, 10}};
    // 300 wide: 280 across, two items of 100 fit (with at least 10 between), spread to both edges.
    const FlowLayout::Result layout = flow.layOut({3, 0, 1}, {300, 500});
    EXPECT_EQ(layout.frame({0, 0}), (core::Rect{10, 10, 100, 40}));
    EXPECT_EQ(layout.frame({0, 1}), (core::Rect{190, 10, 100, 40}));
    EXPECT_EQ(layout.frame({0, 2}), (core::Rect{100, 55, 100, 40})); // alone: centred
    // The empty section takes its insets; the third starts after them.
    EXPECT_EQ(layout.frame({2, 0}), (core::Rect{100, 135, 100, 40}));
    EXPECT_EQ(layout.contentSize, (core::Size{300, 185}));
}

TEST(FlowLayout, ItemsMayHaveSizesOfTheirOwn) {
    FlowLayout flow;
    flow.scrollDirection = ScrollDirection::Horizontal;
    flow.minimumLineSpacing = 0;
    const FlowLayout::Result layout =
        flow.layOut({2}, {320, 275}, [](const IndexPath& path) -> std::optional<core::Size> {
            if (path.item == 1)
                return core::Size{320, 275};
            return std::nullopt;
        });
    EXPECT_EQ(layout.frame({0, 0}), (core::Rect{0, 112.5f, 50, 50}));
    EXPECT_EQ(layout.frame({0, 1}), (core::Rect{50, 0, 320, 275}));
}

} // namespace
} // namespace ui
