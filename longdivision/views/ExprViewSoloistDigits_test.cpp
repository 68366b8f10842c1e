#include "longdivision/views/ExprViewSoloistDigits.h"

#include "longdivision/views/ColumnGrid.h"
#include "longdivision/views/DecimalSeparator.h"
#include "platform/gfx/Text.h"
#include "playground/testing/PlaygroundStage.h"
#include "playground/views/Fonts.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using ::testing::ElementsAre;

constexpr float kSize = 57;

// Columns 40 points apart, column 0 centred at x = 200.
class EvenColumns : public ColumnGrid {
public:
    float getCenterXForColumn(int32_t column) const override { return 200 + 40 * float(column); }
};

std::vector<int32_t> digitsOf(const ExprViewSoloistDigits& view) {
    std::vector<int32_t> digits;
    for (const auto& digit : view.digitViews())
        digits.push_back(digit->solo()->coef());
    return digits;
}

core::Point centerOf(const ExprView& view) {
    const core::Rect box = view.getHitbox();
    return {box.midX(), box.midY()};
}

class DigitGrid : public ::testing::Test {
protected:
    DigitGrid() { stage.playgroundView->setBaseFontSize(kSize); }

    std::shared_ptr<ExprViewSoloistDigits> digits(int32_t number) {
        return ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(number), *stage.playgroundView);
    }

    testing::PlaygroundStage stage;
    const core::Size three = gfx::measureText("3", fontNamed(kGeorgia, kSize));
};

TEST_F(DigitGrid, MetricsComeFromTheDigitThree) {
    const auto view = digits(7);
    EXPECT_FLOAT_EQ(view->colWidth(), float(1.1 * three.width));
    EXPECT_FLOAT_EQ(view->rowHeight(), float(0.8 * three.height));
    view->setColWidth(1);
    view->setBaseFontSize(kSize);
    EXPECT_FLOAT_EQ(view->colWidth(), float(1.1 * three.width)) << "measured again at the same size";
    view->setFontSize(30, false);
    EXPECT_FLOAT_EQ(view->colWidth(), float(1.1 * gfx::measureText("3", fontNamed(kGeorgia, 30)).width));
}

TEST_F(DigitGrid, LeadingZerosKeepTheirColumnsOffTheScreen) {
    EXPECT_EQ(digits(0)->getViewList().size(), 1u) << "a lone 0 shows";
    EXPECT_EQ(digits(205)->getViewList().size(), 3u);

    const auto built = digits(0);
    for (int32_t digit : {2, 4, 6})
        built->appendDigitView(ExprViewSoloist::create(ExprSoloist::soloWithCoef(digit), *stage.playgroundView));
    EXPECT_THAT(digitsOf(*built), ElementsAre(0, 2, 4, 6));
    EXPECT_EQ(built->solo()->coef(), 246);
    EXPECT_EQ(built->getViewList().size(), 3u);
    EXPECT_FLOAT_EQ(built->getWidth(), 4 * built->colWidth());
    built->setShowForwardZeroes(true);
    EXPECT_EQ(built->getViewList().size(), 4u);

    const auto one = digits(5);
    one->removeLastDigitView();
    EXPECT_TRUE(one->digitViews().empty());
    EXPECT_EQ(one->solo()->coef(), 0);
}

TEST_F(DigitGrid, NegativeNumbers) {
    const auto view = digits(-25);
    EXPECT_THAT(digitsOf(*view), ElementsAre(-2, 5));
    const EvenColumns grid;
    view->moveToCenterYRightAlignedAtColumn(100, 3, grid);
    const auto& minusTwo = *view->digitViews()[0];
    EXPECT_NEAR(centerOf(minusTwo).x, 200 + 80 - minusTwo.getWidth() / 4, 0.01);
    EXPECT_NEAR(centerOf(*view->digitViews()[1]).x, 320, 0.01);
    view->moveToCenterYLeftAlignedAtColumn(60, -1, grid);
    EXPECT_NEAR(centerOf(minusTwo).x, 160, 0.01) << "no shift left-aligned";
    EXPECT_NEAR(centerOf(minusTwo).y, 60, 0.01);
}

