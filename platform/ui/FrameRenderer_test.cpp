#include "platform/ui/FrameRenderer.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/PixelTesting.h"
#include "platform/ui/GradientLayer.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ShapeLayer.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewAnimation.h"

#include <cstring>
#include <functional>
#include <numbers>
#include <string>

namespace ui {
namespace {

const core::Color red = core::Color::rgba(1, 0, 0);
const core::Color green = core::Color::rgba(0, 1, 0);
const core::Color blue = core::Color::rgba(0, 0, 1);
constexpr float kScale = 2;

// A view that draws a card of its own: a shadowed round rectangle and a line of text.
class Card : public View {
public:
    static std::shared_ptr<Card> make(const core::Rect& frame) { return std::shared_ptr<Card>(new Card(frame)); }
    void setText(std::string text) {
        m_text = std::move(text);
        setNeedsDisplay();
    }

protected:
    void draw(gfx::Canvas& canvas) override {
        canvas.save();
        canvas.setShadow(gfx::Shadow{{1, 2}, 3});
        canvas.setFillColor(core::Color::rgba(1, 1, 0.8f));
        canvas.fillPath(gfx::Path::roundedRect(bounds().insetBy(4, 4), 5));
        canvas.restore();
        canvas.setFillColor(blue);
        canvas.drawText(m_text, gfx::Font::system(9), bounds().insetBy(6, 6));
    }

private:
    explicit Card(const core::Rect& frame)
        : View(frame) {}
    std::string m_text = "x + 2 = 5";
};

// A view whose drawing hides everything under it.
class Sheet : public View {
public:
    static std::shared_ptr<Sheet> make(const core::Rect& frame) { return std::shared_ptr<Sheet>(new Sheet(frame)); }

protected:
    void draw(gfx::Canvas& canvas) override {
        canvas.setFillColor(core::Color::rgba(0.9f, 0.9f, 0.8f));
        canvas.fillRect(bounds());
        canvas.setFillColor(blue);
        canvas.drawText("3x - 1", gfx::Font::system(9), bounds().insetBy(4, 4));
    }

private:
    explicit Sheet(const core::Rect& frame)
        : View(frame) {}
};

// A layer that counts the times it is drawn.
class CountedLayer : public Layer {
public:
    static std::shared_ptr<CountedLayer> make() { return std::shared_ptr<CountedLayer>(new CountedLayer); }
    void drawContent(gfx::Canvas& canvas) const override {
        ++draws;
        canvas.setFillColor(green);
        canvas.fillRect(bounds());
    }
    core::Rect drawingExtents() const override { return bounds(); }

    mutable int draws = 0;

private:
    CountedLayer() = default;
};

// A screen of layers of every kind, drawn frame after frame by one renderer.
class FrameRendererTest : public testing::AnimationFixture {
protected:
    FrameRendererTest() {
        root->setBackgroundColor(core::Color::rgba(0.2f, 0.3f, 0.4f));
        swatch->setBackgroundColor(red);
        root->addSubview(swatch);
        root->addSubview(card);
        group->setAlpha(0.6f);
        for (const core::Rect& frame : {core::Rect{0, 0, 30, 30}, core::Rect{15, 15, 30, 30}}) {
            auto part = View::create(frame);
            part->setBackgroundColor(green);
            group->addSubview(part);
        }
        root->addSubview(group);
        masked->setBackgroundColor(red);
        auto mask = GradientLayer::create();
        mask->setFrame({0, 0, 40, 30});
        mask->setColors({core::Color::white(1, 0), core::Color::white(1, 1)});
        masked->layer().setMask(mask);
        root->addSubview(masked);
        root->addSubview(sheet);
        gfx::Path zigzag;
        zigzag.moveTo({0, 0});
        zigzag.lineTo({20, 25});
        zigzag.lineTo({40, 0});
        shape->setFrame({100, 100, 40, 25});
        shape->setPath(zigzag);
        shape->setFillColor(std::nullopt);
        shape->setStrokeColor(core::Color::white());
        shape->setLineWidth(3);
        root->layer().addSublayer(shape);
        turned->setBackgroundColor(blue);
        turned->setTransform(core::AffineTransform::makeRotation(0.3f));
        root->addSubview(turned);
        // A small picture of stripes, stretched over much of the screen and fading (a zoom's snapshot).
        std::shared_ptr<gfx::Bitmap> stripes = gfx::Bitmap::create(13, 11);
        gfx::Canvas painter(*stripes, 1);
        for (int x = 0; x < 13; x += 2) {
            painter.setFillColor(core::Color::rgba(float(x) / 13, 0.5f, 1 - float(x) / 13));
            painter.fillRect({float(x), 0, 1, 11});
        }
        picture->layer().setContents(std::make_shared<gfx::Image>(stripes, 1));
        picture->setAlpha(0.7f);
        root->insertSubview(picture, 0);
    }

