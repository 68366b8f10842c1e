#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/PixelTesting.h"

#include <array>
#include <limits>
#include <numbers>
#include <utility>

#include <gtest/gtest.h>

namespace gfx {
namespace {

using namespace testing_pixels;

constexpr float kPi = std::numbers::pi_v<float>;
const core::Color kRedColor = core::Color::rgba(1, 0, 0);
const core::Color kBlueColor = core::Color::rgba(0, 0, 1);

// A 20 x 20 point picture at scale 1, unless a test asks for another.
class CanvasTest : public testing::Test {
protected:
    ImageContext m_context{{20, 20}, 1};
    Canvas& m_canvas = m_context.canvas();
    const Bitmap& m_pixels = m_context.bitmap();
};

TEST_F(CanvasTest, DrawsInPointsAtTheScaleWithYGrowingDownward) {
    ImageContext context({10, 10}, 2);
    context.canvas().setFillColor(kRedColor);
    context.canvas().fillRect({1, 1, 3, 2}); // pixels 2 to 7 across, 2 to 5 down
    const Bitmap& pixels = context.bitmap();
    EXPECT_EQ(pixels.width(), 20);
    EXPECT_TRUE(pixelNear(pixels, 2, 2, kRed));
    EXPECT_TRUE(pixelNear(pixels, 7, 5, kRed));
    for (auto [x, y] : std::array<std::pair<int, int>, 4>{{{1, 1}, {8, 5}, {7, 6}, {2, 18}}}) {
        EXPECT_TRUE(pixelNear(pixels, x, y, kClear));
    }
}

TEST_F(CanvasTest, ThePaintedBoundsHoldEveryPaintedPixel) {
    EXPECT_TRUE(m_pixels.paintedBounds().isEmpty());
    m_canvas.setFillColor(kRedColor.withAlpha(0.02f));
    m_canvas.fillRect({3, 4, 1, 1});
    m_canvas.fillRect({12, 15, 2, 1});
    m_canvas.fillRect({7, 2, 1, 1});
    EXPECT_EQ(m_pixels.paintedBounds(), (core::Rect{3, 2, 11, 14}));
    m_canvas.fillRect({19, 19, 1, 1});
    EXPECT_EQ(m_pixels.paintedBounds(), (core::Rect{3, 2, 17, 18}));
}

TEST_F(CanvasTest, APictureIsOpaqueOnlyWhenEveryPixelIs) {
    EXPECT_FALSE(m_pixels.isOpaque());
    m_canvas.setFillColor(kRedColor);
    m_canvas.fillRect({0, 0, 20, 20});
    EXPECT_TRUE(m_pixels.isOpaque());
    // One pixel short of opaque, in the last row.
    m_canvas.clipToRect({19, 19, 1, 1});
    m_canvas.setBlendMode(BlendMode::DestinationIn);
    m_canvas.setFillColor(kRedColor.withAlpha(0.99f));
    m_canvas.fillRect({19, 19, 1, 1});
    EXPECT_EQ(m_pixels.pixel(18, 19).alpha, 255);
    EXPECT_FALSE(m_pixels.isOpaque());
    EXPECT_FALSE(Bitmap::create(0, 5)->isOpaque());
}

// The picture a context hands over holds what was drawn, whether copied or taken; a copy does not
// follow later drawing, and a context without pixels gives no picture.
TEST_F(CanvasTest, AContextHandsOverWhatItDrew) {
    m_canvas.setFillColor(kRedColor);
    m_canvas.fillRect({2, 2, 4, 4});
    const std::shared_ptr<const Image> copy = m_context.image();
    m_canvas.setFillColor(kBlueColor);
    m_canvas.fillRect({10, 10, 4, 4});
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(pixelNear(copy->bitmap(), 3, 3, kRed));
    EXPECT_TRUE(pixelNear(copy->bitmap(), 11, 11, kClear));
    const std::shared_ptr<const Image> taken = std::move(m_context).takeImage();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->pixelWidth(), 20);
    EXPECT_TRUE(pixelNear(taken->bitmap(), 3, 3, kRed));
    EXPECT_TRUE(pixelNear(taken->bitmap(), 11, 11, kBlue));
    EXPECT_EQ(ImageContext({0, 5}, 1).takeImage(), nullptr);
}

TEST_F(CanvasTest, FillRulesDecideAboutNestedShapes) {
    Path nested = Path::rect({0, 0, 20, 20});
    nested.addPath(Path::rect({5, 5, 10, 10}));
    m_canvas.setFillColor(kRedColor);
    m_canvas.fillPath(nested, FillRule::EvenOdd);
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kClear));
    EXPECT_TRUE(pixelNear(m_pixels, 2, 2, kRed));
    m_canvas.fillPath(nested, FillRule::NonZero);
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kRed));
}