TEST_F(DigitGrid, ThePointTakesAQuarterColumn) {
    const auto view = digits(123);
    const float w = view->colWidth();
    EXPECT_FLOAT_EQ(view->getWidth(), 3 * w);
    view->setDotPosition(1);
    EXPECT_FLOAT_EQ(view->getWidth(), 3.25f * w);
    view->moveTo({100, 200}, AnchorMiddleLeft);
    EXPECT_NEAR(view->dotView()->frame().minX(), 100 + w - w / 8, 0.01);
    EXPECT_NEAR(centerOf(*view->digitViews()[1]).x, 100 + w + w / 4 + w / 2, 0.01);
    EXPECT_NEAR(view->getDotViewBottomLeftAtDotIndex(1).x,
                view->getPointAtPosition(AnchorBottomLeft).x + w - w / 8, 0.01);

    // After the last digit: placed there, the running edge not moved on.
    view->setDotPosition(3);
    view->moveTo({100, 200}, AnchorMiddleLeft);
    EXPECT_NEAR(view->dotView()->frame().minX(), 100 + 3 * w - w / 8, 0.01);
    EXPECT_FLOAT_EQ(view->getWidth(), 3.25f * w);

    // A point turns the divisor's own-width layout into columns.
    const auto divisor = digits(125);
    divisor->setColumnLayout(false);
    EXPECT_EQ(divisor->getDotViewBottomLeftAtDotIndex(1), core::Point());
    divisor->setDotPosition(0);
    EXPECT_TRUE(divisor->columnLayout());
}

TEST_F(DigitGrid, ShowingAndHidingThePoint) {
    const auto view = digits(75);
    view->setDotPosition(1);
    EXPECT_EQ(view->getViewList().size(), 2u) << "hidden at first";
    view->setHideDotView(false);
    view->setHideDotView(false);
    const auto& subviews = stage.playgroundView->subviews();
    EXPECT_EQ(std::ranges::count(subviews, view->dotView()), 1);
    EXPECT_EQ(view->getViewList().size(), 3u);
    view->setHideDotView(true);
    EXPECT_FALSE(view->dotView()->superview());
    view->setHideDotView(true);
    EXPECT_FALSE(view->dotView()->superview());
}

struct AnchorCase {
    Anchor anchor;
    float dx, dy; // the middle-left point, in widths and heights from the given point
};

class DigitAnchors : public DigitGrid, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(DigitAnchors, ComeDownToTheMiddleLeft) {
    const AnchorCase& c = GetParam();
    const auto view = digits(408);
    const float width = view->getWidth(), height = view->getHeight();
    view->moveTo({300, 300}, c.anchor);
    const core::Point first = centerOf(*view->digitViews()[0]);
    EXPECT_NEAR(first.x, 300 + c.dx * width + view->colWidth() / 2, 0.01);
    EXPECT_NEAR(first.y, 300 + c.dy * height, 0.01);
}

INSTANTIATE_TEST_SUITE_P(ExprViewSoloistDigits, DigitAnchors,
                         ::testing::Values(AnchorCase{AnchorTopLeft, 0, 0.5f}, AnchorCase{AnchorTopRight, -1, 0.5f},
                                           AnchorCase{AnchorTopCenter, -0.5f, 0.5f},
                                           AnchorCase{AnchorBottomCenter, -0.5f, -0.5f},
                                           AnchorCase{AnchorBottomLeft, 0, -0.5f},
                                           AnchorCase{AnchorBottomRight, -1, -0.5f},
                                           AnchorCase{AnchorCenter, -0.5f, 0}, AnchorCase{AnchorMiddleLeft, 0, 0},
                                           AnchorCase{AnchorMiddleRight, -1, 0}));

TEST_F(DigitGrid, AnUnknownAnchorMovesNothing) {
    const auto view = digits(408);
    view->moveTo({300, 300}, AnchorMiddleLeft);
    const core::Rect before = view->getHitbox();
    view->moveTo({10, 10}, Anchor(9));
    EXPECT_EQ(view->getHitbox(), before);
}

