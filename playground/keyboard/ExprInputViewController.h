#pragma once

#include "platform/ui/SoundPlayer.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class Toolbar;
}

namespace zm {

class AlgebraKeyboardKey;
class BigAlgebraKeyboardKey;
class ExprInputDelegate;
class PlaygroundContainerInputDelegate;

// The algebra keyboard screen: a text view whose input view is a keyboard of two pads of twenty keys
// (numbers, and variables), and a toolbar with cancel and finish. After every key the whole text is
// read as an expression and sent to the input delegate, so the playground behind shows it as it is
// typed. Character keys type when the finger lifts over them, so a finger can slide to the right key;
// the delete key and the pad switch act when the finger goes down. "=" can be typed once.
//
// A playground view makes the screen (PlaygroundView::beginInputWithInputDelegate) and hands it to the
// screen that hosts it, its container delegate, which shows it and removes it again when the keyboard
// is cancelled or finished. Both delegates are held weakly. The look comes from the interface file
// "ExprInputViewController" (and its "~ipad" twin): outlets textView, keyboardContainer with
// mainKeyboardContainer inside it, toolbar; actions hitCancel: and hitFinished:.
//
// Main thread only.
class ExprInputViewController : public ui::ViewController, public ui::TextViewDelegate {
public:
    static std::shared_ptr<ExprInputViewController> create();
    ~ExprInputViewController() override;

    // The pads, in key order; the twentieth key of each, the empty string, is the delete key.
    static const std::vector<std::string>& numberStrings();
    static const std::vector<std::string>& variableStrings();

    std::shared_ptr<ExprInputDelegate> inputDelegate() const { return m_inputDelegate.lock(); }
    void setInputDelegate(std::weak_ptr<ExprInputDelegate> delegate) {
        m_inputDelegate = std::move(delegate);
    }
    std::shared_ptr<PlaygroundContainerInputDelegate> containerDelegate() const {
        return m_containerDelegate.lock();
    }
    void setContainerDelegate(std::weak_ptr<PlaygroundContainerInputDelegate> delegate) {
        m_containerDelegate = std::move(delegate);
    }

    // The parts of the screen, from its interface file.
    std::shared_ptr<ui::TextView> textView() const { return m_textView.lock(); }
    const std::shared_ptr<ui::View>& keyboardContainer() const { return m_keyboardContainer; }
    const std::shared_ptr<ui::View>& mainKeyboardContainer() const { return m_mainKeyboardContainer; }
    const std::shared_ptr<ui::Toolbar>& toolbar() const { return m_toolbar; }

    // The keys of the pad shown, in pad order, and the special ones among them.
    const std::vector<std::shared_ptr<AlgebraKeyboardKey>>& keys() const { return m_keys; }
    const std::shared_ptr<AlgebraKeyboardKey>& deleteKey() const { return m_deleteKey; }
    const std::shared_ptr<AlgebraKeyboardKey>& equalsKey() const { return m_equalsKey; }
    // The balloon of the key under the finger (phone only), or null.
    const std::shared_ptr<BigAlgebraKeyboardKey>& bigKey() const { return m_bigKey; }
    bool showingNumbers() const { return m_showingNumbers; }

    // The keyboard leaves the view tree to become the text view's input view; the text starts as the
    // input delegate's initial text.
    void viewDidLoad() override;
    // Every layout pass sets the numbers pad up anew, and the text view takes the keyboard up shortly
    // after.
    void viewDidLayoutSubviews() override;
    ui::StatusBarStyle preferredStatusBarStyle() const override { return ui::StatusBarStyle::LightContent; }

    // Lays out a pad: two rows of ten keys across the screen's width.
    void resetKeysWithStrings(const std::vector<std::string>& strings);
    // The other pad.
    void switchKeys();
    // Types the key at the caret (or over the selection), or deletes, and sends the new expression.
    void hitButton(AlgebraKeyboardKey& key);
    // Shows which key is under the finger: a balloon over it on a phone, a dark key on a tablet.
    void addHighlightToKey(AlgebraKeyboardKey& key);

    // Fingers on the keyboard (they come up from the keys).
    void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
    void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

    // The toolbar's buttons: the keyboard goes down, the input delegate hears cancelInput (finishInput)
    // and the container takes the screen away. Only the first of them counts.
    void hitCancel();
    void hitFinished();
    // Whether the keyboard was cancelled or finished.
    bool ended() const { return m_ended; }

    // Text typed on a hardware keyboard is sent like the keys' text.
    void textViewDidChange(ui::TextView& textView) override;

    void connectOutlets(ui::Outlets& outlets) override;
    std::function<void()> actionNamed(std::string_view name) override;

private:
    ExprInputViewController();

    std::shared_ptr<ExprInputViewController> self();
    // What a finger does on the keyboard, at a point of keyboardContainer.
    void fingerDown(core::Point point);
    void fingerMoved(core::Point point);
    void fingerUp(core::Point point, bool typing);
    // The "=" key follows the text, whose expression goes to the input delegate.
    void textChanged(const std::string& text);
    void end(bool finished);
    void playInputClick();

    std::weak_ptr<ExprInputDelegate> m_inputDelegate;
    std::weak_ptr<PlaygroundContainerInputDelegate> m_containerDelegate;
    std::weak_ptr<ui::TextView> m_textView; // the view tree holds it
    std::shared_ptr<ui::View> m_keyboardContainer;
    std::shared_ptr<ui::View> m_mainKeyboardContainer;
    std::shared_ptr<ui::Toolbar> m_toolbar;
    std::vector<std::shared_ptr<AlgebraKeyboardKey>> m_keys;
    std::shared_ptr<BigAlgebraKeyboardKey> m_bigKey;
    std::shared_ptr<AlgebraKeyboardKey> m_deleteKey;
    std::shared_ptr<AlgebraKeyboardKey> m_equalsKey;
    bool m_showingNumbers = true;
    bool m_ended = false;
    ui::SoundPlayer::SoundId m_clickSound = 0;
};

} // namespace zm