TEST_F(CanvasTest, StrokesWithWidthCapsAndDashes) {
    Path line;
    line.moveTo({4, 10});
    line.lineTo({16, 10});
    m_canvas.setStrokeColor(kRedColor);
    m_canvas.setLineWidth(4);
    m_canvas.strokePath(line);
    EXPECT_TRUE(pixelNear(m_pixels, 10, 8, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 10, 12, kClear));
    EXPECT_TRUE(pixelNear(m_pixels, 3, 10, kClear)); // butt caps end at the end points
    m_canvas.setLineCap(LineCap::Square);
    m_canvas.strokePath(line);
    EXPECT_TRUE(pixelNear(m_pixels, 3, 10, kRed));

    ImageContext dashed({20, 4}, 1);
    dashed.canvas().setStrokeColor(kRedColor);
    dashed.canvas().setLineWidth(2);
    dashed.canvas().setLineDash({2, 2});
    Path across;
    across.moveTo({0, 2});
    across.lineTo({20, 2});
    dashed.canvas().strokePath(across);
    EXPECT_TRUE(pixelNear(dashed.bitmap(), 1, 2, kRed));
    EXPECT_TRUE(pixelNear(dashed.bitmap(), 3, 2, kClear));
    EXPECT_TRUE(pixelNear(dashed.bitmap(), 5, 2, kRed));
    dashed.canvas().setLineDash({-1, 2}); // not a pattern: solid
    dashed.canvas().strokePath(across);
    EXPECT_TRUE(pixelNear(dashed.bitmap(), 3, 2, kRed));
}

TEST_F(CanvasTest, ClipsUntilRestored) {
    m_canvas.setFillColor(kRedColor);
    m_canvas.save();
    m_canvas.clipToRect({0, 0, 10, 20});
    EXPECT_EQ(m_canvas.clipBounds(), core::Rect(0, 0, 10, 20));
    m_canvas.fillRect({0, 0, 20, 20});
    EXPECT_TRUE(pixelNear(m_pixels, 5, 5, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 15, 5, kClear));
    m_canvas.restore();
    m_canvas.restore(); // one too many: nothing happens
    m_canvas.fillRect({0, 0, 20, 20});
    EXPECT_TRUE(pixelNear(m_pixels, 15, 5, kRed));
}

// A picture drawn again only where it changed keeps the rest: what a clip lets through must be what
// drawing without it gives there.
TEST_F(CanvasTest, AStrokeCutByAClipDrawsTheSamePixelsInsideIt) {
    auto draw = [](Canvas& canvas) {
        Path zigzag;
        zigzag.moveTo({2, 3});
        zigzag.lineTo({9, 17});
        zigzag.lineTo({18, 1});
        canvas.setStrokeColor(kBlueColor.withAlpha(0.8f));
        canvas.setLineWidth(3.3f);
        canvas.strokePath(zigzag);
    };
    ImageContext whole({20, 20}, 2);
    draw(whole.canvas());
    for (const core::Rect& clip : {core::Rect{0, 0, 8.5f, 20}, core::Rect{5, 9, 10, 4}, core::Rect{9, 0, 11, 6}}) {
        ImageContext cut({20, 20}, 2);
        cut.canvas().clipToRect(clip);
        draw(cut.canvas());
        for (int y = int(clip.minY() * 2); y < int(clip.maxY() * 2); ++y) {
            for (int x = int(clip.minX() * 2); x < int(clip.maxX() * 2); ++x)
                ASSERT_EQ(cut.bitmap().pixel(x, y), whole.bitmap().pixel(x, y)) << x << ", " << y;
        }
    }
}

TEST_F(CanvasTest, TransformsApplyToWhatIsDrawnNext) {
    m_canvas.translate(10, 0);
    m_canvas.rotate(kPi / 2); // (x, y) -> (10 - y, x)
    m_canvas.setFillColor(kRedColor);
    m_canvas.fillRect({0, 0, 5, 2});
    EXPECT_TRUE(pixelNear(m_pixels, 9, 3, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 2, 1, kClear));
    const core::Point corner = m_canvas.transform().apply({5, 2});
    EXPECT_NEAR(corner.x, 8, 1e-4);
    EXPECT_NEAR(corner.y, 5, 1e-4);
    // Set anew, the transform holds nothing of the turn.
    m_canvas.setTransform(core::AffineTransform::makeTranslation(0, 10));
    m_canvas.fillRect({0, 0, 5, 2});
    EXPECT_TRUE(pixelNear(m_pixels, 2, 11, kRed));
    EXPECT_EQ(m_canvas.transform().apply({1, 1}), (core::Point{1, 11}));
}

