#include "framework/Source/GLProgram.h"
#include "framework/Source/PixBrightnessFilter.h"
#include "framework/Source/PixChromaKeyFilter.h"
#include "framework/Source/PixColorInvertFilter.h"
#include "framework/Source/PixColorMatrixFilter.h"
#include "framework/Source/PixContext.h"
#include "framework/Source/PixContrastFilter.h"
#include "framework/Source/PixExposureFilter.h"
#include "framework/Source/PixFalseColorFilter.h"
#include "framework/Source/PixGammaFilter.h"
#include "framework/Source/PixGrayscaleFilter.h"
#include "framework/Source/PixHSBFilter.h"
#include "framework/Source/PixHazeFilter.h"
#include "framework/Source/PixHighlightShadowFilter.h"
#include "framework/Source/PixHueFilter.h"
#include "framework/Source/PixLevelsFilter.h"
#include "framework/Source/PixLuminanceThresholdFilter.h"
#include "framework/Source/PixMonochromeFilter.h"
#include "framework/Source/PixOpacityFilter.h"
#include "framework/Source/PixRGBFilter.h"
#include "framework/Source/PixSaturationFilter.h"
#include "framework/Source/PixSepiaFilter.h"
#include "framework/Source/PixTestSupport.h"
#include "framework/Source/PixWhiteBalanceFilter.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace zm {
namespace {

using pixtest::filtered;
using pixtest::made;
using pixtest::pixelsNear;
using pixtest::PixRecordingTarget;
using pixtest::PixTestImageSource;
using pixtest::Rgba;
using Make = pixtest::MakeFilter;

TEST(PixColorAdjustmentFilters, ColourEachPixelAsWorkedOutByHand) {
    struct Case {
        const char* name;
        Make make;
        std::vector<Rgba> input; // 1 x 1, or 2 x 2 top row first
        std::vector<Rgba> expected;
    };
    const Rgba warm{200, 100, 50, 255};
    const GPUMatrix4x4 swapRedAndBlue{{0, 0, 1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};
    const Case cases[] = {
        {"a fresh colour matrix", made<PixColorMatrixFilter>(), {{10, 200, 255, 255}}, {{10, 200, 255, 255}}},
        {"a colour matrix at intensity 0",
         made<PixColorMatrixFilter>([&](auto& f) { f.setColorMatrix(swapRedAndBlue); f.setIntensity(0); }),
         {{10, 200, 255, 255}}, {{10, 200, 255, 255}}},
        {"a colour matrix's rows make the channels",
         made<PixColorMatrixFilter>([&](auto& f) { f.setColorMatrix(swapRedAndBlue); }), {{10, 200, 255, 255}},
         {{255, 200, 10, 255}}},
        {"sepia of white", made<PixSepiaFilter>(), {{255, 255, 255, 255}}, {{255, 255, 204, 255}}},
        {"sepia of a brown", made<PixSepiaFilter>(), {{100, 50, 25, 255}}, {{75, 62, 50, 255}}},
        {"HSB without saturation", made<PixHSBFilter>([](auto& f) { f.adjustSaturation(0); }), {warm},
         {{125, 125, 125, 255}}},
        {"HSB at half brightness", made<PixHSBFilter>([](auto& f) { f.adjustBrightness(0.5f); }), {warm},
         {{100, 50, 25, 255}}},
        {"brightness 0.2", made<PixBrightnessFilter>([](auto& f) { f.setBrightness(0.2f); }), {warm},
         {{251, 151, 101, 255}}},
        {"invert", made<PixColorInvertFilter>(), {{10, 200, 255, 255}}, {{245, 55, 0, 255}}},
        {"saturation 0", made<PixSaturationFilter>([](auto& f) { f.setSaturation(0); }), {warm},
         {{118, 118, 118, 255}}},
        {"saturation 2", made<PixSaturationFilter>([](auto& f) { f.setSaturation(2); }), {warm},
         {{255, 82, 0, 255}}},
        {"contrast 2 takes a quarter to 0", made<PixContrastFilter>([](auto& f) { f.setContrast(2); }),
         {{64, 128, 191, 255}}, {{0, 128, 255, 255}}},
        {"gamma 2 takes a half to a quarter", made<PixGammaFilter>([](auto& f) { f.setGamma(2); }),
         {{128, 255, 0, 255}}, {{64, 255, 0, 255}}},
        {"exposure 1 doubles", made<PixExposureFilter>([](auto& f) { f.setExposure(1); }), {{50, 100, 120, 255}},
         {{100, 200, 240, 255}}},
        {"RGB gains", made<PixRGBFilter>([](auto& f) { f.setRed(0.5f); f.setBlue(2); }), {{100, 100, 100, 255}},
         {{50, 100, 200, 255}}},
        {"hue 90 of red", made<PixHueFilter>(), {{255, 0, 0, 255}}, {{33, 160, 0, 255}}},
        {"hue 90 of a warm colour", made<PixHueFilter>(), {warm}, {{83, 172, 0, 255}}},
        {"monochrome", made<PixMonochromeFilter>(), {warm}, {{141, 106, 71, 255}}},
        {"false colour", made<PixFalseColorFilter>(), {warm}, {{118, 0, 69, 255}}},
        {"opacity a half", made<PixOpacityFilter>([](auto& f) { f.setOpacity(0.5f); }), {{100, 150, 200, 255}},
         {{100, 150, 200, 128}}},
        {"highlights and shadows at rest", made<PixHighlightShadowFilter>(), {{100, 150, 200, 255}},
         {{100, 150, 200, 255}}},
        {"highlights and shadows keep black", made<PixHighlightShadowFilter>(), {{0, 0, 0, 255}}, {{0, 0, 0, 255}}},
        {"shadows lifted", made<PixHighlightShadowFilter>([](auto& f) { f.setShadows(1); }), {{50, 50, 50, 255}},
         {{81, 81, 81, 255}}},
        {"highlights lowered", made<PixHighlightShadowFilter>([](auto& f) { f.setHighlights(0); }),
         {{200, 200, 200, 255}}, {{196, 196, 196, 255}}},
        {"haze", made<PixHazeFilter>(), {{128, 128, 128, 255}}, {{96, 96, 96, 255}}},
        {"haze down a slope",
         made<PixHazeFilter>([](auto& f) { f.setDistance(0); f.setSlope(0.5f); }),
         std::vector<Rgba>(4, {200, 200, 200, 255}),
         {{192, 192, 192, 255}, {192, 192, 192, 255}, {167, 167, 167, 255}, {167, 167, 167, 255}}},
        {"luminance threshold", made<PixLuminanceThresholdFilter>(), {warm, {100, 200, 100, 255}, {0, 0, 0, 9}, {255, 255, 255, 255}},
         {{0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 9}, {255, 255, 255, 255}}},
        {"grayscale of red", made<PixGrayscaleFilter>(), {{255, 0, 0, 255}}, {{54, 54, 54, 255}}},
        {"chroma key",
         made<PixChromaKeyFilter>(), {{0, 255, 0, 255}, {255, 0, 0, 255}, {0, 0, 0, 255}, {0, 250, 10, 255}},
         {{0, 255, 0, 0}, {255, 0, 0, 255}, {0, 0, 0, 255}, {0, 250, 10, 0}}},
        {"white balance at rest", made<PixWhiteBalanceFilter>(), {warm}, {warm}},
        {"white balance at 4000 K", made<PixWhiteBalanceFilter>([](auto& f) { f.setTemperature(4000); }), {warm},
         {{181, 97, 70, 255}}},
        {"white balance tinted", made<PixWhiteBalanceFilter>([](auto& f) { f.setTint(100); }), {{100, 100, 100, 255}},
         {{108, 91, 123, 255}}},
        {"levels 0.2 to 0.8", made<PixLevelsFilter>([](auto& f) { f.setMin(0.2f, 1, 0.8f); }),
         {{26, 26, 26, 255}, {51, 51, 51, 255}, {128, 128, 128, 255}, {230, 230, 230, 255}},
         {{0, 0, 0, 255}, {0, 0, 0, 255}, {128, 128, 128, 255}, {255, 255, 255, 255}}},
        {"levels of one channel into an output range",
         made<PixLevelsFilter>([](auto& f) { f.setGreenMin(0, 1, 1, 0.5f, 1); }), {{100, 0, 100, 255}},
         {{100, 128, 100, 255}}},
    };
    for (const Case& c : cases) {
        const int side = c.input.size() == 1 ? 1 : 2;
        EXPECT_TRUE(pixelsNear(filtered(c.make(), side, side, c.input), c.expected)) << c.name;
    }
}

// The value a uniform of the filter's program holds now, once the writes queued before are done.
float uniformValue(const PixFilter& filter, const char* name) {
    float value = 0;
    runSynchronouslyOnContextQueue([&] {
        PixContext::setActiveShaderProgram(filter.filterProgram());
        glGetUniformfv(filter.filterProgram()->program(), filter.filterProgram()->uniformIndex(name), &value);
    });
    return value;
}

TEST(PixColorAdjustmentFilters, SettersSendTheirValuesInTheShadersUnits) {
    auto hue = PixHueFilter::create();
    const std::pair<float, float> hues[] = {{450, std::numbers::pi / 2}, {-30, -std::numbers::pi / 6}, {720, 0}};
    for (const auto& [degrees, radians] : hues) {
        hue->setHue(degrees);
        EXPECT_FLOAT_EQ(hue->hue(), radians) << degrees;
        EXPECT_FLOAT_EQ(uniformValue(*hue, "hueAdjust"), radians) << degrees;
    }

    auto balance = PixWhiteBalanceFilter::create();
    const std::pair<int, float> temperatures[] = {{4000, -0.4f}, {5000, 0}, {6000, 0.06f}};
    for (const auto& [kelvin, sent] : temperatures) {
        balance->setTemperature(kelvin);
        EXPECT_EQ(balance->temperature(), kelvin);
        EXPECT_NEAR(uniformValue(*balance, "temperature"), sent, 1e-6) << kelvin;
    }
    balance->setTint(-50);
    EXPECT_FLOAT_EQ(uniformValue(*balance, "tint"), -0.5f);
}

// Whether two matrices agree to the tolerance.
::testing::AssertionResult matricesNear(const PixColorMatrix4x4& actual, const PixColorMatrix4x4& expected,
                                        float tolerance) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (std::abs(actual[i][j] - expected[i][j]) > tolerance)
                return ::testing::AssertionFailure() << "entry [" << i << "][" << j << "] is " << actual[i][j]
                                                     << ", expected " << expected[i][j];
    return ::testing::AssertionSuccess();
}

TEST(PixColorAdjustmentFilters, HSBAdjustmentsAddUpUntilReset) {
    const PixColorMatrix4x4 identity{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    auto hsb = PixHSBFilter::create();
    hsb->rotateHue(0);
    EXPECT_TRUE(matricesNear(hsb->matrix(), identity, 1e-5f));

    for (int turn = 0; turn < 3; ++turn)
        hsb->rotateHue(120);
    EXPECT_TRUE(matricesNear(hsb->matrix(), identity, 1e-4f));

    // Without saturation every column of a colour is its grey 0.3 r + 0.59 g + 0.11 b.
    hsb->reset();
    hsb->adjustSaturation(0);
    EXPECT_TRUE(matricesNear(hsb->matrix(), {{{0.3f, 0.3f, 0.3f, 0}, {0.59f, 0.59f, 0.59f, 0}, {0.11f, 0.11f, 0.11f, 0}, {0, 0, 0, 1}}},
                             1e-6f));
    // The shader's rows are the matrix's columns.
    EXPECT_FLOAT_EQ(hsb->colorMatrix().one.two, 0.59f);

    hsb->adjustBrightness(0.5f);
    EXPECT_FLOAT_EQ(hsb->matrix()[1][0], 0.295f);
    hsb->reset();
    EXPECT_TRUE(matricesNear(hsb->matrix(), identity, 0));
}

TEST(PixColorAdjustmentFilters, GrayscaleHandsALuminanceInputOnTurnedAsItsSourceAsks) {
    auto source = PixTestImageSource::filled(4, 2, {90, 90, 90, 255});
    for (const PixInputRotation rotation : {PixInputRotationNone, PixInputRotationRotateLeft, PixInputRotationRotateRight,
                                            PixInputRotationFlipVertical, PixInputRotationRotateRightFlipVertical,
                                            PixInputRotationRotateRightFlipHorizontal}) {
        auto grayscale = PixGrayscaleFilter::create();
        EXPECT_TRUE(grayscale->wantsMonochromeInput());
        EXPECT_TRUE(grayscale->providesMonochromeOutput());
        auto target = std::make_shared<PixRecordingTarget>();
        grayscale->addTarget(target);
        std::vector<std::string> calls;
        runSynchronouslyOnContextQueue([&] {
            target->calls.clear();
            grayscale->setCurrentlyReceivingMonochromeInput(true);
            grayscale->setInputRotation(rotation, 0);
            grayscale->setInputTexture(source->textureForOutput(), 0);
            grayscale->setInputSize({4, 2}, 0);
            grayscale->newFrameReadyAtTime(PixFrameTime::indefiniteTime(), 0);
            calls = target->calls;
        });
        EXPECT_EQ(grayscale->textureForOutput(), source->textureForOutput()) << rotation;
        EXPECT_EQ(calls, (std::vector<std::string>{"setInputTexture(texture, 0)",
                                                   "setInputRotation(" + std::to_string(rotation) + ", 0)",
                                                   "setInputSize(4x2, 0)", "newFrameReadyAtTime(indefinite, 0)"}))
            << rotation;
    }
}

TEST(PixColorAdjustmentFilters, EveryMemberChangesTheTestCard) {
    constexpr int kWidth = 64, kHeight = 48;
    const std::vector<Rgba> card = pixtest::testCard(kWidth, kHeight);
    struct Member {
        const char* name;
        Make make;
    };
    const Member members[] = {
        {"colour matrix", made<PixColorMatrixFilter>([](auto& f) {
             f.setColorMatrix({{0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}});
         })},
        {"sepia", made<PixSepiaFilter>()},
        {"HSB", made<PixHSBFilter>([](auto& f) { f.rotateHue(60); f.adjustSaturation(1.5f); })},
        {"brightness", made<PixBrightnessFilter>([](auto& f) { f.setBrightness(0.25f); })},
        {"invert", made<PixColorInvertFilter>()},
        {"saturation", made<PixSaturationFilter>([](auto& f) { f.setSaturation(0.3f); })},
        {"contrast", made<PixContrastFilter>([](auto& f) { f.setContrast(0.5f); })},
        {"gamma", made<PixGammaFilter>([](auto& f) { f.setGamma(2.2f); })},
        {"exposure", made<PixExposureFilter>([](auto& f) { f.setExposure(-1); })},
        {"RGB", made<PixRGBFilter>([](auto& f) { f.setGreen(0.4f); })},
        {"hue", made<PixHueFilter>()},
        {"monochrome", made<PixMonochromeFilter>()},
        {"false colour", made<PixFalseColorFilter>()},
        {"opacity", made<PixOpacityFilter>([](auto& f) { f.setOpacity(0.4f); })},
        {"highlights, shadows", made<PixHighlightShadowFilter>([](auto& f) { f.setShadows(0.8f); f.setHighlights(0.3f); })},
        {"haze", made<PixHazeFilter>([](auto& f) { f.setSlope(0.3f); })},
        {"luminance threshold", made<PixLuminanceThresholdFilter>()},
        {"grayscale", made<PixGrayscaleFilter>()},
        {"chroma key", made<PixChromaKeyFilter>()},
        {"white balance", made<PixWhiteBalanceFilter>([](auto& f) { f.setTemperature(3000); f.setTint(40); })},
        {"levels", made<PixLevelsFilter>([](auto& f) { f.setMin(0.25f, 0.6f, 0.75f, 0.1f, 0.9f); })},
    };
    pixtest::PixContactSheet sheet;
    sheet.add("test card", pixtest::rgbaImage(kWidth, kHeight, card));
    for (const Member& member : members) {
        const gl::RgbaImage output = filtered(member.make(), kWidth, kHeight, card);
        sheet.add(member.name, output);
        EXPECT_FALSE(pixelsNear(output, card, 8)) << member.name << " left the test card as it was";
    }
    sheet.write("colour-adjustment-filters.png");
}

} // namespace
} // namespace zm