TEST_F(DigitGrid, LeftAnchorsNameTheColumnEdge) {
    const auto view = digits(1);
    view->moveTo({100, 100}, AnchorMiddleLeft);
    EXPECT_NEAR(view->getPointAtPosition(AnchorTopLeft).x, 100, 0.01);
    EXPECT_NEAR(view->getPointAtPosition(AnchorBottomLeft).x, 100, 0.01);
    EXPECT_NEAR(view->getPointAtPosition(AnchorTopRight).x, view->getHitbox().maxX(), 0.01);
}

TEST_F(DigitGrid, HitTestsFindTheDigit) {
    const auto view = digits(42);
    view->moveTo({100, 100}, AnchorMiddleLeft);
    EXPECT_EQ(view->getExprViewFromPoint(centerOf(*view->digitViews()[1])), view->digitViews()[1]);
    EXPECT_FALSE(view->getExprViewFromPoint({0, 0}));
}

// Locales of their own, compiled from the numeric conventions in testdata into a folder the C library
// is pointed at: the system need not have any locale but C.
class DecimalSeparator : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::filesystem::path data = std::filesystem::path(ZEMBRIX_TEST_DATA_DIR) / "locales";
        std::filesystem::create_directories(folder());
        for (const char* name : {"english", "comma"}) {
            // localedef warns about the categories a numeric-only locale leaves out, and says so in
            // its exit status; whether the locale loads is the test.
            const std::string command = "localedef -c -i '" + (data / (std::string(name) + ".numeric")).string() +
                                        "' -f '" + (data / "marks.charmap").string() + "' '" +
                                        (folder() / name).string() + "' >/dev/null 2>&1";
            (void)std::system(command.c_str());
        }
        for (const char* name : {"LOCPATH", "LC_ALL"}) {
            if (const char* value = std::getenv(name))
                saved()[name] = value;
        }
        setenv("LOCPATH", folder().c_str(), 1);
    }
    static void TearDownTestSuite() {
        for (const char* name : {"LOCPATH", "LC_ALL"}) {
            if (saved().contains(name))
                setenv(name, saved()[name].c_str(), 1);
            else
                unsetenv(name);
        }
        setUserDecimalSeparator(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(folder(), ignored);
    }
    static std::map<std::string, std::string>& saved() {
        static std::map<std::string, std::string> values;
        return values;
    }
    // A folder per process: ctest runs these tests side by side, each compiling the locales anew.
    static std::filesystem::path folder() {
        const std::string name = "longdivision-locales-" + std::to_string(getpid());
        return std::filesystem::path(::testing::TempDir()) / name;
    }
};

TEST_F(DecimalSeparator, FollowsTheNumericConventions) {
    EXPECT_EQ(decimalSeparatorOfLocale("C"), ".");
    EXPECT_EQ(decimalSeparatorOfLocale("english"), ".");
    EXPECT_EQ(decimalSeparatorOfLocale("comma"), ",");
    EXPECT_EQ(decimalSeparatorOfLocale("no_SUCH.locale"), std::nullopt);
    // The environment's, as the user set it.
    setenv("LC_ALL", "comma", 1);
    EXPECT_EQ(decimalSeparatorOfLocale(""), ",");
    setenv("LC_ALL", "english", 1);
    EXPECT_EQ(decimalSeparatorOfLocale(""), ".");
}

TEST_F(DecimalSeparator, ThePointIsWrittenWithIt) {
    setUserDecimalSeparator(",");
    EXPECT_EQ(ExprViewSoloistDigits::localizedDecimalString(), ",");
    testing::PlaygroundStage stage;
    const auto view = ExprViewSoloistDigits::create(ExprSoloist::soloWithCoef(12), *stage.playgroundView);
    EXPECT_EQ(view->dotView()->text(), ",");
    setUserDecimalSeparator(std::nullopt);
    EXPECT_EQ(ExprViewSoloistDigits::localizedDecimalString(), userDecimalSeparator());
}

} // namespace
} // namespace zm
