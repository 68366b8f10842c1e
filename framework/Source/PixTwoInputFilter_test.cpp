#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixThreeInputFilter.h"
#include "framework/Source/PixTwoInputFilter.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixRecordingTarget;
using pixtest::PixTestImageSource;
using pixtest::Rgba;
using Calls = std::vector<std::string>;

// Red from the first input, green from the second and blue from the third, where there is one.
const char* const kTwoChannelShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;
uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
void main()
{
    gl_FragColor = vec4(texture2D(inputImageTexture, textureCoordinate).r,
                        texture2D(inputImageTexture2, textureCoordinate2).g, 0.0, 1.0);
}
)";
const char* const kThreeChannelShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 textureCoordinate2;
varying highp vec2 textureCoordinate3;
uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;
uniform sampler2D inputImageTexture3;
void main()
{
    gl_FragColor = vec4(texture2D(inputImageTexture, textureCoordinate).r,
                        texture2D(inputImageTexture2, textureCoordinate2).g,
                        texture2D(inputImageTexture3, textureCoordinate3).b, 1.0);
}
)";

// The frames a target of the filter has been given, read once the queued pushes are done.
Calls framesOf(const PixRecordingTarget& target) {
    Calls frames;
    runSynchronouslyOnContextQueue([&] {
        for (const std::string& call : target.calls) {
            if (call.starts_with("newFrameReadyAtTime"))
                frames.push_back(call);
        }
    });
    return frames;
}

struct Push {
    int slot;
    PixFrameTime time;
};

TEST(PixTwoInputFilter, DrawsOnceBothInputsHaveAFrameOrAMovingOneMeetsAStillOne) {
    const PixFrameTime still = PixFrameTime::indefiniteTime();
    const auto at = [](double seconds) { return PixFrameTime::seconds(seconds); };
    struct Case {
        const char* name;
        bool disableSecondFrameCheck;
        std::vector<Push> pushes;
        Calls frames;
    };
    const Case cases[] = {
        {"two stills, once per pair",
         false,
         {{0, still}, {0, still}, {1, still}, {1, still}, {0, still}},
         {"newFrameReadyAtTime(indefinite, 0)", "newFrameReadyAtTime(indefinite, 0)"}},
        {"a moving slot 0 over a still slot 1",
         false,
         {{1, still}, {0, at(1)}, {0, at(2)}, {0, at(3)}},
         {"newFrameReadyAtTime(1 s, 0)", "newFrameReadyAtTime(2 s, 0)", "newFrameReadyAtTime(3 s, 0)"}},
        {"a moving slot 1 over a still slot 0 goes with its own time",
         false,
         {{0, still}, {1, at(4)}, {1, at(5)}},
         {"newFrameReadyAtTime(4 s, 0)", "newFrameReadyAtTime(5 s, 0)"}},
        {"two moving inputs wait for each other",
         false,
         {{0, at(1)}, {1, at(1)}, {0, at(2)}, {1, at(2)}},
         {"newFrameReadyAtTime(1 s, 0)", "newFrameReadyAtTime(2 s, 0)"}},
        {"no check of slot 1",
         true,
         {{0, still}, {0, still}, {0, still}},
         {"newFrameReadyAtTime(indefinite, 0)", "newFrameReadyAtTime(indefinite, 0)",
          "newFrameReadyAtTime(indefinite, 0)"}},
    };
    for (const Case& c : cases) {
        auto first = PixTestImageSource::filled(2, 2, {255, 0, 0, 255});
        auto second = PixTestImageSource::filled(2, 2, {0, 255, 0, 255});
        auto filter = PixTwoInputFilter::create(kTwoChannelShader);
        if (c.disableSecondFrameCheck)
            filter->disableSecondFrameCheck();
        auto target = std::make_shared<PixRecordingTarget>();
        filter->addTarget(target);
        first->addTarget(filter);
        second->addTarget(filter);
        for (const Push& push : c.pushes)
            (push.slot == 0 ? first : second)->push(push.time);
        EXPECT_EQ(framesOf(*target), c.frames) << c.name;
    }
}

TEST(PixTwoInputFilter, HandsOutSlotsInTheOrderSourcesAreAdded) {
    auto twoInputs = PixTwoInputFilter::create(kTwoChannelShader);
    auto threeInputs = PixThreeInputFilter::create(kThreeChannelShader);
    for (const std::shared_ptr<PixTwoInputFilter>& filter : {twoInputs, std::shared_ptr<PixTwoInputFilter>(threeInputs)}) {
        std::vector<std::shared_ptr<PixTestImageSource>> sources;
        std::vector<int> slots;
        for (int added = 0; added < 4; ++added) {
            slots.push_back(filter->nextAvailableTextureIndex());
            sources.push_back(PixTestImageSource::filled(1, 1, {0, 0, 0, 255}));
            sources.back()->addTarget(filter);
        }
        // The first source leaving hands slot 0 to the next one added.
        sources.front()->removeTarget(filter);
        slots.push_back(filter->nextAvailableTextureIndex());
        EXPECT_EQ(slots, filter == twoInputs ? (std::vector<int>{0, 1, 1, 1, 0}) : (std::vector<int>{0, 1, 2, 2, 0}));
    }
}

TEST(PixTwoInputFilter, SamplesEachInputWithItsOwnRotation) {
    // Two 2 x 1 pictures, bright on the left only; the second is mirrored left to right.
    auto first = PixTestImageSource::create(2, 1, {{255, 0, 0, 255}, {0, 0, 0, 255}});
    auto second = PixTestImageSource::create(2, 1, {{0, 255, 0, 255}, {0, 0, 0, 255}});
    auto filter = PixTwoInputFilter::create(kTwoChannelShader);
    first->addTarget(filter);
    second->addTarget(filter);
    runSynchronouslyOnContextQueue([&] { filter->setInputRotation(PixInputRotationFlipHorizontal, 1); });
    first->push();
    second->push();
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), {{255, 0, 0, 255}, {0, 255, 0, 255}}));
}

TEST(PixThreeInputFilter, DrawsAllThreeInputsOnceTheSetIsCompleteWithTheTimeThatCompletedIt) {
    auto first = PixTestImageSource::filled(2, 2, {200, 0, 0, 255});
    auto second = PixTestImageSource::filled(2, 2, {0, 150, 0, 255});
    auto third = PixTestImageSource::filled(2, 2, {0, 0, 100, 255});
    auto filter = PixThreeInputFilter::create(kThreeChannelShader);
    auto target = std::make_shared<PixRecordingTarget>();
    filter->addTarget(target);
    for (const auto& source : {first, second, third})
        source->addTarget(filter);

    first->push(PixFrameTime::seconds(1));
    second->push(PixFrameTime::seconds(2));
    EXPECT_TRUE(framesOf(*target).empty());
    third->push(PixFrameTime::seconds(3));

    EXPECT_EQ(framesOf(*target), (Calls{"newFrameReadyAtTime(3 s, 0)"}));
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(4, {200, 150, 100, 255})));
}

} // namespace
} // namespace zm