    // Draws the next frame; what it repainted.
    std::vector<core::Rect> nextFrame() { return renderer.render(root->layer(), *frame, kScale); }

    // Whether the frame is what drawing the whole screen afresh gives, to the byte.
    ::testing::AssertionResult frameIsWhole() {
        const std::unique_ptr<gfx::Bitmap> fresh = gfx::Bitmap::create(frame->width(), frame->height());
        gfx::Canvas canvas(*fresh, kScale);
        Renderer::render(root->layer(), canvas);
        for (int y = 0; y < frame->height(); ++y) {
            for (int x = 0; x < frame->width(); ++x) {
                if (!(frame->pixel(x, y) == fresh->pixel(x, y)))
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                                         << frame->pixel(x, y) << ", drawn afresh "
                                                         << fresh->pixel(x, y);
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::shared_ptr<View> root = View::create({0, 0, 200, 150});
    std::shared_ptr<View> swatch = View::create({10, 10, 20, 20});
    std::shared_ptr<Card> card = Card::make({40, 10, 70, 40});
    std::shared_ptr<View> group = View::create({120, 10, 45, 45});
    std::shared_ptr<View> masked = View::create({10, 60, 40, 30});
    // Opaque, with edges between pixels, under the stroke and over the others.
    std::shared_ptr<Sheet> sheet = Sheet::make({55.5f, 62.25f, 70, 50});
    std::shared_ptr<ShapeLayer> shape = ShapeLayer::create();
    std::shared_ptr<View> turned = View::create({150, 100, 30, 30});
    std::shared_ptr<View> picture = View::create({10.5f, 15.25f, 130, 130});
    std::unique_ptr<gfx::Bitmap> frame = gfx::Bitmap::create(400, 300);
    FrameRenderer renderer;
};

TEST_F(FrameRendererTest, EveryFrameIsWhatDrawingTheWholeScreenGives) {
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"nothing", [] {}},
        {"a colour", [&] { swatch->setBackgroundColor(green); }},
        {"a move", [&] { swatch->setCenter({90, 80}); }},
        {"a move under others", [&] { swatch->setCenter({60, 30}); }},
        {"a move under an opaque view", [&] { swatch->setCenter({90, 85}); }},
        {"a colour under an opaque view", [&] { swatch->setBackgroundColor(blue); }},
        {"an opaque view drawn again", [&] { sheet->setNeedsDisplay(); }},
        {"a translucent group moving over an opaque view", [&] { group->setCenter({100, 90}); }},
        {"an opaque view moving", [&] { sheet->setCenter({95, 80}); }},
        {"an opaque view fading", [&] { sheet->setAlpha(0.5f); }},
        {"an opaque view opaque again", [&] { sheet->setAlpha(1); }},
        {"a drawing", [&] { card->setText("2x = 6"); }},
        {"a shadowed drawing moving", [&] { card->setCenter({70, 110}); }},
        {"a part of a translucent group", [&] { group->subviews().front()->setBackgroundColor(red); }},
        {"a group's opacity", [&] { group->setAlpha(0.3f); }},
        {"a mask", [&] { masked->layer().mask()->setOpacity(0.5f); }},
        {"a mask taken away", [&] { masked->layer().setMask(nullptr); }},
        {"a stroke", [&] { shape->setLineWidth(6); }},
        {"a turn", [&] { turned->setTransform(core::AffineTransform::makeRotation(1.1f)); }},
        {"a view hidden", [&] { card->setHidden(true); }},
        {"a view shown", [&] { card->setHidden(false); }},
        {"a view brought to the front", [&] { root->bringSubviewToFront(*swatch); }},
        {"a view sent to the back", [&] { root->sendSubviewToBack(*group); }},
        {"a view taken away", [&] { masked->removeFromSuperview(); }},
        {"a view put back elsewhere", [&] { card->addSubview(masked); }},
        {"a clipping superview", [&] { card->setClipsToBounds(true); }},
        {"a superview moving its subviews", [&] { card->setCenter({120, 60}); }},
        {"a subview added", [&] {
             auto added = View::create({5, 5, 10, 10});
             added->setBackgroundColor(red);
             group->addSubview(added);
         }},
        {"a view faded out", [&] { group->setAlpha(0); }},
        {"a view faded in", [&] { group->setAlpha(1); }},
        {"a stretched picture fading", [&] { picture->setAlpha(0.4f); }},
        {"a stretched picture growing", [&] { picture->setTransform(core::AffineTransform::makeScale(1.7f, 1.7f)); }},
        {"a move over a stretched picture", [&] { swatch->setCenter({100, 70}); }},
    };
    nextFrame();
    ASSERT_TRUE(frameIsWhole());
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        change();
        nextFrame();
        EXPECT_TRUE(frameIsWhole());
    }
    // Frames in the middle of animations.
    animate({.duration = 1, .curve = AnimationCurve::Linear}, [&] {
        swatch->setCenter({180, 130});
        group->setAlpha(0.4f);
        turned->setTransform(core::AffineTransform::makeRotation(std::numbers::pi_v<float>));
        picture->setTransform(core::AffineTransform::makeScale(3, 3));
        picture->setAlpha(0.1f);
    });
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE("animation step " + std::to_string(step));
        advance(0.3);
        nextFrame();
        EXPECT_TRUE(frameIsWhole());
    }
}

TEST_F(FrameRendererTest, ALayerChangingAloneRepaintsItsAreaAndNoMore) {
    EXPECT_EQ(nextFrame(), std::vector<core::Rect>{core::Rect(0, 0, 400, 300)});
    EXPECT_TRUE(nextFrame().empty());

    swatch->setBackgroundColor(green);
    EXPECT_EQ(nextFrame(), std::vector<core::Rect>{core::Rect(20, 20, 40, 40)});

    // Where it was and where it is, each on its own when they lie apart.
    swatch->setCenter({100, 120});
    const std::vector<core::Rect> moved = nextFrame();
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0].united(moved[1]).intersected({20, 20, 40, 40}), core::Rect(20, 20, 40, 40));
    EXPECT_EQ(moved[0].united(moved[1]).intersected({180, 220, 40, 40}), core::Rect(180, 220, 40, 40));
    EXPECT_EQ(moved[0].width() * moved[0].height() + moved[1].width() * moved[1].height(), 2 * 40 * 40);

    // A subview of a screen-wide view costs its own area, coming and going.
    auto badge = View::create({150, 120, 10, 10});
    badge->setBackgroundColor(red);
    root->addSubview(badge);
    EXPECT_EQ(nextFrame(), std::vector<core::Rect>{core::Rect(300, 240, 20, 20)});
    badge->removeFromSuperview();
    EXPECT_EQ(nextFrame(), std::vector<core::Rect>{core::Rect(300, 240, 20, 20)});

    // Moving a view moves its subviews: their areas and its own.
    group->setCenter({142.5f, 52.5f});
    const std::vector<core::Rect> shifted = nextFrame();
    ASSERT_EQ(shifted.size(), 1u);
    EXPECT_EQ(shifted[0], core::Rect(240, 20, 90, 130));
}

