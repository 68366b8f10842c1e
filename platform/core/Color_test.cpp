#include "platform/core/Color.h"

#include <gtest/gtest.h>

namespace core {
namespace {

void expectColor(const Color& actual, float r, float g, float b, float a) {
    EXPECT_NEAR(actual.red(), r, 1e-5);
    EXPECT_NEAR(actual.green(), g, 1e-5);
    EXPECT_NEAR(actual.blue(), b, 1e-5);
    EXPECT_NEAR(actual.alpha(), a, 1e-5);
}

TEST(Color, MakersFillTheComponents) {
    expectColor(Color::white(0.25f, 0.5f), 0.25f, 0.25f, 0.25f, 0.5f);
    expectColor(Color::rgb255(25, 161, 230), 25 / 255.0f, 161 / 255.0f, 230 / 255.0f, 1);
    expectColor(Color::rgba(0.1f, 0.2f, 0.3f).withAlpha(0.4f), 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(Color(), Color::clear());
}

TEST(Color, HueSaturationBrightnessRoundTrip) {
    struct Case {
        Color rgb;
        HSBA hsb;
    };
    const Case cases[] = {
        {Color::rgba(1, 0, 0), {0, 1, 1, 1}},
        {Color::rgba(0, 1, 0), {1.0f / 3, 1, 1, 1}},
        {Color::rgba(0, 0, 1, 0.5f), {2.0f / 3, 1, 1, 0.5f}},
        {Color::rgba(1, 0, 1), {5.0f / 6, 1, 1, 1}},
        {Color::rgba(0.5f, 0.25f, 0.25f), {0, 0.5f, 0.5f, 1}},
        {Color::white(0.25f, 0.25f), {0, 0, 0.25f, 0.25f}},
        {Color::rgba(0, 0, 0), {0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        const HSBA hsb = c.rgb.hsba();
        EXPECT_NEAR(hsb.hue, c.hsb.hue, 1e-5) << c.rgb.description();
        EXPECT_NEAR(hsb.saturation, c.hsb.saturation, 1e-5) << c.rgb.description();
        EXPECT_NEAR(hsb.brightness, c.hsb.brightness, 1e-5) << c.rgb.description();
        EXPECT_NEAR(hsb.alpha, c.hsb.alpha, 1e-5) << c.rgb.description();
        const Color back = Color::fromHSB(c.hsb);
        expectColor(back, c.rgb.red(), c.rgb.green(), c.rgb.blue(), c.rgb.alpha());
    }
}

TEST(Color, HueWrapsAroundAndOutOfRangeComponentsAreClamped) {
    expectColor(Color::fromHSB({1, 1, 1, 1}), 1, 0, 0, 1);
    expectColor(Color::fromHSB({1.5f, 1, 1, 1}), 0, 1, 1, 1);
    expectColor(Color::fromHSB({-0.5f, 2, -1, 3}), 0, 0, 0, 1);
}

TEST(Color, TheHighlightOfAVeilColourKeepsItsHue) {
    const Color veil = Color::rgb255(23, 42, 62).withAlpha(0.65f);
    const Color highlight = Color::fromHSB({veil.hsba().hue, 1, 1, 1});
    EXPECT_NEAR(highlight.hsba().hue, veil.hsba().hue, 1e-5);
    EXPECT_EQ(highlight.blue(), 1);
}

TEST(Color, BlackConstantIsDistinguishedFromAComponentBlack) {
    EXPECT_TRUE(Color::black().isBlackConstant());
    const Color copy = Color::black();
    EXPECT_TRUE(copy.isBlackConstant());
    EXPECT_FALSE(Color::rgba(0, 0, 0).isBlackConstant());
    EXPECT_FALSE(Color::white(0).isBlackConstant());
    EXPECT_FALSE(Color::black().withAlpha(1).isBlackConstant());
    // Equality is by component.
    EXPECT_EQ(Color::black(), Color::rgba(0, 0, 0));
}

TEST(Color, DescriptionsAgreeExactlyWhenColoursLookTheSame) {
    EXPECT_EQ(Color::rgb255(25, 161, 230).description(), "0.0980392 0.631373 0.901961 1");
    EXPECT_EQ(Color::rgb255(25, 161, 230).description(), Color::rgb255(25, 161, 230).description());
    EXPECT_NE(Color::rgb255(25, 161, 230).description(), Color::rgb255(25, 161, 231).description());
    EXPECT_NE(Color::rgba(1, 0, 0), Color::rgba(1, 0, 0, 0.5f));
}

} // namespace
} // namespace core
