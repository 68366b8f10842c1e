#include "platform/gfx/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/Snapshot.h"
#include "shell/controls/FlatPillButton.h"

#include <vector>

#include <gtest/gtest.h>

namespace zm {
namespace {

using ui::ControlState;

// A pill of 100 x 40 points without a title, so that only the pill is drawn.
std::shared_ptr<FlatPillButton> pill(const core::Color* normal = nullptr) {
    auto button = FlatPillButton::createFromInterfaceFile();
    button->setFrame({0, 0, 100, 40});
    if (normal)
        button->setTitleColor(*normal, ControlState::Normal);
    return button;
}

gfx::Pixel at(FlatPillButton& button, int x, int y) {
    return ui::snapshotImage(button)->bitmap().pixel(x, y);
}

constexpr gfx::Pixel kClear{0, 0, 0, 0};
constexpr gfx::Pixel kRed{0, 0, 255, 255};
constexpr gfx::Pixel kBlue{255, 0, 0, 255};
constexpr gfx::Pixel kBlack{0, 0, 0, 255};
constexpr gfx::Pixel kInnerPill{102, 102, 102, 102}; // white at 40 %, premultiplied

TEST(FlatPillButton, TheOutlineTakesTheTitleColourOfTheStateAndTheInnerPillShowsOnlyWhilePressed) {
    const core::Color red = core::Color::rgba(1, 0, 0);
    const struct {
        const char* name;
        bool highlighted, selected, enabled;
        bool disabledColor;
        gfx::Pixel outline, inside;
    } cases[] = {
        {"normal", false, false, true, false, kRed, kClear},
        {"pressed", true, false, true, false, kRed, kInnerPill},
        {"selected", false, true, true, false, kRed, kClear},
        {"selected and pressed", true, true, true, false, kRed, kClear},
        {"disabled", false, false, false, true, kBlue, kClear},
        {"disabled without a colour", false, false, false, false, kBlack, kClear},
    };
    for (const auto& test : cases) {
        auto button = pill(&red);
        if (test.disabledColor)
            button->setTitleColor(core::Color::rgba(0, 0, 1), ControlState::Disabled);
        button->setHighlighted(test.highlighted);
        button->setSelected(test.selected);
        button->setEnabled(test.enabled);
        // The regular outline is 2 points wide along the bounds inset by 2: rows 1 and 2 at the top.
        EXPECT_EQ(at(*button, 50, 1), test.outline) << test.name;
        EXPECT_EQ(at(*button, 50, 2), test.outline) << test.name;
        EXPECT_EQ(at(*button, 50, 0), kClear) << test.name;
        // The inner pill is inset by 5.
        EXPECT_EQ(at(*button, 50, 4), kClear) << test.name;
        EXPECT_EQ(at(*button, 50, 20), test.inside) << test.name;
        EXPECT_EQ(at(*button, 50, 5), test.inside) << test.name;
    }
}

TEST(FlatPillButton, NoTitleColourDrawsABlackOutline) {
    auto button = pill();
    EXPECT_EQ(at(*button, 50, 1), kBlack);
}

TEST(FlatPillButton, TheVariantsSetTheLineWidthAndTheInsets) {
    // The alpha of the first rows down the middle of a pressed pill: the outline, a gap, the inner pill
    // (edges that fall inside a row cover it in part).
    const struct {
        const char* name;
        bool bold, thin;
        float width;
        std::vector<int> rows;
    } cases[] = {
        {"regular", false, false, 2, {0, 255, 255, 0, 0, 102, 102}},
        {"thin", false, true, 1, {128, 128, 51, 102, 102}},
        {"bold", true, false, 3, {0, 128, 255, 255, 128, 0, 0, 51, 102, 102}},
        {"bold and thin", true, true, 3, {0, 128, 255, 255, 128, 0, 0, 51, 102, 102}},
    };
    const core::Color red = core::Color::rgba(1, 0, 0);
    for (const auto& test : cases) {
        auto button = pill(&red);
        button->setBold(test.bold);
        button->setThin(test.thin);
        button->setHighlighted(true);
        EXPECT_EQ(button->lineWidth(), test.width) << test.name;
        for (size_t row = 0; row < test.rows.size(); ++row)
            EXPECT_NEAR(at(*button, 50, int(row)).alpha, test.rows[row], 12) << test.name << " row " << row;
    }
}

TEST(FlatPillButton, TheEndsAreHalfCirclesAtEverySize) {
    const core::Color red = core::Color::rgba(1, 0, 0);
    auto button = pill(&red);
    // Ten points down, the left end of a 40-point pill is 5 points in; of a 60-point pill, 10.
    EXPECT_GT(at(*button, 5, 10).alpha, 100);
    EXPECT_EQ(at(*button, 10, 10), kClear);
    EXPECT_EQ(at(*button, 2, 20).red, 255);
    button->setFrame({0, 0, 100, 60});
    EXPECT_GT(at(*button, 10, 10).alpha, 100);
    EXPECT_EQ(at(*button, 5, 10), kClear);
    EXPECT_EQ(at(*button, 50, 57).red, 255);
}

TEST(FlatPillButton, MadeInCodeItIsBlackTurningWhiteWithRoomBesideTheTitle) {
    auto button = FlatPillButton::button();
    EXPECT_EQ(button->titleColor(ControlState::Normal), core::Color::black());
    EXPECT_EQ(button->titleColor(ControlState::Highlighted), core::Color::white());
    EXPECT_EQ(button->titleEdgeInsets(), (ui::EdgeInsets{0, 8, 0, 8}));
    auto fromFile = FlatPillButton::createFromInterfaceFile();
    EXPECT_FALSE(fromFile->titleColor(ControlState::Normal));
    EXPECT_EQ(fromFile->titleEdgeInsets(), ui::EdgeInsets{});

    button->setFrame({0, 0, 100, 40});
    button->setTitle("Go");
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel().textColor(), core::Color::white());
    EXPECT_EQ(at(*button, 50, 1), kBlack);
    EXPECT_EQ(at(*button, 10, 20), kInnerPill);
}

} // namespace
} // namespace zm
