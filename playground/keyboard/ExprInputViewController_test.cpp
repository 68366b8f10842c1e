#include "platform/ui/Label.h"
#include "platform/ui/Toolbar.h"
#include "playground/keyboard/AlgebraKeyboardKey.h"
#include "playground/keyboard/BigAlgebraKeyboardKey.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/testing/KeyboardStage.h"

#include <random>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace zm::testing;

std::vector<std::string> keyStrings(const ExprInputViewController& keyboard) {
    std::vector<std::string> strings;
    for (const auto& key : keyboard.keys())
        strings.push_back(key->keyString());
    return strings;
}

const AlgebraKeyboardKey& keyOf(const ExprInputViewController& keyboard, const std::string& keyString) {
    const auto found =
        std::ranges::find_if(keyboard.keys(), [&](const auto& key) { return key->keyString() == keyString; });
    EXPECT_NE(found, keyboard.keys().end()) << keyString;
    return **found;
}

struct PadLayout {
    ui::Idiom idiom;
    float width;     // of the screen
    float height;    // of the pad
    float keyWidth;  // (width - 45 - 30) / 10
    float keyHeight; // (height - 5 - 14) / 2
};

class KeyboardLayout : public ::testing::TestWithParam<PadLayout> {};

TEST_P(KeyboardLayout, APadIsTwoRowsOfTenKeysAcrossTheScreen) {
    const PadLayout layout = GetParam();
    KeyboardStage stage(layout.idiom);
    const ExprInputViewController& keyboard = stage.open();
    EXPECT_EQ(keyboard.mainKeyboardContainer()->frame(), (core::Rect{0, 0, layout.width, layout.height}));
    ASSERT_EQ(keyboard.keys().size(), 20u);
    EXPECT_TRUE(keyboard.showingNumbers());
    EXPECT_EQ(keyStrings(keyboard), ExprInputViewController::numberStrings());
    for (size_t i = 0; i < 20; ++i) {
        const core::Rect frame = keyboard.keys()[i]->frame();
        const float x = 15 + float(i % 10) * (layout.keyWidth + 5);
        const float y = i < 10 ? 7 : 7 + layout.keyHeight + 5;
        EXPECT_NEAR(frame.minX(), x, 0.01f) << "key " << i;
        EXPECT_NEAR(frame.minY(), y, 0.01f) << "key " << i;
        EXPECT_NEAR(frame.width(), layout.keyWidth, 0.01f) << "key " << i;
        EXPECT_NEAR(frame.height(), layout.keyHeight, 0.01f) << "key " << i;
    }
    EXPECT_EQ(keyboard.deleteKey(), keyboard.keys()[19]);
    EXPECT_EQ(keyboard.equalsKey(), keyboard.keys()[16]);
    // The keyboard is docked along the bottom of the window under the screen's toolbar.
    const core::Rect docked =
        keyboard.keyboardContainer()->convertRectToView(keyboard.keyboardContainer()->bounds(), nullptr);
    EXPECT_EQ(docked.maxY(), stage.host.window().bounds().maxY());
    EXPECT_EQ(docked.width(), layout.width);
    EXPECT_LE(keyboard.toolbar()->convertRectToView(keyboard.toolbar()->bounds(), nullptr).maxY(),
              docked.minY());
}

INSTANTIATE_TEST_SUITE_P(Devices, KeyboardLayout,
                         ::testing::Values(PadLayout{ui::Idiom::Phone, 480, 85, 40.5f, 33},
                                           PadLayout{ui::Idiom::Tablet, 1024, 170, 94.9f, 75.5f}),
                         [](const auto& info) {
                             return info.param.idiom == ui::Idiom::Phone ? "Phone" : "Tablet";
                         });

