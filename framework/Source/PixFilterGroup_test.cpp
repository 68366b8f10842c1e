#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilterGroup.h"
#include "framework/Source/PixTestSupport.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixRecordingTarget;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

// A group of two brightness filters in a row, each adding `step`.
std::shared_ptr<PixFilterGroup> twoBrighteners(float step) {
    auto group = PixFilterGroup::create();
    auto first = PixBrightnessFilter::create();
    auto second = PixBrightnessFilter::create();
    first->setBrightness(step);
    second->setBrightness(step);
    first->addTarget(second);
    group->addFilter(first);
    group->addFilter(second);
    group->setInitialFilters({first});
    group->setTerminalFilter(second);
    return group;
}

TEST(PixFilterGroup, StandsInAChainAsOneFilterWhoseTargetsAreItsTerminalFilters) {
    auto source = PixTestImageSource::filled(2, 2, {50, 50, 50, 255});
    auto group = twoBrighteners(0.2f);
    auto target = std::make_shared<PixRecordingTarget>();
    source->addTarget(group);
    group->addTarget(target);

    source->push();

    // 50 + 2 x 0.2 x 255, read back from the terminal filter.
    EXPECT_TRUE(pixelsNear(group->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(4, {152, 152, 152, 255})));
    EXPECT_TRUE(group->targets().empty());
    EXPECT_EQ(group->terminalFilter()->targets(), (std::vector<std::shared_ptr<PixInput>>{target}));
    group->removeTarget(target);
    EXPECT_TRUE(group->terminalFilter()->targets().empty());
}

TEST(PixFilterGroup, TellsItsSourceOnceWhenBothInitialFiltersAreDone) {
    auto source = PixTestImageSource::filled(2, 2, {50, 50, 50, 255});
    auto group = PixFilterGroup::create();
    auto left = PixBrightnessFilter::create();
    auto right = PixBrightnessFilter::create();
    for (const auto& filter : {left, right})
        group->addFilter(filter);
    group->setInitialFilters({left, right});
    group->setTerminalFilter(right);
    source->addTarget(group);

    group->conserveMemoryForNextFrame();
    source->push();

    int releases = 0;
    runSynchronouslyOnContextQueue([&] { releases = source->releasesHeard; });
    EXPECT_EQ(releases, 1);
}

TEST(PixFilterGroup, AForcedSizeReachesMembersThatAreNotInitial) {
    auto group = twoBrighteners(0);
    auto outsider = PixBrightnessFilter::create(); // a member fed from outside the group
    group->addFilter(outsider);
    auto source = PixTestImageSource::filled(2, 2, {50, 50, 50, 255});
    source->addTarget(outsider);

    group->forceProcessingAtSize({4, 3});
    source->push();

    const gl::RgbaImage image = outsider->newImageFromCurrentlyProcessedOutput();
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 3);
}

TEST(PixFilterGroup, AGroupWithoutInitialFiltersTakesAnyInputAndIgnoresFrames) {
    auto group = PixFilterGroup::create();
    auto source = PixTestImageSource::filled(2, 2, {50, 50, 50, 255});
    EXPECT_TRUE(group->wantsMonochromeInput());
    source->addTarget(group);
    source->push();
    runSynchronouslyOnContextQueue([] {});
    EXPECT_TRUE(group->newImageFromCurrentlyProcessedOutput().empty());
}

} // namespace
} // namespace zm
