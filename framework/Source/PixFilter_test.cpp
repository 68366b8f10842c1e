#include "framework/Source/PixContext.h"
#include "framework/Source/PixFilter.h"
#include "framework/Source/PixTestSupport.h"

#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

const Rgba A{255, 0, 0, 255};
const Rgba B{0, 255, 0, 255};
const Rgba C{0, 0, 255, 255};
const Rgba D{255, 255, 255, 128};

// Adds its uniform "offset" to every colour channel; two filters of it share one program.
const char* const kOffsetFragmentShader = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;
uniform lowp float offset;
void main()
{
    lowp vec4 colour = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(colour.rgb + vec3(offset), colour.a);
}
)";

// A filter that receives its input turned by the rotation, as a camera source would send it.
std::shared_ptr<PixFilter> rotatingFilter(PixInputRotation rotation) {
    auto filter = PixFilter::create();
    runSynchronouslyOnContextQueue([&] { filter->setInputRotation(rotation, 0); });
    return filter;
}

gl::RgbaImage filterOnce(const std::shared_ptr<PixTestImageSource>& source,
                         const std::shared_ptr<PixFilter>& filter) {
    source->addTarget(filter);
    source->push();
    return filter->newImageFromCurrentlyProcessedOutput();
}

TEST(PixFilter, RendersEachOfTheEightRotations) {
    // The image, top row first: A B / C D.
    struct Case {
        PixInputRotation rotation;
        std::vector<Rgba> expected;
    };
    const Case cases[] = {
        {PixInputRotationNone, {A, B, C, D}},
        {PixInputRotationRotateLeft, {B, D, A, C}},
        {PixInputRotationRotateRight, {C, A, D, B}},
        {PixInputRotationFlipVertical, {C, D, A, B}},
        {PixInputRotationFlipHorizontal, {B, A, D, C}},
        {PixInputRotationRotateRightFlipVertical, {A, C, B, D}},   // mirrored across the main diagonal
        {PixInputRotationRotateRightFlipHorizontal, {D, B, C, A}}, // mirrored across the other diagonal
        {PixInputRotationRotate180, {D, C, B, A}},
    };
    auto source = PixTestImageSource::create(2, 2, {A, B, C, D});
    for (const Case& c : cases) {
        auto filter = rotatingFilter(c.rotation);
        EXPECT_TRUE(pixelsNear(filterOnce(source, filter), c.expected, 0)) << "rotation " << c.rotation;
        source->removeTarget(filter);
    }
}

TEST(PixFilter, AQuarterTurnExchangesWidthAndHeight) {
    // 3 x 2, top row first: A B C / D A B.
    auto source = PixTestImageSource::create(3, 2, {A, B, C, D, A, B});
    const gl::RgbaImage image = filterOnce(source, rotatingFilter(PixInputRotationRotateLeft));
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 3);
    EXPECT_TRUE(pixelsNear(image, {C, B, B, A, A, D}, 0));
}

TEST(PixFilter, RotatedPointsFollowTheTurn) {
    const core::Point point{0.25f, 0.75f};
    const core::Point expected[] = {{0.25f, 0.75f}, {0.25f, 0.25f}, {0.75f, 0.75f}, {0.25f, 0.25f},
                                    {0.75f, 0.75f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.25f}};
    for (int rotation = 0; rotation < 8; ++rotation)
        EXPECT_EQ(PixFilter::rotatedPoint(point, static_cast<PixInputRotation>(rotation)), expected[rotation])
            << "rotation " << rotation;
}

TEST(PixFilter, AForcedSizeReplacesTheInputSize) {
    auto source = PixTestImageSource::filled(2, 2, B);
    auto filter = PixFilter::create();
    filter->forceProcessingAtSize({5, 3});
    const gl::RgbaImage image = filterOnce(source, filter);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.pixel(4, 2), B);
}