TEST(Keyboard, EveryKeySendsTheParseOfTheWholeText) {
    KeyboardStage stage;
    stage.open();
    stage.type({"2", "xyz", "x", "+", "123", "1"});
    EXPECT_EQ(stage.text(), "2x+1");
    // The pad switches send nothing; "2x+" does not parse and arrives as one raw term.
    EXPECT_EQ(stage.delegate->messages,
              (std::vector<std::string>{updateOf("2"), updateOf("2x"), updateOf("2x+"), updateOf("2x+1")}));
    EXPECT_EQ(stage.delegate->messages[2], "update 2x+ (unreadable)");
    EXPECT_EQ(std::ranges::count(stage.host.playedSounds(), "inputClick"), 6) << "a click for every key";
}

TEST(Keyboard, TheDeleteKeyDeletesBeforeTheCaretAtOnce) {
    struct Case {
        std::string text;
        ui::TextRange selection;
        std::string after;
        size_t caret;
    };
    const Case cases[] = {
        {"123", {3, 0}, "12", 2},  // at the end
        {"123", {2, 0}, "13", 1},  // in the middle
        {"123", {0, 0}, "123", 0}, // at the start nothing goes
        {"1234", {1, 2}, "14", 1}, // a selection goes
    };
    for (const Case& c : cases) {
        KeyboardStage stage;
        stage.delegate->initial = c.text;
        stage.open();
        stage.keyboard->textView()->setSelectedRange(c.selection);
        // The delete key acts as the finger goes down.
        stage.host.touchDown(stage.keyPoint(""));
        EXPECT_EQ(stage.text(), c.after) << c.text;
        EXPECT_EQ(stage.keyboard->textView()->selectedRange(), (ui::TextRange{c.caret, 0})) << c.text;
        EXPECT_EQ(stage.delegate->messages, std::vector<std::string>{updateOf(c.after)}) << c.text;
        EXPECT_TRUE(stage.keyboard->deleteKey()->touching());
        stage.host.touchUp(stage.keyPoint(""));
        EXPECT_FALSE(stage.keyboard->deleteKey()->touching());
        EXPECT_EQ(stage.text(), c.after) << "lifting types nothing";
    }
}

TEST(Keyboard, AKeyReplacesTheSelectionAndTheLastDeleteClears) {
    KeyboardStage stage;
    stage.delegate->initial = "1234";
    stage.open();
    stage.keyboard->textView()->setSelectedRange({1, 2});
    stage.type({"5"});
    EXPECT_EQ(stage.text(), "154");
    EXPECT_EQ(stage.keyboard->textView()->selectedRange(), (ui::TextRange{2, 0}));
    stage.keyboard->textView()->setSelectedRange({3, 0});
    stage.type({"", "", ""});
    EXPECT_EQ(stage.text(), "");
    EXPECT_EQ(stage.delegate->messages.back(), "clear");
}

TEST(Keyboard, EqualsCanBeTypedOnce) {
    KeyboardStage stage;
    stage.open();
    stage.type({"xyz", "x", "="});
    ASSERT_EQ(stage.text(), "x=");
    const AlgebraKeyboardKey& equals = *stage.keyboard->equalsKey();
    EXPECT_FALSE(equals.canPress());
    EXPECT_EQ(equals.label()->textColor(), AlgebraKeyboardKey::kDisabledTextColor);
    stage.type({"="});
    EXPECT_EQ(stage.text(), "x=") << "a grey key ignores the finger";
    // The other pad's "=" is grey too.
    stage.type({"123"});
    EXPECT_FALSE(stage.keyboard->equalsKey()->canPress());
    stage.type({""});
    EXPECT_TRUE(stage.keyboard->equalsKey()->canPress());
    EXPECT_EQ(stage.keyboard->equalsKey()->label()->textColor(), core::Color::black());
    stage.type({"="});
    EXPECT_EQ(stage.text(), "x=");
}

TEST(Keyboard, AnInitialTextWithEqualsStartsWithEqualsGrey) {
    KeyboardStage stage;
    stage.delegate->initial = "2x=4";
    stage.open();
    EXPECT_EQ(stage.text(), "2x=4");
    EXPECT_FALSE(stage.keyboard->equalsKey()->canPress());
    EXPECT_TRUE(stage.delegate->messages.empty()) << "the initial text is not sent";
}

