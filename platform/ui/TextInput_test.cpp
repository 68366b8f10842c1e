#include "platform/core/Json.h"
#include "platform/ui/ClassRegistry.h"
#include "platform/ui/InterfaceFile.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/TouchScript.h"
#include "platform/ui/UiTesting.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ui {
namespace {

class FieldLog : public TextFieldDelegate {
public:
    bool textFieldShouldReturn(TextField& field) override {
        calls.push_back("shouldReturn " + field.text());
        return allowReturn;
    }
    void textFieldDidBeginEditing(TextField&) override { calls.push_back("didBegin"); }
    void textFieldDidEndEditing(TextField&) override { calls.push_back("didEnd"); }

    std::vector<std::string> calls;
    bool allowReturn = false;
};

class TextInput : public testing::AnimationFixture {
protected:
    void SetUp() override {
        field->setDelegate(fieldLog);
        field->addTarget(ControlEvent::EditingChanged,
                         [this](Control&) { events.push_back("changed " + field->text()); });
        field->addTarget(ControlEvent::EditingDidBegin, [this](Control&) { events.push_back("began"); });
        field->addTarget(ControlEvent::EditingDidEnd, [this](Control&) { events.push_back("ended"); });
        window->addSubview(field);
    }

    std::shared_ptr<Window> window = Window::create({0, 0, 480, 320});
    std::shared_ptr<TextField> field = TextField::create({20, 20, 200, 30});
    std::shared_ptr<FieldLog> fieldLog = std::make_shared<FieldLog>();
    std::vector<std::string> events;
    testing::TouchScript fingers{*window};
};

TEST_F(TextInput, ATappedFieldTakesTheKeyboard) {
    EXPECT_FALSE(window->insertText("x")); // nobody takes typing yet
    field->setText("ProblemSet");
    fingers.tap({210, 35});
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_EQ(window->firstResponder(), field.get());
    EXPECT_EQ(field->selectedRange(), (TextRange{10, 0})); // the caret at the end, where the finger was
    EXPECT_TRUE(window->pressKey(EditingKey::Backspace));
    EXPECT_TRUE(window->insertText("s 2"));
    EXPECT_EQ(field->text(), "ProblemSes 2");
    // A tap at the left edge puts the caret before the first character.
    fingers.tap({21, 35});
    EXPECT_EQ(field->selectedRange(), (TextRange{0, 0}));
    window->insertText("My ");
    EXPECT_EQ(field->text(), "My ProblemSes 2");
    EXPECT_EQ(events, (std::vector<std::string>{"began", "changed ProblemSe", "changed ProblemSes 2",
                                                "changed My ProblemSes 2"}));
    EXPECT_EQ(fieldLog->calls, (std::vector<std::string>{"didBegin"}));
}

TEST_F(TextInput, ReturnAsksTheDelegateAndEndsEditingOnExit) {
    ASSERT_TRUE(field->becomeFirstResponder());
    window->insertText("Set");
    window->pressKey(EditingKey::Return); // refused
    EXPECT_TRUE(field->isFirstResponder());
    fieldLog->allowReturn = true;
    window->pressKey(EditingKey::Return); // allowed, but nobody listens for the exit: it stays
    EXPECT_TRUE(field->isFirstResponder());
    int exits = 0;
    field->addTarget(ControlEvent::EditingDidEndOnExit, [&](Control&) { ++exits; });
    window->pressKey(EditingKey::Return);
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(window->insertText("more"));
    EXPECT_EQ(fieldLog->calls, (std::vector<std::string>{"didBegin", "shouldReturn Set", "shouldReturn Set",
                                                         "shouldReturn Set", "didEnd"}));
    EXPECT_EQ(events.back(), "ended");
}

TEST_F(TextInput, OneFirstResponderAtATime) {
    auto other = TextField::create({20, 80, 200, 30});
    window->addSubview(other);
    field->becomeFirstResponder();
    other->becomeFirstResponder();
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(fieldLog->calls, (std::vector<std::string>{"didBegin", "didEnd"}));
    window->insertText("b");
    EXPECT_EQ(other->text(), "b");
    EXPECT_EQ(field->text(), "");

    // Leaving the window ends the editing; a field out of any window cannot edit.
    other->removeFromSuperview();
    EXPECT_FALSE(other->isEditing());
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_FALSE(other->becomeFirstResponder());
    // Nor can a disabled one.
    field->setEnabled(false);
    EXPECT_FALSE(field->becomeFirstResponder());
}

TEST_F(TextInput, SecureFieldsShowDotsAndLinesStayOne) {
    field->setSecureTextEntry(true);
    field->becomeFirstResponder();
    window->insertText("ab\ncd");
    EXPECT_EQ(field->text(), "ab cd");
    const Label* shown = nullptr;
    for (const std::shared_ptr<View>& subview : field->subviews()) {
        if (const auto* label = dynamic_cast<const Label*>(subview.get()))
            shown = label;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->text(), "\u2022\u2022\u2022\u2022\u2022");
}

// A screen like the expression keyboard: a text view whose input view is a keyboard of the screen's
// own; the screen handles the keys' touches itself.
class KeyboardScreen : public ViewController {
public:
    static std::shared_ptr<KeyboardScreen> make() {
        return std::shared_ptr<KeyboardScreen>(new KeyboardScreen);
    }

