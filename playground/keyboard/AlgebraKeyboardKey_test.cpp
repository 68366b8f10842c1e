#include "platform/gfx/Image.h"
#include "platform/ui/Label.h"
#include "playground/keyboard/AlgebraKeyboardKey.h"
#include "playground/keyboard/BigAlgebraKeyboardKey.h"
#include "playground/testing/KeyboardStage.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

TEST(AlgebraKeyboardKey, SignsSitTheirLabelsHigherOrLower) {
    struct Case {
        std::string key;
        float phone;
        float tablet;
    };
    const Case cases[] = {{"+", 5, 8}, {"-", 4, 6}, {"xyz", 4, 4}, {"*", -7, -10}, {"=", 4, 6},
                          {"(", 4, 6}, {")", 4, 6}, {"123", 0, 0}, {"x", 0, 0},    {"7", 0, 0},
                          {"^", 0, 0}, {"/", 0, 0}, {"", 0, 0}};
    for (ui::Idiom idiom : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        KeyboardStage stage(idiom);
        for (const Case& c : cases) {
            std::shared_ptr<AlgebraKeyboardKey> key = AlgebraKeyboardKey::create({0, 0, 40, 33});
            key->setKeyString(c.key);
            const float raise = idiom == ui::Idiom::Phone ? c.phone : c.tablet;
            EXPECT_EQ(key->label()->frame(), (core::Rect{0, 0, 40, 33 - raise})) << '"' << c.key << '"';
            EXPECT_EQ(key->label()->text(), c.key);
        }
    }
}

TEST(AlgebraKeyboardKey, KindsOfKeys) {
    KeyboardStage stage;
    std::shared_ptr<AlgebraKeyboardKey> key = AlgebraKeyboardKey::create({0, 0, 40, 33});
    EXPECT_TRUE(key->canPress());
    for (const char* text : {"xyz", "123"}) {
        key->setKeyString(text);
        EXPECT_TRUE(key->isSwitcherKey()) << text;
        EXPECT_FALSE(key->isDeleteKey()) << text;
    }
    key->setKeyString("");
    EXPECT_TRUE(key->isDeleteKey());
    key->setKeyString("x");
    EXPECT_FALSE(key->isDeleteKey() || key->isSwitcherKey());
}

// What a key looks like on screen, in window points at scale 1.
class KeyLook {
public:
    KeyLook(const gfx::Image& image, const AlgebraKeyboardKey& key)
        : m_image(image)
        , m_frame(key.convertRectToView(key.bounds(), nullptr)) {}

    // The face beside the label, at the middle of the left edge.
    gfx::Pixel face() const { return at(m_frame.minX() + 3, m_frame.midY()); }
    // Pixels of the face clearly darker than `limit` (on average over the channels): the text or symbol.
    int inkDarkerThan(int limit) const {
        int count = 0;
        const core::Rect area = m_frame.insetBy(2, 3).integral();
        for (int y = int(area.minY()); y < int(area.maxY()); ++y) {
            for (int x = int(area.minX()); x < int(area.maxX()); ++x) {
                if (brightness(at(float(x), float(y))) < limit)
                    ++count;
            }
        }
        return count;
    }
    // The darkest pixel of the rows along the bottom edge, under the middle: the shadow.
    int shadowBrightness() const {
        int darkest = 255;
        for (float y = m_frame.maxY() - 2; y <= m_frame.maxY() + 0.5f; y += 1)
            darkest = std::min(darkest, brightness(at(m_frame.midX(), y)));
        return darkest;
    }

    static int brightness(const gfx::Pixel& pixel) { return (pixel.red + pixel.green + pixel.blue) / 3; }

private:
    gfx::Pixel at(float x, float y) const { return m_image.bitmap().pixel(int(x), int(y)); }

    const gfx::Image& m_image;
    core::Rect m_frame;
};

