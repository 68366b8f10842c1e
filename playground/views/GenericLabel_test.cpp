#include "platform/gfx/Text.h"
#include "platform/ui/UiTesting.h"
#include "playground/views/Fonts.h"
#include "playground/views/GenericLabel.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

class GenericLabelTest : public ui::testing::AnimationFixture {};

TEST_F(GenericLabelTest, ANewLabelIsWhiteOnNothingSizedToItsText) {
    const gfx::Font font = fontNamed(kGeorgia, 50);
    auto label = GenericLabel::create("42", font);
    EXPECT_EQ(label->frame(), (core::Rect{{0, 0}, gfx::measureText("42", font)}));
    EXPECT_GT(label->frame().width(), 0);
    EXPECT_EQ(label->textColor(), core::Color::white());
    EXPECT_EQ(label->backgroundColor(), core::Color::clear());
    EXPECT_FALSE(label->isUserInteractionEnabled());
    EXPECT_EQ(label->getViewList().size(), 1u);
    EXPECT_EQ(label->getViewList().front().get(), label.get());
}

TEST_F(GenericLabelTest, HighlightTurnsTheTextBlueAndDehighlightOnlyDropsTheEnlargement) {
    auto label = GenericLabel::create("x", fontNamed(kGeorgiaItalic, 50));
    label->highlight();
    EXPECT_TRUE(label->isHighlighted());
    label->setEnlarged(true);
    label->setAlgebraTransformSize(1.3f);
    EXPECT_FLOAT_EQ(label->getPureWidth(), label->getWidth() / 1.3f);
    label->dehighlight();
    EXPECT_TRUE(label->isHighlighted());
    EXPECT_FALSE(label->enlarged());
    EXPECT_TRUE(label->transform().isIdentity());
    label->setColor(core::Color::white());
    EXPECT_FALSE(label->isHighlighted());
}

TEST_F(GenericLabelTest, AFontChangeAtOnceResizesToTheText) {
    auto label = GenericLabel::create("123", fontNamed(kGeorgia, 50));
    label->setFrame({{10, 20}, label->frame().size});
    label->setFontSize(25, false);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 25);
    EXPECT_EQ(label->bounds().size, gfx::measureText("123", fontNamed(kGeorgia, 25)));
    EXPECT_EQ(label->font().name(), kGeorgia);
}

TEST_F(GenericLabelTest, AnAnimatedFontChangeScalesFirstAndTakesTheFontAtTheEnd) {
    auto label = GenericLabel::create("123", fontNamed(kGeorgia, 50));
    const core::Size oldSize = label->bounds().size;
    label->setFontSize(100, true);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 50);
    EXPECT_NEAR(label->transform().xScale(),
                gfx::measureText("123", fontNamed(kGeorgia, 100)).width / oldSize.width, 1e-4);
    advance(0.3);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 100);
    EXPECT_TRUE(label->transform().isIdentity());
    EXPECT_EQ(label->bounds().size, gfx::measureText("123", fontNamed(kGeorgia, 100)));
}

TEST_F(GenericLabelTest, AnInterruptedFontChangeKeepsTheOldFontAndBounds) {
    auto label = GenericLabel::create("123", fontNamed(kGeorgia, 50));
    const core::Rect oldBounds = label->bounds();
    label->setFontSize(100, true);
    advance(0.1);
    label->dehighlight(); // the scale is reset while it runs
    advance(0.5);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 50);
    EXPECT_EQ(label->bounds(), oldBounds);
}

TEST_F(GenericLabelTest, AChangeAtOnceToTheSameSizeLetsARunningChangeArriveAndToAnotherCancelsIt) {
    auto label = GenericLabel::create("123", fontNamed(kGeorgia, 50));
    label->setFontSize(100, true);
    advance(0.1);
    label->setFontSize(100, false);
    EXPECT_FALSE(label->transform().isIdentity()) << "still scaling";
    advance(0.3);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 100);
    EXPECT_TRUE(label->transform().isIdentity());

    label->setFontSize(40, true);
    advance(0.1);
    label->setFontSize(70, false);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 70);
    advance(0.5);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 70) << "the older change does not come back";
    EXPECT_EQ(label->bounds().size, gfx::measureText("123", fontNamed(kGeorgia, 70)));
}

TEST_F(GenericLabelTest, ALabelWithoutWidthTakesAnAnimatedFontChangeAtOnce) {
    auto label = GenericLabel::create("", fontNamed(kGeorgia, 50));
    ASSERT_EQ(label->bounds().width(), 0);
    label->setFontSize(80, true);
    EXPECT_FLOAT_EQ(label->font().pointSize(), 80);
    EXPECT_TRUE(label->transform().isIdentity());
}

} // namespace
} // namespace zm
