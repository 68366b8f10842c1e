#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixOutput.h"
#include "framework/Source/PixTestSupport.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixRecordingTarget;
using pixtest::PixTestImageSource;
using Calls = std::vector<std::string>;

// What a target has seen, read on the processing queue so that queued frames have reached it.
Calls callsOf(const PixRecordingTarget& target) {
    Calls calls;
    runSynchronouslyOnContextQueue([&] { calls = target.calls; });
    return calls;
}

TEST(PixOutput, AddingHandsOverTheTextureAndTheDelegateOnce) {
    auto source = PixTestImageSource::filled(2, 2, {0, 0, 0, 255});
    auto target = std::make_shared<PixRecordingTarget>();

    source->addTarget(target);
    source->addTarget(target);

    EXPECT_EQ(callsOf(*target), (Calls{"setInputTexture(texture, 0)", "setTextureDelegate(source, 0)"}));
    EXPECT_EQ(target->textureDelegate, source.get());
    EXPECT_EQ(source->targets().size(), 1u);
}

TEST(PixOutput, RemovingDetachesInOrderThenEndsTheStream) {
    auto source = PixTestImageSource::filled(2, 2, {0, 0, 0, 255});
    auto target = std::make_shared<PixRecordingTarget>();
    source->addTarget(target);
    target->calls.clear();

    source->removeTarget(target);
    source->removeTarget(target); // no longer attached: nothing happens

    EXPECT_EQ(callsOf(*target),
              (Calls{"setInputTexture(0, 0)", "setInputSize(0x0, 0)", "setTextureDelegate(null, 0)",
                     "setInputRotation(0, 0)", "endProcessing()"}));
    EXPECT_EQ(target->textureDelegate, nullptr);
    EXPECT_TRUE(source->targets().empty());
}

TEST(PixOutput, RemovingAllDetachesEveryTargetWithoutEndingStreams) {
    auto source = PixTestImageSource::filled(2, 2, {0, 0, 0, 255});
    auto first = std::make_shared<PixRecordingTarget>();
    auto second = std::make_shared<PixRecordingTarget>();
    source->addTarget(first);
    source->addTarget(second);
    first->calls.clear();
    second->calls.clear();

    source->removeAllTargets();

    const Calls detached{"setInputTexture(0, 0)", "setInputSize(0x0, 0)", "setTextureDelegate(null, 0)",
                         "setInputRotation(0, 0)"};
    EXPECT_EQ(callsOf(*first), detached);
    EXPECT_EQ(callsOf(*second), detached);
    EXPECT_TRUE(source->targets().empty());
}

TEST(PixOutput, ASourceGoingAwayDetachesItselfFromItsTargets) {
    auto target = std::make_shared<PixRecordingTarget>();
    {
        auto source = PixTestImageSource::filled(2, 2, {0, 0, 0, 255});
        source->addTarget(target);
    }
    EXPECT_EQ(target->textureDelegate, nullptr);
}

TEST(PixOutput, AFilterTellsItsTargetsItsNewTextureThenTheSizeThenTheFrame) {
    auto source = PixTestImageSource::filled(3, 2, {0, 0, 0, 255});
    auto filter = PixFilter::create();
    auto target = std::make_shared<PixRecordingTarget>();
    source->addTarget(filter);
    filter->addTarget(target);
    target->calls.clear();

    source->push();

    // The first frame builds the filter's framebuffer, whose texture is new to the target.
    EXPECT_EQ(callsOf(*target), (Calls{"setInputTexture(texture, 0)", "setInputSize(3x2, 0)",
                                       "newFrameReadyAtTime(indefinite, 0)"}));
    target->calls.clear();
    source->push();
    EXPECT_EQ(callsOf(*target), (Calls{"setInputSize(3x2, 0)", "newFrameReadyAtTime(indefinite, 0)"}));
}

TEST(PixOutput, ConservingMemoryFreesTheOutputOnceEveryTargetIsDone) {
    auto source = PixTestImageSource::filled(2, 2, {10, 20, 30, 255});
    auto filter = PixFilter::create();
    auto first = std::make_shared<PixRecordingTarget>();
    auto second = std::make_shared<PixRecordingTarget>();
    source->addTarget(filter);
    filter->addTarget(first);
    filter->addTarget(second);

    first->calls.clear();
    filter->conserveMemoryForNextFrame();
    EXPECT_EQ(callsOf(*first), Calls{"conserveMemoryForNextFrame()"}); // the request travels on
    source->push();
    ASSERT_EQ(callsOf(*first).back(), "newFrameReadyAtTime(indefinite, 0)");
    ASSERT_NE(filter->textureForOutput(), 0u);

    runSynchronouslyOnContextQueue(
        [&] { first->textureDelegate->textureNoLongerNeededForTarget(first.get()); });
    EXPECT_NE(filter->textureForOutput(), 0u);
    runSynchronouslyOnContextQueue(
        [&] { second->textureDelegate->textureNoLongerNeededForTarget(second.get()); });
    EXPECT_EQ(filter->textureForOutput(), 0u);
}

TEST(PixOutput, AFilterForcedToASizeNeitherConservesNorPassesTheRequestOn) {
    auto filter = PixFilter::create();
    auto target = std::make_shared<PixRecordingTarget>();
    filter->addTarget(target);
    filter->forceProcessingAtSize({4, 4});
    target->calls.clear();

    filter->conserveMemoryForNextFrame();

    EXPECT_TRUE(callsOf(*target).empty());
}

} // namespace
} // namespace zm
