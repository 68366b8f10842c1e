#include "framework/Source/PixContext.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixTwoPassFilter.h"
#include "framework/Source/PixTwoPassTextureSamplingFilter.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::pixelsNear;
using pixtest::PixTestImageSource;
using pixtest::Rgba;

const char* const kInvertFragmentShader = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;
void main()
{
    lowp vec4 colour = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(vec3(1.0) - colour.rgb, colour.a);
}
)";

const char* const kHalveFragmentShader = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;
void main()
{
    lowp vec4 colour = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(colour.rgb * 0.5, colour.a);
}
)";

// The first pass writes its own step into red and green, the second keeps those and adds its step as
// blue and alpha; a step of one pixel of a 6 x 8 frame reads 255 (x 6 across, x 8 down).
const char* const kFirstPassStepShader = R"(
uniform highp float texelWidthOffset;
uniform highp float texelHeightOffset;
void main()
{
    gl_FragColor = vec4(texelWidthOffset * 8.0, texelHeightOffset * 8.0, 0.0, 1.0);
}
)";
const char* const kSecondPassStepShader = R"(
varying highp vec2 textureCoordinate;
uniform sampler2D inputImageTexture;
uniform highp float texelWidthOffset;
uniform highp float texelHeightOffset;
void main()
{
    lowp vec4 firstPass = texture2D(inputImageTexture, textureCoordinate);
    gl_FragColor = vec4(firstPass.rg, texelWidthOffset * 6.0, texelHeightOffset * 8.0);
}
)";

class StepRevealingFilter : public PixTwoPassTextureSamplingFilter {
public:
    static std::shared_ptr<StepRevealingFilter> create() {
        return std::shared_ptr<StepRevealingFilter>(new StepRevealingFilter);
    }

private:
    StepRevealingFilter()
        : PixTwoPassTextureSamplingFilter(PixDefaultVertexShader, kFirstPassStepShader,
                                          PixDefaultVertexShader, kSecondPassStepShader) {}
};

TEST(PixTwoPassFilter, RendersTheSecondPassOverTheFirst) {
    auto source = PixTestImageSource::filled(3, 2, {200, 100, 0, 255});
    auto filter = PixTwoPassFilter::create(kInvertFragmentShader, kHalveFragmentShader);
    source->addTarget(filter);
    source->push();
    // Inverted (55, 155, 255), then halved.
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(),
                           std::vector<Rgba>(6, {27, 77, 127, 255}), 1));
}

TEST(PixTwoPassFilter, AMonochromeInputSkipsTheFirstPass) {
    auto source = PixTestImageSource::filled(2, 2, {200, 200, 200, 255});
    auto filter = PixTwoPassFilter::create(kInvertFragmentShader, kHalveFragmentShader);
    source->addTarget(filter);
    runSynchronouslyOnContextQueue([&] {
        filter->setInputSize({2, 2}, 0);
        filter->setCurrentlyReceivingMonochromeInput(true);
        filter->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), 0);
    });
    EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(),
                           std::vector<Rgba>(4, {100, 100, 100, 255}), 1));
}

TEST(PixTwoPassFilter, RendersAgainAfterConservingMemoryDroppedItsFirstFramebuffer) {
    auto source = PixTestImageSource::filled(2, 2, {200, 100, 0, 255});
    auto filter = PixTwoPassFilter::create(kInvertFragmentShader, kHalveFragmentShader);
    source->addTarget(filter);
    for (int frame = 0; frame < 2; ++frame) {
        source->conserveMemoryForNextFrame();
        source->push();
        EXPECT_TRUE(pixelsNear(filter->newImageFromCurrentlyProcessedOutput(),
                               std::vector<Rgba>(4, {27, 77, 127, 255}), 1))
            << "frame " << frame;
    }
}

TEST(PixTwoPassTextureSamplingFilter, StepsAlongTheImagesVerticalAxisFirstWhateverTheInputsTurn) {
    // Both frames are 6 x 8 once turned: the first pass steps 1/8 down the image, the second 1/6 across.
    struct Case {
        PixInputRotation rotation;
        int inputWidth, inputHeight;
        Rgba steps;
    };
    const Case cases[] = {
        {PixInputRotationNone, 6, 8, {0, 255, 255, 0}},
        {PixInputRotationRotateRight, 8, 6, {255, 0, 255, 0}}, // the image's vertical is the texture's s axis
    };
    for (const Case& c : cases) {
        auto source = PixTestImageSource::filled(c.inputWidth, c.inputHeight, {0, 0, 0, 255});
        auto filter = StepRevealingFilter::create();
        runSynchronouslyOnContextQueue([&] { filter->setInputRotation(c.rotation, 0); });
        source->addTarget(filter);
        source->push();
        EXPECT_TRUE(
            pixelsNear(filter->newImageFromCurrentlyProcessedOutput(), std::vector<Rgba>(48, c.steps), 1))
            << "rotation " << c.rotation;
    }
}

} // namespace
} // namespace zm