TEST(PixFilter, AForcedSizeRespectingTheAspectRatioFitsTheInputInside) {
    auto source = PixTestImageSource::filled(10, 5, C);
    auto filter = PixFilter::create();
    filter->forceProcessingAtSizeRespectingAspectRatio({6, 6});
    const gl::RgbaImage image = filterOnce(source, filter);
    EXPECT_EQ(image.width, 6);
    EXPECT_EQ(image.height, 3);

    // Back to the input's own size.
    filter->forceProcessingAtSizeRespectingAspectRatio({});
    source->push();
    const gl::RgbaImage unforced = filter->newImageFromCurrentlyProcessedOutput();
    EXPECT_EQ(unforced.width, 10);
    EXPECT_EQ(unforced.height, 5);
}

TEST(PixFilter, NothingIsReadBackBeforeAFrameOfSomeSize) {
    auto filter = PixFilter::create();
    EXPECT_TRUE(filter->newImageFromCurrentlyProcessedOutput().empty());

    runSynchronouslyOnContextQueue([&] { filter->setInputSize({}, 0); });
    EXPECT_TRUE(filter->newImageFromCurrentlyProcessedOutput().empty());
}

TEST(PixFilter, TwoFiltersSharingAProgramKeepTheirOwnUniforms) {
    auto source = PixTestImageSource::filled(2, 2, {100, 100, 100, 255});
    auto darker = PixFilter::create(kOffsetFragmentShader);
    auto lighter = PixFilter::create(kOffsetFragmentShader);
    darker->setFloat(-0.2f, "offset");
    lighter->setFloat(0.2f, "offset");
    source->addTarget(darker);
    source->addTarget(lighter);

    source->push();

    // 100 -/+ 51 (0.2 of 255).
    EXPECT_TRUE(
        pixelsNear(darker->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(4, {49, 49, 49, 255})));
    EXPECT_TRUE(pixelsNear(lighter->newImageFromCurrentlyProcessedOutput(),
                           std::vector<Rgba>(4, {151, 151, 151, 255})));
}

TEST(PixFilter, ReadBackWaitsForTheFramesQueuedBeforeIt) {
    auto source = PixTestImageSource::filled(2, 2, {100, 100, 100, 255});
    auto filter = PixFilter::create(kOffsetFragmentShader);
    filter->setFloat(0.2f, "offset");
    source->addTarget(filter);

    // Hold the queue so that the filter's first frame is still waiting when the read-back is asked for.
    std::promise<void> release;
    runAsynchronouslyOnContextQueue([held = release.get_future().share()] { held.wait(); });
    source->push();
    std::thread releaser([&] { release.set_value(); });
    const gl::RgbaImage image = filter->newImageFromCurrentlyProcessedOutput();
    releaser.join();

    EXPECT_TRUE(pixelsNear(image, std::vector<Rgba>(4, {151, 151, 151, 255})));
}

TEST(PixFilter, AValueSetAfterThePushDoesNotChangeThatFrame) {
    auto source = PixTestImageSource::filled(1, 1, {100, 100, 100, 255});
    auto filter = PixFilter::create(kOffsetFragmentShader);
    source->addTarget(filter);
    filter->setFloat(0.2f, "offset");
    source->push();
    filter->setFloat(-0.2f, "offset");
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), {{151, 151, 151, 255}}));
}

TEST(PixFilter, FiltersChainAndPassEachFrameOn) {
    auto source = PixTestImageSource::filled(2, 1, {100, 100, 100, 255});
    auto first = PixFilter::create(kOffsetFragmentShader);
    auto second = PixFilter::create(kOffsetFragmentShader);
    first->setFloat(0.2f, "offset");
    second->setFloat(0.2f, "offset");
    source->addTarget(first);
    first->addTarget(second);
    source->push();
    EXPECT_TRUE(pixelsNear(second->newImageFromCurrentlyProcessedOutput(),
                           std::vector<Rgba>(2, {202, 202, 202, 255})));
}

TEST(PixFilterDeathTest, ReadBackNeedsRgbaBytes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto filter = PixFilter::create();
    GPUTextureOptions options;
    options.internalFormat = GL_BGRA_EXT;
    filter->setOutputTextureOptions(options);
    EXPECT_DEBUG_DEATH(filter->newImageFromCurrentlyProcessedOutput(),
                       "output texture format for this filter must be GL_RGBA");
}

} // namespace
} // namespace zm
