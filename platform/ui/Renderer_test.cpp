#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewAnimation.h"

#include <limits>
#include <numbers>

namespace ui {
namespace {

using namespace gfx::testing_pixels;

const core::Color red = core::Color::rgba(1, 0, 0);
const core::Color green = core::Color::rgba(0, 1, 0);
const core::Color blue = core::Color::rgba(0, 0, 1);

// A view that fills its bounds with one colour through draw(), counting its drawings.
class Swatch : public View {
public:
    static std::shared_ptr<Swatch> make(const core::Rect& frame, core::Color color) {
        return std::shared_ptr<Swatch>(new Swatch(frame, color));
    }
    int drawings = 0;

protected:
    void draw(gfx::Canvas& canvas) override {
        ++drawings;
        canvas.setFillColor(m_color);
        canvas.fillRect(bounds());
    }

private:
    Swatch(const core::Rect& frame, core::Color color)
        : View(frame)
        , m_color(color) {}
    core::Color m_color;
};

class RendererTest : public testing::AnimationFixture {
protected:
    const gfx::Bitmap& render(View& view, float scale = 1) {
        picture = Renderer::snapshot(view.layer(), scale);
        return picture->bitmap();
    }

    std::shared_ptr<View> root = View::create({0, 0, 100, 100});
    std::shared_ptr<const gfx::Image> picture;
};

TEST_F(RendererTest, BackgroundsStackInOrder) {
    root->setBackgroundColor(blue);
    auto top = View::create({10, 10, 20, 20});
    top->setBackgroundColor(red);
    root->addSubview(top);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_EQ(bitmap.width(), 100);
    EXPECT_TRUE(pixelNear(bitmap, 5, 5, kBlue));
    EXPECT_TRUE(pixelNear(bitmap, 15, 15, kRed));
    EXPECT_TRUE(pixelNear(bitmap, 30, 30, kBlue));
}

TEST_F(RendererTest, ScaleTwoDoublesThePixels) {
    auto top = View::create({10, 10, 20, 20});
    top->setBackgroundColor(red);
    root->addSubview(top);
    const gfx::Bitmap& bitmap = render(*root, 2);
    EXPECT_EQ(bitmap.width(), 200);
    EXPECT_TRUE(pixelNear(bitmap, 21, 21, kRed));
    EXPECT_TRUE(pixelNear(bitmap, 59, 59, kRed));
    EXPECT_TRUE(pixelNear(bitmap, 61, 61, kClear));
}

TEST_F(RendererTest, TransformsTurnAboutTheCentre) {
    // A 60 x 10 bar turned a quarter turn stands upright around (50, 50).
    auto bar = View::create({20, 45, 60, 10});
    bar->setBackgroundColor(green);
    bar->setTransform(core::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2));
    root->addSubview(bar);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_TRUE(pixelNear(bitmap, 50, 25, kGreen));
    EXPECT_TRUE(pixelNear(bitmap, 50, 75, kGreen));
    EXPECT_TRUE(pixelNear(bitmap, 25, 50, kClear));
}

TEST_F(RendererTest, ALayerOfItsOwnResolutionLandsInPlaceWithSofterEdges) {
    // The turned bar again, drawn at half a pixel per point onto a canvas of two: a quarter of its
    // resolution, stretched back into the same place.
    auto bar = View::create({20, 45, 60, 10});
    bar->setBackgroundColor(green);
    bar->setTransform(core::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2));
    bar->layer().setRasterizationScale(0.5f);
    root->addSubview(bar);
    const gfx::Bitmap& bitmap = render(*root, 2);
    EXPECT_TRUE(pixelNear(bitmap, 100, 50, kGreen));
    EXPECT_TRUE(pixelNear(bitmap, 100, 150, kGreen));
    EXPECT_TRUE(pixelNear(bitmap, 50, 100, kClear));
    // The sharp picture's edge is one pixel wide; the coarse one fades over several.
    int partial = 0;
    for (int x = 80; x < 100; ++x) {
        const uint8_t alpha = bitmap.pixel(x, 100).alpha;
        partial += alpha > 0 && alpha < 255;
    }
    EXPECT_GE(partial, 2);
}

