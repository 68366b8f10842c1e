#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/gfx/TextBlock.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace gfx {
namespace {

using namespace testing_pixels;

const core::Color kRedColor = core::Color::rgba(1, 0, 0);
const AttributedText kText("The quick brown fox jumps over the lazy dog, and then once more over the dog.",
                           *Font::named("Georgia", 12));
constexpr float kWidth = 80;
constexpr core::Size kPicture{100, 120};

// Where two pictures of the same size differ, in pixels.
int differingPixels(const Bitmap& a, const Bitmap& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Pixel p = a.pixel(x, y);
            const Pixel q = b.pixel(x, y);
            count += p.red != q.red || p.green != q.green || p.blue != q.blue || p.alpha != q.alpha;
        }
    }
    return count;
}

// The text drawn at once, in red, at (5, 5) within kWidth.
class TextBlockTest : public testing::Test {
protected:
    void SetUp() override {
        reference.canvas().setFillColor(kRedColor);
        reference.canvas().drawText(kText, {5, 5, kWidth, kPicture.height});
    }

    ImageContext reference{kPicture, 2};
    TextBlock block{kText, kWidth, {}, kRedColor};
};

TEST_F(TextBlockTest, MeasuresAndDrawsAsTextDrawnAtOnce) {
    EXPECT_EQ(block.size(), measureText(kText, kWidth));
    EXPECT_GT(block.size().height, 4 * 12) << "several lines";
    ImageContext drawn(kPicture, 2);
    drawn.canvas().drawText(block, {5, 5});
    EXPECT_EQ(differingPixels(drawn.bitmap(), reference.bitmap()), 0);
}

// A band of the text, clipped as a tile of a long text is: the same pixels inside, nothing outside.
TEST_F(TextBlockTest, ABandOfItShowsJustThatBand) {
    ImageContext band({kPicture.width, 20}, 2);
    band.canvas().translate(0, -30);
    band.canvas().drawText(block, {5, 5});
    const std::unique_ptr<Bitmap> expected = reference.bitmap().copy(0, 60, band.bitmap().width(), 40);
    EXPECT_EQ(differingPixels(band.bitmap(), *expected), 0);
}

TEST_F(TextBlockTest, TheCanvasAlphaApplies) {
    auto strongest = [](const Bitmap& bitmap) {
        int alpha = 0;
        for (int y = 0; y < bitmap.height(); ++y) {
            for (int x = 0; x < bitmap.width(); ++x)
                alpha = std::max(alpha, int(bitmap.pixel(x, y).alpha));
        }
        return alpha;
    };
    ImageContext faint(kPicture, 2);
    faint.canvas().setAlpha(0.5f);
    faint.canvas().drawText(block, {5, 5});
    EXPECT_EQ(strongest(reference.bitmap()), 255);
    EXPECT_NEAR(strongest(faint.bitmap()), 128, 2);
}

// The caret sits where the text before it ends, on the line the wrapping put it on; a point finds
// the nearest caret position on its own line.
TEST_F(TextBlockTest, CaretsSitAfterTheTextBeforeThemOnTheirLine) {
    const Font font = *Font::named("Georgia", 12);
    const std::string& text = kText.runs().front().text;
    const float line = font.lineHeight();
    EXPECT_EQ(block.caretAt(0), core::Point(0, 0));
    EXPECT_NEAR(block.caretAt(3).x, measureText("The", font).width, 0.05);
    EXPECT_EQ(block.caretAt(3).y, 0);
    // The first word that does not fit starts the second line.
    size_t second = 0;
    while (block.caretAt(second + 1).y == 0)
        ++second;
    ++second;
    EXPECT_EQ(text[second - 1], ' ');
    EXPECT_NEAR(block.caretAt(second).y, line, 0.5);
    EXPECT_EQ(block.caretAt(second).x, 0);
    EXPECT_GT(block.caretAt(text.size()).y, 3 * line) << "the end, on the last line";
    EXPECT_EQ(block.caretAt(text.size() + 10), block.caretAt(text.size()));

    for (size_t index : {size_t(0), size_t(3), second, second + 2, text.size()}) {
        const core::Point at = block.caretAt(index);
        EXPECT_EQ(block.indexAt({at.x + 0.5f, at.y + line / 2}), index) << index;
    }
    // Past the end of a wrapped line the caret stays on that line, before its last space.
    EXPECT_EQ(block.indexAt({kWidth + 20, line / 2}), second - 1);
    EXPECT_EQ(block.indexAt({-5, -5}), 0u);
    EXPECT_EQ(block.indexAt({kWidth, 100 * line}), text.size());

    const TextBlock centred(AttributedText("ab", font), 100, {TextAlignment::Center, LineBreakMode::WordWrap, 0});
    EXPECT_NEAR(centred.caretAt(0).x, (100 - measureText("ab", font).width) / 2, 0.05);
}

} // namespace
} // namespace gfx
