#include "components/SettingsKit/STKSettingsCells.h"

#include "platform/gfx/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

std::shared_ptr<const gfx::Image> square(int side) {
    const std::vector<std::uint8_t> white(size_t(side * side * 4), 255);
    return gfx::Image::fromPixels(white, side, side, side * 4, gfx::PixelLayout::PremultipliedBGRA);
}

template <class Cell> void layOut(Cell& cell, float width = 320) {
    cell.setFrame({0, 0, width, 44});
    cell.layoutIfNeeded();
}

TEST(STKSettingsCells, ASliderBetweenTwoImagesKeepsToTheMiddle) {
    auto cell = STKPSSliderSpecifierViewCell::create("slider");
    layOut(*cell);
    const float width = cell->contentView().bounds().width();
    EXPECT_FLOAT_EQ(cell->slider().bounds().width(), width - 22);
    EXPECT_TRUE(cell->minImage().isHidden());

    cell->minImage().setImage(square(21));
    cell->maxImage().setImage(square(21));
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    EXPECT_FLOAT_EQ(cell->slider().bounds().width(), width - 22 - 64);
    EXPECT_FLOAT_EQ(cell->slider().center().x, width / 2);
    EXPECT_FLOAT_EQ(cell->minImage().center().x, 21.0f / 2 + 9);
    EXPECT_FLOAT_EQ(cell->maxImage().center().x, width - 21.0f / 2 - 10);
    EXPECT_FALSE(cell->maxImage().isHidden());
    cell->prepareForReuse();
    EXPECT_EQ(cell->minImage().image(), nullptr);
}

TEST(STKSettingsCells, ATextFieldFollowsItsTitle) {
    auto cell = STKPSTextFieldSpecifierViewCell::create("text");
    cell->textLabel().setText("A title far longer than any settings row should ever carry in its label");
    layOut(*cell, 600);
    const float width = cell->contentView().bounds().width();
    EXPECT_FLOAT_EQ(cell->textLabel().frame().width(), 240) << "a long title is capped";
    const float titleX = cell->textLabel().frame().minX();
    EXPECT_FLOAT_EQ(cell->textField().frame().minX(), titleX + 240 + 5);
    EXPECT_FLOAT_EQ(cell->textField().frame().maxX(), width - 10);

    cell->textField().setTextAlignment(gfx::TextAlignment::Right);
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    const float natural = cell->textLabel().sizeThatFits({10000, 44}).width;
    EXPECT_FLOAT_EQ(cell->textField().frame().minX(), titleX + natural + 5) << "after the uncapped title";

    cell->textLabel().setText("");
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    EXPECT_FLOAT_EQ(cell->textField().frame().minX(), 9);
    EXPECT_FLOAT_EQ(cell->textField().frame().width(), width - 18);
}

TEST(STKSettingsCells, ATitleWithoutValueTakesTheWidth) {
    auto cell = STKPSTitleValueSpecifierViewCell::create("value");
    cell->textLabel().setText("Version");
    layOut(*cell);
    const float width = cell->contentView().bounds().width();
    EXPECT_EQ(cell->textLabel().frame(), (core::Rect{9, 0, width - 19, 42}));

    cell->detailTextLabel().setText("1.0");
    cell->detailTextLabel().setTextAlignment(gfx::TextAlignment::Left);
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    const float natural = cell->textLabel().sizeThatFits({10000, 44}).width;
    EXPECT_FLOAT_EQ(cell->textLabel().frame().width(), natural);
    EXPECT_FLOAT_EQ(cell->detailTextLabel().frame().minX(), 9 + std::max(97.0f, natural + 5));
}

} // namespace
} // namespace zm