TEST_F(FrameRendererTest, WhatAnOpaqueViewHidesIsNotDrawn) {
    const std::shared_ptr<CountedLayer> hidden = CountedLayer::make();
    hidden->setFrame(sheet->frame().insetBy(-10, -10));
    root->layer().insertSublayer(hidden, 0);
    auto badge = View::create({20, 20, 10, 10});
    badge->setBackgroundColor(red);
    sheet->addSubview(badge);
    nextFrame();
    nextFrame();
    const int draws = hidden->draws;

    badge->setBackgroundColor(green);
    nextFrame();
    EXPECT_EQ(hidden->draws, draws);
    EXPECT_TRUE(frameIsWhole());
    // Where the sheet does not hide it, it is drawn.
    sheet->setCenter({sheet->center().x, sheet->center().y + 1});
    nextFrame();
    EXPECT_GT(hidden->draws, draws);
    EXPECT_TRUE(frameIsWhole());
}

TEST_F(FrameRendererTest, AGroupsPictureIsLetGoOnceItShowsWhole) {
    nextFrame();
    EXPECT_GT(renderer.keptBytes(), 0);
    // The group ends opaque, as a screen that zoomed in fading does, and the mask goes: nothing is
    // composed apart any more.
    group->setAlpha(1);
    masked->layer().setMask(nullptr);
    nextFrame();
    EXPECT_EQ(renderer.keptBytes(), 0);
    EXPECT_TRUE(frameIsWhole());
}

TEST_F(FrameRendererTest, AnotherBitmapOrScaleIsDrawnWhole) {
    nextFrame();
    frame = gfx::Bitmap::create(400, 300);
    EXPECT_EQ(nextFrame(), std::vector<core::Rect>{core::Rect(0, 0, 400, 300)});
    EXPECT_TRUE(frameIsWhole());
}

} // namespace
} // namespace ui