TEST_F(CanvasTest, AlphaMultipliesEverythingDrawn) {
    m_canvas.setAlpha(0.5f);
    m_canvas.setFillColor(core::Color::white());
    m_canvas.fillRect({0, 0, 10, 10});
    EXPECT_TRUE(pixelNear(m_pixels, 5, 5, {128, 128, 128, 128}, 1));
    m_canvas.setFillColor(core::Color::white(1, 0.5f));
    m_canvas.fillRect({10, 0, 10, 10});
    EXPECT_TRUE(pixelNear(m_pixels, 15, 5, {64, 64, 64, 64}, 1));
}

struct Extension {
    GradientExtension extension;
    Pixel before;
    Pixel after;
};

TEST_F(CanvasTest, LinearGradientsPaintPastTheirEndsOnlyWhenAsked) {
    const Gradient redToBlue{{{0, kRedColor}, {1, kBlueColor}}};
    for (const Extension& e :
         {Extension{{}, kClear, kClear}, Extension{{true, false}, kRed, kClear},
          Extension{{false, true}, kClear, kBlue}, Extension{{true, true}, kRed, kBlue}}) {
        ImageContext context({20, 2}, 1);
        context.canvas().drawLinearGradient(redToBlue, {5, 0}, {15, 0}, e.extension);
        EXPECT_TRUE(pixelNear(context.bitmap(), 2, 1, e.before));
        EXPECT_TRUE(pixelNear(context.bitmap(), 18, 1, e.after));
        EXPECT_TRUE(pixelNear(context.bitmap(), 10, 1, {128, 0, 128, 255}, 16));
    }
}

// The progress overlay's dimmed background: transparent in the middle, black at 0.75 at the
// radius and, continuing past the end, beyond it.
TEST_F(CanvasTest, RadialGradientsContinuePastTheEndWhenAsked) {
    const Gradient dim{{{0, core::Color::rgba(0, 0, 0, 0)}, {1, core::Color::rgba(0, 0, 0, 0.75f)}}};
    m_canvas.drawRadialGradient(dim, {10, 10}, 0, {10, 10}, 8, {.afterEnd = true});
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, {0, 0, 0, 17})); // its centre is 0.7 from the middle
    EXPECT_TRUE(pixelNear(m_pixels, 0, 0, {0, 0, 0, 191}));

    ImageContext rays({20, 20}, 1);
    rays.canvas().drawRadialGradient(dim, {10, 10}, 0, {10, 10}, 8);
    EXPECT_TRUE(pixelNear(rays.bitmap(), 0, 0, kClear));
    EXPECT_TRUE(pixelNear(rays.bitmap(), 10, 3, {0, 0, 0, 160}, 12));
}

TEST_F(CanvasTest, ShadowsFallAtTheirOffsetBeneathTheShape) {
    m_canvas.setShadow(Shadow{{0, 3}, 0, core::Color::black()});
    m_canvas.setFillColor(core::Color::white());
    m_canvas.fillRect({5, 5, 5, 5});
    EXPECT_TRUE(pixelNear(m_pixels, 7, 7, kWhite));  // the shape covers its shadow
    EXPECT_TRUE(pixelNear(m_pixels, 7, 11, kBlack)); // below the shape, its shadow
    EXPECT_TRUE(pixelNear(m_pixels, 7, 13, kClear));
    EXPECT_TRUE(pixelNear(m_pixels, 4, 11, kClear));
}

TEST_F(CanvasTest, ShadowsAreInBasePointsWhateverTheTransform) {
    ImageContext context({20, 20}, 2);
    Canvas& canvas = context.canvas();
    canvas.translate(10, 10);
    canvas.rotate(kPi);
    canvas.setShadow(Shadow{{0, 3}, 0, core::Color::black()});
    canvas.setFillColor(core::Color::white());
    canvas.fillRect({-2, -2, 4, 4}); // base points 8 to 12, shadow down to 15
    EXPECT_TRUE(pixelNear(context.bitmap(), 20, 28, kBlack));
    EXPECT_TRUE(pixelNear(context.bitmap(), 20, 14, kClear));
}

TEST_F(CanvasTest, BlurredShadowsFadeOut) {
    m_canvas.setShadow(Shadow{{0, 0}, 4, core::Color::black()});
    m_canvas.setFillColor(core::Color::white());
    m_canvas.fillRect({8, 8, 4, 4});
    const int near = m_pixels.pixel(10, 13).alpha;
    const int far = m_pixels.pixel(10, 15).alpha;
    EXPECT_GT(near, far);
    EXPECT_GT(far, 0);
    EXPECT_LT(near, 255);
    EXPECT_EQ(m_pixels.pixel(10, 19).alpha, 0);
}