::testing::AssertionResult isColor(const gfx::Pixel& pixel, const core::Color& color) {
    const auto near = [](int channel, float wanted) {
        return std::abs(channel - int(wanted * 255 + 0.5f)) <= 3;
    };
    if (near(pixel.red, color.red()) && near(pixel.green, color.green()) && near(pixel.blue, color.blue()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel " << int(pixel.red) << ", " << int(pixel.green) << ", " << int(pixel.blue);
}

// Every key of the pad shown has its face, its shadow and its text or symbol.
void expectWholeKeys(const gfx::Image& image, const ExprInputViewController& keyboard) {
    for (const std::shared_ptr<AlgebraKeyboardKey>& key : keyboard.keys()) {
        const KeyLook look(image, *key);
        const bool dark = key->isSwitcherKey() || key->isDeleteKey();
        EXPECT_TRUE(isColor(look.face(),
                            dark ? AlgebraKeyboardKey::kDarkFaceColor : AlgebraKeyboardKey::kIdleFaceColor))
            << "face of \"" << key->keyString() << '"';
        EXPECT_LT(look.shadowBrightness(), KeyLook::brightness(look.face()) - 15)
            << "shadow of \"" << key->keyString() << '"';
        EXPECT_GT(look.inkDarkerThan(160), 5) << "text of \"" << key->keyString() << '"';
    }
}

struct PadCase {
    ui::Idiom idiom;
    bool numbers;
    const char* name;
};

class KeyboardPicture : public ::testing::TestWithParam<PadCase> {};

TEST_P(KeyboardPicture, EveryKeyIsDrawnWhole) {
    const PadCase pad = GetParam();
    KeyboardStage stage(pad.idiom);
    stage.open();
    if (!pad.numbers)
        stage.type({"xyz"});
    expectWholeKeys(*stage.render(std::string("keyboard-") + pad.name), *stage.keyboard);
}

INSTANTIATE_TEST_SUITE_P(Pads, KeyboardPicture,
                         ::testing::Values(PadCase{ui::Idiom::Phone, true, "phone-numbers"},
                                           PadCase{ui::Idiom::Phone, false, "phone-variables"},
                                           PadCase{ui::Idiom::Tablet, true, "tablet-numbers"},
                                           PadCase{ui::Idiom::Tablet, false, "tablet-variables"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::ranges::replace(name, '-', '_');
                             return name;
                         });

TEST(KeyboardPicture, AGreyEqualsKeyShowsNoBlackText) {
    KeyboardStage stage;
    stage.open();
    stage.type({"="});
    const auto image = stage.render("keyboard-equals-grey");
    const KeyLook look(*image, *stage.keyboard->equalsKey());
    EXPECT_EQ(look.inkDarkerThan(100), 0);
    EXPECT_GT(look.inkDarkerThan(230), 5) << "the grey text shows";
}

TEST(KeyboardPicture, APhoneShowsABalloonOverThePressedKey) {
    KeyboardStage stage(ui::Idiom::Phone);
    stage.open();
    stage.host.touchDown(stage.keyPoint("3"));
    const auto image = stage.render("keyboard-phone-balloon");
    const BigAlgebraKeyboardKey& balloon = *stage.keyboard->bigKey();
    const core::Rect frame = balloon.convertRectToView(balloon.bounds(), nullptr);
    const core::Rect head = balloon.label()->convertRectToView(balloon.label()->bounds(), nullptr);
    // The head, wider than the key, is drawn above the keyboard with the key's text.
    EXPECT_TRUE(isColor(image->bitmap().pixel(int(frame.minX() + 4), int(head.midY())),
                        AlgebraKeyboardKey::kIdleFaceColor));
    int ink = 0;
    for (int y = int(head.minY()); y < int(head.maxY()); ++y) {
        for (int x = int(head.minX()); x < int(head.maxX()); ++x)
            ink += KeyLook::brightness(image->bitmap().pixel(x, y)) < 100;
    }
    EXPECT_GT(ink, 20);
    // The foot covers the key: its face is the balloon's.
    const KeyLook key(*image, *stage.keyboard->keys()[3]);
    EXPECT_TRUE(isColor(key.face(), AlgebraKeyboardKey::kIdleFaceColor));
}

TEST(KeyboardPicture, ATabletDarkensThePressedKeyAndTheDeleteKeyLightens) {
    KeyboardStage stage(ui::Idiom::Tablet);
    stage.open();
    stage.host.touchDown(stage.keyPoint("3"));
    auto image = stage.render("keyboard-tablet-pressed");
    EXPECT_TRUE(
        isColor(KeyLook(*image, *stage.keyboard->keys()[3]).face(), AlgebraKeyboardKey::kDarkFaceColor));
    EXPECT_TRUE(
        isColor(KeyLook(*image, *stage.keyboard->keys()[2]).face(), AlgebraKeyboardKey::kIdleFaceColor));
    stage.host.touchUp(stage.keyPoint("3"));
    stage.host.touchDown(stage.keyPoint(""));
    image = stage.render("keyboard-tablet-delete");
    EXPECT_TRUE(
        isColor(KeyLook(*image, *stage.keyboard->deleteKey()).face(), AlgebraKeyboardKey::kIdleFaceColor));
}

} // namespace
} // namespace zm