TEST(Keyboard, ALayoutPassBringsTheNumbersBack) {
    KeyboardStage stage;
    stage.open();
    // The switcher acts as the finger goes down, and lifting on the other switcher types nothing.
    stage.host.touchDown(stage.keyPoint("xyz"));
    EXPECT_FALSE(stage.keyboard->showingNumbers());
    EXPECT_EQ(keyStrings(*stage.keyboard), ExprInputViewController::variableStrings());
    stage.host.touchUp(stage.keyPoint("123"));
    EXPECT_FALSE(stage.keyboard->showingNumbers());
    EXPECT_EQ(stage.text(), "");
    EXPECT_TRUE(stage.delegate->messages.empty());

    stage.keyboard->view()->setFrame(stage.keyboard->view()->frame().insetBy(0, -1));
    stage.host.advance(0.5);
    EXPECT_TRUE(stage.keyboard->showingNumbers());
}

struct SlideCase {
    ui::Idiom idiom;
    const char* name;
};

class KeyboardSlide : public ::testing::TestWithParam<SlideCase> {};

TEST_P(KeyboardSlide, AFingerSlidingAcrossKeysTypesTheKeyItLiftsFrom) {
    KeyboardStage stage(GetParam().idiom);
    stage.open();
    const core::Point three = stage.keyPoint("3");
    const core::Point four = stage.keyPoint("4");
    stage.host.touchDown(three);
    stage.host.touchMove({(three.x + four.x) / 2, three.y});
    stage.host.touchMove(four);
    const AlgebraKeyboardKey& fourKey = keyOf(*stage.keyboard, "4");
    if (GetParam().idiom == ui::Idiom::Phone) {
        // A balloon of "4" stands on its key.
        const std::shared_ptr<BigAlgebraKeyboardKey>& balloon = stage.keyboard->bigKey();
        ASSERT_TRUE(balloon);
        EXPECT_EQ(balloon->label()->text(), "4");
        EXPECT_EQ(balloon->frame().maxY(), fourKey.frame().maxY());
        EXPECT_NEAR(balloon->frame().midX(), fourKey.frame().midX(), 0.01f);
        EXPECT_NEAR(balloon->frame().width(), 1.5f * fourKey.frame().width(), 0.01f);
        EXPECT_NEAR(balloon->frame().height(), 3 * fourKey.frame().height(), 0.01f);
        EXPECT_FALSE(fourKey.touching());
    } else {
        // The key under the finger turns dark; no balloon.
        EXPECT_FALSE(stage.keyboard->bigKey());
        EXPECT_TRUE(fourKey.touching());
        EXPECT_FALSE(keyOf(*stage.keyboard, "3").touching());
    }
    EXPECT_TRUE(stage.delegate->messages.empty()) << "nothing is typed before the finger lifts";
    stage.host.touchUp(four);
    EXPECT_EQ(stage.text(), "4");
    EXPECT_EQ(stage.delegate->messages, std::vector<std::string>{updateOf("4")});
    EXPECT_FALSE(stage.keyboard->bigKey());
    EXPECT_FALSE(fourKey.touching());
}