TEST_F(CanvasTest, FlatteningTransformsAndBrokenPathsDrawNothing) {
    m_canvas.setFillColor(kRedColor);
    m_canvas.save();
    m_canvas.scaleBy(0, 1);
    m_canvas.fillRect({0, 0, 20, 20});
    m_canvas.drawText("x", *Font::named("Georgia", 12), {0, 0, 20, 20});
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kClear));
    m_canvas.restore();

    Path broken;
    broken.moveTo({0, 0});
    broken.lineTo({std::numeric_limits<float>::quiet_NaN(), 5});
    broken.lineTo({20, 20});
    m_canvas.fillPath(broken);
    m_canvas.strokePath(broken);
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kClear));

    m_canvas.fillRect({0, 0, 20, 20}); // the canvas still draws
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kRed));
}

TEST_F(CanvasTest, DestinationInKeepsOnlyWhatIsCovered) {
    m_canvas.setFillColor(kRedColor);
    m_canvas.fillRect({0, 0, 20, 20});
    m_canvas.setBlendMode(BlendMode::DestinationIn);
    m_canvas.setFillColor(core::Color::white(1, 0.5f));
    m_canvas.fillRect({0, 0, 10, 20});
    EXPECT_TRUE(pixelNear(m_pixels, 5, 5, {0, 0, 128, 128}, 1));
    EXPECT_TRUE(pixelNear(m_pixels, 15, 5, kClear));
}

std::shared_ptr<const Image> imageOf(std::initializer_list<Pixel> pixels, int width, float scale = 1) {
    std::vector<Pixel> data(pixels);
    return Image::fromPixels({reinterpret_cast<const std::uint8_t*>(data.data()), data.size() * 4}, width,
                             static_cast<int>(data.size()) / width, width * 4, PixelLayout::PremultipliedBGRA,
                             scale);
}

TEST_F(CanvasTest, ImagesAreScaledIntoTheirRectangle) {
    const auto redBlue = imageOf({kRed, kBlue}, 2);
    m_canvas.drawImage(*redBlue, {0, 0, 20, 10});
    EXPECT_TRUE(pixelNear(m_pixels, 0, 0, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 4, 9, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 19, 5, kBlue));
    EXPECT_TRUE(pixelNear(m_pixels, 10, 15, kClear));
}

// A picture of stripes in several colours, some translucent: smoothing shows between every two columns.
std::shared_ptr<const Image> stripes(int width, int height) {
    ImageContext context({float(width), float(height)}, 1);
    for (int x = 0; x < width; ++x) {
        const float part = float(x) / float(width);
        context.canvas().setFillColor(core::Color::rgba(part, x % 2 ? 0.8f : 0.1f, 1 - part, x % 3 ? 1 : 0.5f));
        context.canvas().fillRect({float(x), 0, 1, float(height) / 2});
        context.canvas().setFillColor(core::Color::rgba(1 - part, 0.5f, part));
        context.canvas().fillRect({float(x), float(height) / 2, 1, float(height) / 2});
    }
    return std::move(context).takeImage();
}

// A stretched picture drawn whole (a large one is drawn in bands of rows on several threads) has the
// pixels of the same picture drawn piece by piece into pictures of their own, as a partial repaint or a
// group cut to what changed draws it: how the drawing is cut moves nothing.
TEST_F(CanvasTest, AStretchedPictureComesOutTheSameHoweverItIsCut) {
    const struct {
        const char* name;
        int width, height; // of the picture
        core::Rect rect;
        float alpha, scale;
    } cases[] = {
        {"enlarged, fading, its edges between pixels", 13, 11, {10.5f, 15.25f, 670.3f, 470.6f}, 0.7f, 1},
        {"enlarged past the canvas, opaque", 301, 203, {-40.3f, -25.7f, 800, 560}, 1, 1},
        {"at scale 2", 64, 48, {3.25f, 2.5f, 340, 240}, 0.35f, 2},
        {"shrunk a little", 800, 600, {0.4f, 0.3f, 699, 499.5f}, 0.9f, 1},
        {"pixel for pixel", 650, 450, {20, 31, 650, 450}, 0.6f, 1},
    };
    const int width = 700;
    const int height = 500;
    const core::Color background = core::Color::rgba(0.2f, 0.6f, 0.3f, 0.8f);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::shared_ptr<const Image> picture = stripes(c.width, c.height);
        auto draw = [&](Canvas& canvas) {
            canvas.setFillColor(background);
            canvas.fillRect({-10, -10, 2000, 2000});
            canvas.setAlpha(c.alpha);
            canvas.drawImage(*picture, c.rect);
        };
        ImageContext whole({width / c.scale, height / c.scale}, c.scale);
        draw(whole.canvas());
        ASSERT_FALSE(pixelNear(whole.bitmap(), width / 2, height / 2, whole.bitmap().pixel(0, 0), 2));
        const int cellWidth = 97;
        const int cellHeight = 61;
        for (int top = 0; top < height; top += cellHeight) {
            for (int left = 0; left < width; left += cellWidth) {
                const int cw = std::min(cellWidth, width - left);
                const int ch = std::min(cellHeight, height - top);
                ImageContext cell({cw / c.scale, ch / c.scale}, c.scale);
                cell.canvas().translate(-left / c.scale, -top / c.scale);
                draw(cell.canvas());
                for (int y = 0; y < ch; ++y)
                    for (int x = 0; x < cw; ++x)
                        ASSERT_EQ(cell.bitmap().pixel(x, y), whole.bitmap().pixel(left + x, top + y))
                            << "at " << left + x << ", " << top + y;
            }
        }
    }
}