    void viewDidLoad() override {
        textView = TextView::create({0, 0, 480, 100});
        view()->addSubview(textView);
        keyboard = View::create({0, 0, 480, 120});
        key = View::create({15, 7, 40, 50});
        keyboard->addSubview(key);
        textView->setInputView(keyboard);
    }
    void touchesBegan(const TouchSet& touches, const Event&) override {
        const core::Point at = touches.front()->locationInView(keyboard.get());
        keyTouches.push_back(at);
        if (key->frame().contains(at))
            textView->insertText("7");
    }

    std::shared_ptr<TextView> textView;
    std::shared_ptr<View> keyboard;
    std::shared_ptr<View> key;
    std::vector<core::Point> keyTouches;
};

TEST_F(TextInput, TheInputViewDocksAtTheBottomWhileTheTextViewIsFirstResponder) {
    auto screen = KeyboardScreen::make();
    window->setRootViewController(screen);
    window->layoutIfNeeded();
    ASSERT_TRUE(screen->textView->becomeFirstResponder());
    ASSERT_NE(screen->keyboard->superview(), nullptr);
    const std::weak_ptr<View> dock = screen->keyboard->superview()->shared_from_this();
    EXPECT_EQ(dock.lock()->superview(), window.get());
    // It slides up from below the window.
    EXPECT_EQ(dock.lock()->presentationFrame().minY(), 320);
    advance(0.5);
    EXPECT_EQ(screen->keyboard->convertRectToView(screen->keyboard->bounds(), nullptr),
              (core::Rect{0, 200, 480, 120}));

    // The keys' touches climb from the keyboard to the text view and on to its screen.
    fingers.tap({30, 230});
    ASSERT_EQ(screen->keyTouches.size(), 1u);
    EXPECT_EQ(screen->keyTouches[0], (core::Point{30, 30}));
    EXPECT_EQ(screen->textView->text(), "7");

    screen->textView->resignFirstResponder();
    EXPECT_NE(screen->keyboard->superview(), nullptr); // sliding away
    advance(0.5);
    EXPECT_EQ(screen->keyboard->superview(), nullptr);
    EXPECT_TRUE(dock.expired()) << "the dock has left the window and nothing keeps it";
}

TEST_F(TextInput, ATextViewBreaksLinesAndPutsTheCaretWhereTapped) {
    auto text = TextView::create({0, 0, 200, 100});
    window->addSubview(text);
    window->layoutIfNeeded();
    fingers.tap({100, 50});
    ASSERT_TRUE(text->isFirstResponder());
    window->insertText("x+1");
    window->pressKey(EditingKey::Return);
    window->insertText("=5");
    EXPECT_EQ(text->text(), "x+1\n=5");
    const core::Rect caret = text->caretRect();
    EXPECT_GT(caret.minY(), TextView::kTextInset); // on the second line
    // A tap at the start of the first line moves the caret there.
    fingers.tap({TextView::kTextInset + 1, TextView::kTextInset + 5});
    EXPECT_EQ(text->selectedRange(), (TextRange{0, 0}));
    EXPECT_LT(text->caretRect().minY(), caret.minY());
    // A tap at the end of the second line, past its last character.
    fingers.tap({190, caret.midY()});
    EXPECT_EQ(text->selectedRange(), (TextRange{6, 0}));

    // Text longer than the view scrolls, and typing keeps the caret in sight.
    for (int line = 0; line < 10; ++line)
        window->pressKey(EditingKey::Return);
    EXPECT_GT(text->contentSize().height, 100);
    EXPECT_GT(text->contentOffset().y, 0);
    EXPECT_TRUE(text->bounds().contains({text->caretRect().midX(), text->caretRect().midY()}));
}

TEST_F(TextInput, AReadOnlyTextViewTakesNoKeyboard) {
    auto text = TextView::create({0, 0, 200, 100});
    text->setEditable(false);
    text->setText("Licences");
    window->addSubview(text);
    fingers.tap({100, 50});
    EXPECT_FALSE(text->isFirstResponder());
    EXPECT_FALSE(window->insertText("x"));
}

class RenameScreen : public ViewController, public TextFieldDelegate {
public:
    static std::shared_ptr<RenameScreen> make() { return std::shared_ptr<RenameScreen>(new RenameScreen); }
    void connectOutlets(Outlets& outlets) override {
        outlets.weak("textField", textField);
        outlets.weak("licence", licence);
        ViewController::connectOutlets(outlets);
    }
    std::function<void()> actionNamed(std::string_view name) override {
        if (name == "nameChanged:")
            return [this] { ++changes; };
        return ViewController::actionNamed(name);
    }
    bool textFieldShouldReturn(TextField&) override {
        ++returns;
        return true;
    }