INSTANTIATE_TEST_SUITE_P(Devices, KeyboardSlide,
                         ::testing::Values(SlideCase{ui::Idiom::Phone, "Phone"},
                                           SlideCase{ui::Idiom::Tablet, "Tablet"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Keyboard, AFingerLiftedOffTheKeysOrCancelledTypesNothing) {
    KeyboardStage stage(ui::Idiom::Phone);
    stage.open();
    const core::Point seven = stage.keyPoint("7");
    stage.host.touchDown(seven);
    stage.host.touchMove({seven.x, seven.y - 200});
    stage.host.touchUp({seven.x, seven.y - 200});
    stage.host.touchDown(seven);
    stage.host.cancelTouches();
    EXPECT_EQ(stage.text(), "");
    EXPECT_FALSE(stage.keyboard->bigKey()) << "no balloon is left behind";
    EXPECT_TRUE(stage.delegate->messages.empty());
}

TEST(Keyboard, HardwareTypingIsSentLikeKeys) {
    KeyboardStage stage;
    stage.open();
    stage.host.typeText("3x");
    stage.host.typeText("=");
    EXPECT_EQ(stage.text(), "3x=");
    EXPECT_EQ(stage.delegate->messages.back(), updateOf("3x="));
    EXPECT_FALSE(stage.keyboard->equalsKey()->canPress());
}

struct EndCase {
    size_t item;
    const char* message;
};

class KeyboardEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(KeyboardEnd, TheToolbarEndsTheInputAndTheContainerRemovesTheScreen) {
    KeyboardStage stage;
    stage.open();
    stage.type({"7"});
    std::shared_ptr<ExprInputViewController> keyboard = stage.keyboard;
    ASSERT_TRUE(keyboard->textView()->isFirstResponder());
    stage.fingers.tapBar(*keyboard, GetParam().item);
    EXPECT_EQ(stage.delegate->messages, (std::vector<std::string>{updateOf("7"), GetParam().message}));
    EXPECT_EQ(stage.container->messages, (std::vector<std::string>{"add", "remove"}));
    EXPECT_TRUE(keyboard->ended());
    EXPECT_FALSE(keyboard->toolbar()->superview());
    EXPECT_FALSE(keyboard->textView()->isFirstResponder());
    // Only the first ending counts; keys on the keyboard sliding away type nothing.
    keyboard->hitCancel();
    keyboard->hitFinished();
    EXPECT_EQ(stage.delegate->messages.size(), 2u);
    stage.host.touchDown(stage.keyPoint("8"));
    stage.host.touchUp(stage.keyPoint("8"));
    EXPECT_EQ(stage.delegate->messages.size(), 2u);
    stage.host.advance(1);
    EXPECT_FALSE(keyboard->textView()->isFirstResponder()) << "the keyboard does not come back";
}

INSTANTIATE_TEST_SUITE_P(Buttons, KeyboardEnd, ::testing::Values(EndCase{0, "cancel"}, EndCase{2, "finish"}),
                         [](const auto& info) { return std::string(info.param.message); });

TEST(Keyboard, WithoutItsDelegatesTheKeyboardStillTypes) {
    KeyboardStage stage;
    stage.open();
    stage.delegate.reset();
    stage.type({"1", "+"});
    EXPECT_EQ(stage.text(), "1+");
    stage.container.reset();
    stage.keyboard->hitFinished();
    EXPECT_TRUE(stage.keyboard->ended());
}

TEST(Keyboard, RandomFingersNeverBreakIt) {
    for (ui::Idiom idiom : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        KeyboardStage stage(idiom);
        stage.open();
        std::mt19937 random(26);
        auto uniform = [&](float from, float to) {
            return std::uniform_real_distribution<float>(from, to)(random);
        };
        const core::Rect window = stage.host.window().bounds();
        const float keyboardTop = window.maxY() - stage.keyboard->keyboardContainer()->bounds().height();
        auto anywhere = [&] {
            return core::Point{uniform(0.0f, window.width()), uniform(keyboardTop, window.maxY())};
        };
        for (int i = 0; i < 300; ++i) {
            stage.host.touchDown(anywhere());
            for (int moves = int(uniform(0.0f, 4.0f)); moves > 0; --moves)
                stage.host.touchMove(anywhere());
            if (uniform(0.0f, 1.0f) < 0.1f)
                stage.host.cancelTouches();
            else
                stage.host.touchUp(anywhere());
            // What the delegate heard last is always the parse of the text.
            const std::string text = stage.text();
            if (!stage.delegate->messages.empty()) {
                EXPECT_EQ(stage.delegate->messages.back(), text.empty() ? "clear" : updateOf(text));
            }
            EXPECT_EQ(stage.keyboard->equalsKey()->canPress(), text.find('=') == std::string::npos) << text;
            EXPECT_FALSE(stage.keyboard->bigKey());
        }
    }
}

} // namespace
} // namespace zm