TEST_F(CanvasTest, CapInsetsKeepTheBordersUnscaled) {
    // Three by three pixels at scale 1: red corners, green edges, a blue middle.
    const auto tile =
        imageOf({kRed, kGreen, kRed, kGreen, kBlue, kGreen, kRed, kGreen, kRed}, 3)->resizable({1, 1, 1, 1});
    m_canvas.drawImage(*tile, {0, 0, 10, 10});
    EXPECT_TRUE(pixelNear(m_pixels, 0, 0, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 9, 9, kRed));
    EXPECT_TRUE(pixelNear(m_pixels, 1, 0, kGreen));
    EXPECT_TRUE(pixelNear(m_pixels, 8, 0, kGreen));
    EXPECT_TRUE(pixelNear(m_pixels, 0, 5, kGreen));
    EXPECT_TRUE(pixelNear(m_pixels, 1, 1, kBlue));
    EXPECT_TRUE(pixelNear(m_pixels, 8, 8, kBlue));
    EXPECT_TRUE(pixelNear(m_pixels, 10, 10, kClear));
    m_canvas.drawImage(*tile, {15, 15, 1, 1}); // smaller than its borders: they shrink
    EXPECT_TRUE(pixelNear(m_pixels, 15, 15, kRed, 128));
}

TEST_F(CanvasTest, TextIsDrawnInTheFillColourInsideItsRectangle) {
    const Font georgia = *Font::named("Georgia", 16);
    m_canvas.setFillColor(kRedColor);
    m_canvas.drawText("MMMMMMMM", georgia, {2, 2, 10, 16}, {.lineBreak = LineBreakMode::Clip, .maxLines = 1});
    int inked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const Pixel pixel = m_pixels.pixel(x, y);
            if (pixel.alpha > 0) {
                EXPECT_TRUE(x >= 2 && x < 12 && y >= 2 && y < 18) << x << ", " << y;
                EXPECT_EQ(pixel.blue, 0);
                ++inked;
            }
        }
    }
    EXPECT_GT(inked, 20);
}

// The topmost inked row of a text drawn alone.
int inkTop(std::string_view text, const Font& font) {
    ImageContext context({100, 100}, 1);
    context.canvas().drawText(text, font, {0, 0, 100, 100});
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (context.bitmap().pixel(x, y).alpha > 64) {
                return y;
            }
        }
    }
    return 100;
}

// Georgia's figures are old-style: 6 and 8 rise above the x-height that 0, 1 and 2 keep to.
TEST_F(CanvasTest, GeorgiaHasOldStyleFigures) {
    const Font georgia = *Font::named("Georgia", 60);
    EXPECT_LT(inkTop("6", georgia) + 5, inkTop("0", georgia));
    EXPECT_LT(inkTop("8", georgia) + 5, inkTop("2", georgia));
    EXPECT_EQ(inkTop("0", georgia), inkTop("x", georgia));
}

TEST_F(CanvasTest, TextAlignsWithinItsRectangle) {
    const Font georgia = *Font::named("Georgia", 12);
    m_canvas.drawText("1", georgia, {0, 0, 20, 20}, {.alignment = TextAlignment::Right});
    int leftmost = 20;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (m_pixels.pixel(x, y).alpha > 0) {
                leftmost = std::min(leftmost, x);
            }
        }
    }
    EXPECT_GT(leftmost, 12);
}

} // namespace
} // namespace gfx