TEST_F(RendererTest, OnlyAPositiveRasterizationScaleIsKept) {
    Layer& layer = root->layer();
    for (float scale :
         {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        layer.setRasterizationScale(scale);
        EXPECT_FALSE(layer.rasterizationScale()) << scale;
    }
    layer.setRasterizationScale(0.25f);
    EXPECT_EQ(layer.rasterizationScale(), 0.25f);
    layer.setRasterizationScale(std::nullopt);
    EXPECT_FALSE(layer.rasterizationScale());
}

TEST_F(RendererTest, HiddenAndClippedViews) {
    auto box = View::create({0, 0, 50, 50});
    box->setClipsToBounds(true);
    auto spill = View::create({25, 25, 50, 50});
    spill->setBackgroundColor(red);
    box->addSubview(spill);
    auto hidden = View::create({60, 60, 30, 30});
    hidden->setBackgroundColor(blue);
    hidden->setHidden(true);
    root->addSubview(box);
    root->addSubview(hidden);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_TRUE(pixelNear(bitmap, 40, 40, kRed));
    EXPECT_TRUE(pixelNear(bitmap, 55, 55, kClear)); // cut by the box
    EXPECT_TRUE(pixelNear(bitmap, 70, 70, kClear)); // hidden
}

TEST_F(RendererTest, ATranslucentViewFadesAsOne) {
    // Two overlapping opaque subviews of a half-transparent parent: the overlap is not darker.
    auto group = View::create({0, 0, 100, 100});
    group->setAlpha(0.5f);
    auto under = View::create({0, 0, 60, 60});
    under->setBackgroundColor(red);
    auto over = View::create({40, 40, 60, 60});
    over->setBackgroundColor(red);
    group->addSubview(under);
    group->addSubview(over);
    root->addSubview(group);
    const gfx::Bitmap& bitmap = render(*root);
    const gfx::Pixel half{0, 0, 128, 128};
    EXPECT_TRUE(pixelNear(bitmap, 20, 20, half));
    EXPECT_TRUE(pixelNear(bitmap, 50, 50, half));
    EXPECT_TRUE(pixelNear(bitmap, 80, 20, kClear));
}

TEST_F(RendererTest, DrawingIsKeptUntilItIsNeededAgain) {
    auto swatch = Swatch::make({10, 10, 30, 30}, green);
    root->addSubview(swatch);
    EXPECT_TRUE(pixelNear(render(*root), 20, 20, kGreen));
    EXPECT_TRUE(pixelNear(render(*root), 20, 20, kGreen));
    // One probe that found content, then one drawing.
    EXPECT_EQ(swatch->drawings, 2);
    swatch->setCenter({60, 60}); // moving needs no new drawing
    EXPECT_TRUE(pixelNear(render(*root), 60, 60, kGreen));
    EXPECT_EQ(swatch->drawings, 2);
    swatch->setNeedsDisplay();
    render(*root);
    EXPECT_EQ(swatch->drawings, 3);
}

TEST_F(RendererTest, ContentStretchesOrRedrawsWithItsSize) {
    auto swatch = Swatch::make({0, 0, 10, 10}, green);
    root->addSubview(swatch);
    render(*root);
    swatch->setFrame({0, 0, 50, 50});
    EXPECT_TRUE(pixelNear(render(*root), 45, 45, kGreen)); // the small drawing, stretched
    EXPECT_EQ(swatch->drawings, 2);
    swatch->setContentMode(ContentMode::Redraw);
    swatch->setFrame({0, 0, 80, 80});
    EXPECT_TRUE(pixelNear(render(*root), 75, 75, kGreen));
    EXPECT_EQ(swatch->drawings, 3);
}

TEST_F(RendererTest, PresentationValuesAreDrawn) {
    auto mover = View::create({0, 0, 20, 20});
    mover->setBackgroundColor(red);
    root->addSubview(mover);
    animate({.duration = 1, .curve = AnimationCurve::Linear}, [&] { mover->setCenter({90, 10}); });
    advance(0.5);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_TRUE(pixelNear(bitmap, 50, 10, kRed));
    EXPECT_TRUE(pixelNear(bitmap, 85, 10, kClear));
}

TEST_F(RendererTest, ShapeLayerStrokesOnlyUpToStrokeEnd) {
    auto shape = ShapeLayer::create();
    shape->setFrame({0, 0, 100, 100});
    gfx::Path line;
    line.moveTo({0, 50});
    line.lineTo({100, 50});
    shape->setPath(line);
    shape->setFillColor(std::nullopt);
    shape->setStrokeColor(blue);
    shape->setLineWidth(4);
    shape->setStrokeEnd(0.5f);
    root->layer().addSublayer(shape);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_TRUE(pixelNear(bitmap, 25, 50, kBlue));
    EXPECT_TRUE(pixelNear(bitmap, 75, 50, kClear));
}

TEST_F(RendererTest, AGradientMaskFadesTheLayer) {
    auto panel = View::create({0, 0, 100, 100});
    panel->setBackgroundColor(red);
    auto mask = GradientLayer::create();
    mask->setFrame({0, 0, 100, 100});
    mask->setColors({core::Color::white(1, 0), core::Color::white(1, 1)});
    panel->layer().setMask(mask);
    root->addSubview(panel);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_LT(bitmap.pixel(50, 2).alpha, 16);
    EXPECT_NEAR(bitmap.pixel(50, 50).alpha, 128, 8);
    EXPECT_GT(bitmap.pixel(50, 97).alpha, 240);
}

TEST_F(RendererTest, LayerContentsFillTheBounds) {
    gfx::ImageContext context({2, 2}, 1);
    context.canvas().setFillColor(green);
    context.canvas().fillRect({0, 0, 2, 2});
    auto holder = View::create({10, 10, 40, 40});
    holder->layer().setContents(context.image());
    root->addSubview(holder);
    const gfx::Bitmap& bitmap = render(*root);
    EXPECT_TRUE(pixelNear(bitmap, 45, 45, kGreen));
    EXPECT_TRUE(pixelNear(bitmap, 55, 55, kClear));
}

TEST_F(RendererTest, OddGeometryDrawsWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto broken = Swatch::make({nan, 0, 10, nan}, red);
    auto huge = Swatch::make({-1e9f, -1e9f, 2e9f, 2e9f}, green);
    auto faded = View::create({0, 0, 1e9f, 1e9f});
    faded->setAlpha(0.5f);
    faded->addSubview(View::create({0, 0, 10, 10}));
    auto flat = Swatch::make({0, 0, 10, 10}, blue);
    flat->setTransform(core::AffineTransform::makeScale(0, 1));
    for (const auto& view :
         {std::shared_ptr<View>(broken), std::shared_ptr<View>(huge), faded, std::shared_ptr<View>(flat)})
        root->addSubview(view);
    render(*root);
    EXPECT_EQ(picture->pixelWidth(), 100);
}

} // namespace
} // namespace ui