    std::weak_ptr<TextField> textField;
    std::weak_ptr<TextView> licence;
    int changes = 0;
    int returns = 0;
};

TEST_F(TextInput, FilesMakeFieldsAndTextViews) {
    ClassRegistry registry;
    InterfaceLoader loader({{}, Idiom::Phone, nullptr}, registry);
    auto screen = RenameScreen::make();
    const core::Status loaded = loader.loadDocumentInto(core::parseJson(R"({
        "view": {"frame": [0, 0, 480, 320], "subviews": [
            {"class": "TextField", "id": "name", "frame": [10, 10, 200, 30],
             "properties": {"text": "Set", "returnKeyType": "done", "textAlignment": "center",
                            "font": {"system": 20}, "placeholder": "Name"},
             "outlets": {"delegate": "owner"},
             "actions": [{"event": "editingChanged", "action": "nameChanged:"}]},
            {"class": "TextView", "id": "licence", "frame": [10, 50, 300, 200],
             "properties": {"editable": false, "text": "Licence text"}}]},
        "outlets": {"textField": "name", "licence": "licence"}})")
                                                            .value(),
                                                        *screen);
    ASSERT_TRUE(loaded.ok()) << loaded.error().text();
    const std::shared_ptr<TextField> name = screen->textField.lock();
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text(), "Set");
    EXPECT_EQ(name->returnKeyType(), ReturnKeyType::Done);
    EXPECT_EQ(name->textAlignment(), gfx::TextAlignment::Center);
    ASSERT_TRUE(screen->licence.lock());
    EXPECT_FALSE(screen->licence.lock()->isEditable());
    window->setRootViewController(screen);
    name->becomeFirstResponder();
    window->insertText("s");
    window->pressKey(EditingKey::Return);
    EXPECT_EQ(screen->changes, 1);
    EXPECT_EQ(screen->returns, 1);
}

} // namespace
} // namespace ui
