#include "platform/gfx/Canvas.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/ImageContext.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextView.h"
#include "platform/ui/TiledTextView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace ui {
namespace {

constexpr float kScale = 2;
// The tallest picture Cairo makes, in pixels.
constexpr float kLargestPicture = 32767;

std::string longText() {
    std::string text;
    for (int line = 1; line <= 1000; ++line)
        text += "Line " + std::to_string(line) + " of a text far taller than any picture\n";
    return text;
}

// Pixels where the two pictures differ by more than antialiasing does.
int differingPixels(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const gfx::Pixel p = a.pixel(x, y);
            const gfx::Pixel q = b.pixel(x, y);
            count += std::abs(p.red - q.red) > 3 || std::abs(p.green - q.green) > 3 ||
                     std::abs(p.blue - q.blue) > 3 || std::abs(p.alpha - q.alpha) > 3;
        }
    }
    return count;
}

int pixelsWhere(const gfx::Bitmap& bitmap, bool (*holds)(gfx::Pixel)) {
    int count = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x)
            count += holds(bitmap.pixel(x, y));
    }
    return count;
}

bool dark(gfx::Pixel p) {
    return p.red < 128 && p.green < 128 && p.blue < 128;
}

bool red(gfx::Pixel p) {
    return p.red > 200 && p.green < 100 && p.blue < 100;
}

// A text view over a text too tall for one picture at the scale it is drawn at.
class LongTextView : public ::testing::Test {
protected:
    void SetUp() override {
        view->setText(text);
        view->layoutIfNeeded();
    }

    const gfx::Bitmap& render() {
        view->layoutIfNeeded();
        picture = Renderer::snapshot(view->layer(), kScale);
        return picture->bitmap();
    }

    // The text drawn at once, as the view should show it scrolled to `offset`.
    std::shared_ptr<const gfx::Image> expected(float offset) const {
        const float inset = TextView::kTextInset;
        gfx::ImageContext context(view->bounds().size, kScale);
        context.canvas().setFillColor(core::Color::white());
        context.canvas().fillRect({{}, view->bounds().size});
        context.canvas().setFillColor(core::Color::black());
        context.canvas().drawText(
            gfx::AttributedText(text, view->font()),
            {inset, inset - offset, view->bounds().width() - 2 * inset, view->contentSize().height},
            {gfx::TextAlignment::Left, gfx::LineBreakMode::WordWrap, 0});
        return context.image();
    }

    std::string text = longText();
    std::shared_ptr<TextView> view = TextView::create({0, 0, 300, 200});
    std::shared_ptr<const gfx::Image> picture;
};

TEST_F(LongTextView, ShowsItsTextWhereverItIsScrolled) {
    const float end = std::floor(view->contentSize().height - view->bounds().height());
    ASSERT_GT(end * kScale, kLargestPicture);
    for (const float offset : {0.0f, std::round(end / 2), end}) {
        SCOPED_TRACE(offset);
        view->setContentOffset({0, offset});
        const gfx::Bitmap& shown = render();
        EXPECT_GT(pixelsWhere(shown, dark), 500);
        EXPECT_EQ(differingPixels(shown, expected(offset)->bitmap()), 0);
    }
}

TEST_F(LongTextView, DrawsOnlyTheBandsNearWhatShows) {
    view->setContentOffset({0, std::round(view->contentSize().height / 2)});
    render();
    const auto content = std::find_if(view->subviews().begin(), view->subviews().end(), [](const auto& sub) {
        return std::dynamic_pointer_cast<TiledTextView>(sub) != nullptr;
    });
    ASSERT_NE(content, view->subviews().end());
    // The bands over the view's height and half a band either side, and the caret.
    const auto most = size_t(std::ceil(view->bounds().height() / TiledTextView::kTileHeight)) + 2 + 1;
    EXPECT_LE((*content)->subviews().size(), most);
}

TEST_F(LongTextView, BandsShownAlreadyAreRedrawnWhenTheTextChanges) {
    view->setContentOffset({0, std::floor(view->contentSize().height - view->bounds().height())});
    ASSERT_GT(pixelsWhere(render(), dark), 500);

    view->setTextColor(core::Color::rgba(1, 0, 0));
    EXPECT_EQ(pixelsWhere(render(), dark), 0);
    EXPECT_GT(pixelsWhere(render(), red), 500);

    view->setText("");
    EXPECT_EQ(pixelsWhere(render(), red), 0);
}

} // namespace
} // namespace ui
