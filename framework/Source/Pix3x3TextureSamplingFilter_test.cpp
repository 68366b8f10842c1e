#include "framework/Source/Pix3x3TextureSamplingFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixTwoInputCrossTextureSamplingFilter.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::PixTestImageSource;
using pixtest::Rgba;

// Both neighbourhood bases draw the steps their vertex shader was given, a hundred times over: red is
// the step to the right neighbour, green the step to the one below.
const char* const k3x3StepsShader = R"(
varying highp vec2 textureCoordinate;
varying highp vec2 rightTextureCoordinate;
varying highp vec2 bottomTextureCoordinate;
void main()
{
    gl_FragColor = vec4((rightTextureCoordinate - textureCoordinate).x * 100.0,
                        (bottomTextureCoordinate - textureCoordinate).y * 100.0, 0.0, 1.0);
}
)";
const char* const kCrossStepsShader = R"(
varying highp vec2 textureCoordinate2;
varying highp vec2 rightTextureCoordinate2;
varying highp vec2 bottomTextureCoordinate2;
void main()
{
    gl_FragColor = vec4((rightTextureCoordinate2 - textureCoordinate2).x * 100.0,
                        (bottomTextureCoordinate2 - textureCoordinate2).y * 100.0, 0.0, 1.0);
}
)";

// One neighbourhood filter of either kind, behind the operations the test needs.
struct Sampler {
    std::shared_ptr<PixFilter> filter;
    std::function<void(float)> setTexelWidth;
};

Sampler make(bool cross) {
    if (!cross) {
        auto filter = Pix3x3TextureSamplingFilter::create(k3x3StepsShader);
        return {filter, [filter](float width) { filter->setTexelWidth(width); }};
    }
    // The second input is the first one's, so the first input alone draws.
    auto filter = PixTwoInputCrossTextureSamplingFilter::create(kCrossStepsShader);
    filter->disableSecondFrameCheck();
    return {filter, [filter](float width) { filter->setTexelWidth(width); }};
}

// The steps drawn for a frame of the source, turned so, as the colour of the middle pixel.
Rgba stepsFor(const Sampler& sampler, PixTestImageSource& source, PixInputRotation rotation) {
    runSynchronouslyOnContextQueue([&] {
        sampler.filter->setInputRotation(rotation, 0);
        sampler.filter->setInputTexture(source.textureForOutput(), 1);
    });
    source.push();
    const gl::RgbaImage image = sampler.filter->newImageFromCurrentlyProcessedOutput();
    return image.pixel(image.width / 2, image.height / 2);
}

::testing::AssertionResult stepsNear(Rgba actual, Rgba expected) {
    for (int channel = 0; channel < 4; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > 1)
            return ::testing::AssertionFailure() << "steps drawn as (" << int(actual[0]) << ", " << int(actual[1])
                                                 << "), expected (" << int(expected[0]) << ", " << int(expected[1]) << ")";
    }
    return ::testing::AssertionSuccess();
}

TEST(PixNeighbourhoodSampling, StepsOnePixelOfTheFramebufferUntilSetByHand) {
    for (const bool cross : {false, true}) {
        const Sampler sampler = make(cross);
        auto upright = PixTestImageSource::filled(320, 200, {0, 0, 0, 255});
        auto turned = PixTestImageSource::filled(480, 640, {0, 0, 0, 255});
        upright->addTarget(sampler.filter);

        // 320 x 200: 100/320 and 100/200 of a full channel.
        EXPECT_TRUE(stepsNear(stepsFor(sampler, *upright, PixInputRotationNone), {80, 128, 0, 255})) << cross;
        // Turned right, 480 x 640 draws 640 x 480: the texture's width is the picture's height.
        upright->removeTarget(sampler.filter);
        turned->addTarget(sampler.filter);
        EXPECT_TRUE(stepsNear(stepsFor(sampler, *turned, PixInputRotationRotateRight), {53, 40, 0, 255})) << cross;

        // A width set by hand keeps both steps through a change of size.
        sampler.setTexelWidth(0.005f);
        turned->removeTarget(sampler.filter);
        upright->addTarget(sampler.filter);
        EXPECT_TRUE(stepsNear(stepsFor(sampler, *upright, PixInputRotationNone), {128, 40, 0, 255})) << cross;
    }
}

} // namespace
} // namespace zm
