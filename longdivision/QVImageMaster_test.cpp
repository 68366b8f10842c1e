#include "longdivision/QVImageMaster.h"

#include "platform/gfx/Image.h"
#include "platform/host/HeadlessHost.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/BundleImages.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Window.h"
#include "playground/testing/PlaygroundStage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(QVImageMaster, GoButton) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Tablet, 1});
    const auto button = QVImageMaster::makeGoButton();
    EXPECT_EQ(button->frame(), core::Rect(0, 0, 110, 70));
    EXPECT_EQ(button->title(ui::ControlState::Normal), "\u2713");
    EXPECT_EQ(button->titleColor(ui::ControlState::Normal), core::Color::white());
    EXPECT_EQ(button->titleLabel().font(), gfx::Font::system(44));
    ASSERT_TRUE(button->backgroundImage(ui::ControlState::Normal));
    EXPECT_EQ(button->backgroundImage(ui::ControlState::Normal)->capInsets(), (gfx::CapInsets{18, 5, 18, 5}));
    host.window().addSubview(button);
    const auto picture = testing::renderWindow(host, "longdivision-go-button");
    EXPECT_GT(testing::inkIn(*picture, {30, 10, 50, 50}), 50) << "the check mark shows";
}

TEST(QVImageMaster, EveryImageIsThere) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Tablet, 1});
    for (auto make : {QVImageMaster::unselectedSegmentImage, QVImageMaster::goButtonBackgroundImage,
                      QVImageMaster::whiteButtonBackgroundImage, QVImageMaster::paperBackgroundResizable,
                      QVImageMaster::paperBackgroundImage, QVImageMaster::paperBackgroundNoLinesImage,
                      QVImageMaster::blackBackButtonImage, QVImageMaster::bigSegmentImage}) {
        const auto image = make();
        ASSERT_TRUE(image);
        EXPECT_FALSE(image->capInsets().isZero() && image != QVImageMaster::bigSegmentImage());
        EXPECT_NE(make(), image) << "a new image every time";
        EXPECT_GE(image->size().height, image->capInsets().top + image->capInsets().bottom);
        EXPECT_GE(image->size().width, image->capInsets().left + image->capInsets().right);
    }
    for (const char* name : {"divider-left.png", "divider-left-black.png", "toolbarSlice", "segmentSelected.png",
                             "bigDividerImage"})
        EXPECT_TRUE(ui::imageNamed(name)) << name;
}

// Whether the image drawn into `frame` on the black window shows the image's own pixels in a corner of
// `width` x `height` pixels at the given corner (0 top-left, 1 bottom-right): the caps are not scaled.
::testing::AssertionResult cornerUnscaled(const gfx::Image& drawn, const core::Rect& frame, const gfx::Image& image,
                                          int width, int height, bool bottomRight) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int ix = bottomRight ? image.pixelWidth() - width + x : x;
            const int iy = bottomRight ? image.pixelHeight() - height + y : y;
            const int dx = int(bottomRight ? frame.maxX() - float(width) : frame.minX()) + x;
            const int dy = int(bottomRight ? frame.maxY() - float(height) : frame.minY()) + y;
            const gfx::Pixel source = image.bitmap().pixel(ix, iy);
            const gfx::Pixel shown = drawn.bitmap().pixel(dx, dy);
            if (std::abs(source.red - shown.red) > 3 || std::abs(source.green - shown.green) > 3 ||
                std::abs(source.blue - shown.blue) > 3)
                return ::testing::AssertionFailure() << "pixel " << x << ", " << y << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(QVImageMaster, StretchingKeepsTheCaps) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Tablet, 1});
    const auto image = QVImageMaster::goButtonBackgroundImage();
    const std::vector<core::Rect> frames{{10, 10, 60, 40}, {100, 10, 110, 70}, {250, 10, 200, 100}};
    for (const core::Rect& frame : frames) {
        auto view = ui::ImageView::create(frame);
        view->setImage(image);
        host.window().addSubview(view);
    }
    const auto picture = testing::renderWindow(host, "longdivision-go-backgrounds");
    for (const core::Rect& frame : frames) {
        EXPECT_TRUE(cornerUnscaled(*picture, frame, *image, 5, 18, false)) << frame.width();
        EXPECT_TRUE(cornerUnscaled(*picture, frame, *image, 5, 18, true)) << frame.width();
    }
}

TEST(QVImageMaster, BracketsAtThreeSizes) {
    host::HeadlessHost host(ui::Device{ui::Idiom::Tablet, 1});
    auto paper = ui::View::create({0, 300, 1024, 300});
    paper->setBackgroundColor(core::Color::white());
    host.window().addSubview(paper);
    const std::vector<core::Rect> frames{{20, 20, 12, 48}, {80, 20, 24, 96}, {160, 20, 45, 180}};
    for (const core::Rect& frame : frames) {
        auto light = ui::ImageView::create(frame);
        light->setImage(ui::imageNamed("divider-left.png"));
        host.window().addSubview(light);
        auto dark = ui::ImageView::create(frame.offsetBy(0, 300));
        dark->setImage(ui::imageNamed("divider-left-black.png"));
        host.window().addSubview(dark);
    }
    const auto picture = testing::renderWindow(host, "longdivision-brackets");
    for (const core::Rect& frame : frames) {
        EXPECT_GT(testing::inkIn(*picture, frame), int(frame.height())) << "white bracket " << frame.height();
        const core::Rect below = frame.offsetBy(0, 300);
        EXPECT_LT(testing::inkIn(*picture, below), int(below.width() * below.height() - frame.height()))
            << "black bracket " << frame.height();
    }
}

TEST(QVImageMaster, LongDivisionStyleFillsTheAppearanceTable) {
    ui::Device::setCurrent(ui::Device{ui::Idiom::Phone, 1});
    ui::Appearance::shared().reset();
    QVImageMaster::setLongDivisionStyle();
    using ui::AppearanceClass;
    using ui::ControlState;
    const ui::Appearance& look = ui::Appearance::shared();
    EXPECT_TRUE(look.backgroundImage({AppearanceClass::Toolbar, {}, ControlState::Normal}));
    EXPECT_TRUE(look.backgroundImage({AppearanceClass::SegmentedControl, {}, ControlState::Selected}));
    EXPECT_TRUE(look.dividerImage({AppearanceClass::SegmentedControl, {}, ControlState::Normal}));
    const auto normal = look.titleTextAttributes({AppearanceClass::SegmentedControl, {}, ControlState::Normal});
    ASSERT_TRUE(normal);
    EXPECT_EQ(normal->font.pointSize(), 18);
    EXPECT_TRUE(look.titleTextAttributes(
        {AppearanceClass::SegmentedControl, AppearanceClass::Toolbar, ControlState::Selected}));
    const auto disabled = look.titleTextAttributes({AppearanceClass::SegmentedControl, {}, ControlState::Disabled});
    ASSERT_TRUE(disabled);
    EXPECT_FLOAT_EQ(disabled->color.alpha(), 0.3f);
    ui::Appearance::shared().reset();
    ui::Device::setCurrent(ui::Device{ui::Idiom::Tablet, 1});
}

} // namespace
} // namespace zm
