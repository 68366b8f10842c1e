#pragma once

// The problem-set playgrounds in the running game: typing on the algebra keyboard that a screen
// opened, ending it, and reading what the screen's playground shows.

#include "platform/ui/TextView.h"
#include "playground/PlaygroundMain.h"
#include "playground/PlaygroundView.h"
#include "playground/keyboard/ExprInputViewController.h"
#include "playground/testing/KeyboardStage.h"
#include "problemsets/testing/ProblemSetScreenTesting.h"
#include "shell/playground/PlaygroundViewController.h"

#include <string>

namespace zm::testing {

// Scenario tables reach the helpers from outside, so they are public.
class TypingTest : public ProblemSetScreenTest {
public:
    // The keyboard of the screen shown, or null.
    std::shared_ptr<ExprInputViewController> keyboard() {
        const auto screen = current<PlaygroundViewController>();
        return screen ? screen->inputVC() : nullptr;
    }
    std::string keyboardText() {
        const auto keys = keyboard();
        return keys && keys->textView() ? keys->textView()->text() : "(no keyboard)";
    }

    // Lets the keyboard come up, until it has stopped sliding (a view on the move takes no touches) and
    // takes what is typed.
    void keyboardUp() {
        for (int tries = 0; tries < 20; ++tries) {
            const auto keys = keyboard();
            if (keys && !keys->view()->layer().hasAnimations() && keys->textView() &&
                keys->textView()->isFirstResponder())
                return;
            host->advance(0.1);
        }
    }
    // Types `text` one character at a time, as if on the keyboard's keys.
    void type(const std::string& text) {
        keyboardUp();
        for (const char c : text) {
            host->typeText(std::string(1, c));
            host->advance(0.05);
        }
    }
    void deleteCharacters(size_t count) {
        keyboardUp();
        for (size_t i = 0; i < count; ++i) {
            host->pressKey(ui::EditingKey::Backspace);
            host->advance(0.05);
        }
    }
    // Empties the keyboard's text, then types `text`.
    void retype(const std::string& text) {
        deleteCharacters(keyboardText().size());
        type(text);
    }
    // The keyboard's Cancel or Done, and what it starts.
    void cancel() { endKeyboard(0); }
    void done() { endKeyboard(2); }

    // What the screen's playground shows: the text form of its expression, or "".
    std::string shown() {
        const auto screen = current<PlaygroundViewController>();
        const std::shared_ptr<PlaygroundView>& playground = screen ? screen->playgroundView() : nullptr;
        if (!playground || !playground->mainPlayground() || !playground->mainPlayground()->mainExpr() ||
            !playground->mainPlayground()->mainExprView())
            return "";
        return playground->mainPlayground()->mainExpr()->description();
    }
    bool touchable() {
        const auto screen = current<PlaygroundViewController>();
        return screen && screen->playgroundView() && screen->playgroundView()->isUserInteractionEnabled();
    }

private:
    void endKeyboard(size_t item) {
        keyboardUp();
        const auto keys = keyboard();
        ASSERT_TRUE(keys) << "no keyboard";
        KeyboardFingers(*host).tapBar(*keys, item);
        wait(kTransitionWait);
    }
};

} // namespace zm::testing
