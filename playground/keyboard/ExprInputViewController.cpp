#include "playground/keyboard/ExprInputViewController.h"

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/DispatchQueue.h"
#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/EditableText.h"
#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Toolbar.h"
#include "playground/PlaygroundContainerInputDelegate.h"
#include "playground/keyboard/AlgebraKeyboardKey.h"
#include "playground/keyboard/BigAlgebraKeyboardKey.h"
#include "playground/keyboard/ExprInputDelegate.h"
#include "playground/views/GenericView.h"

namespace zm {

namespace {

constexpr std::string_view kInterfaceFile = "ExprInputViewController";
constexpr std::string_view kInputClickSound = "inputClick";
// From a layout pass to the text view taking the keyboard up.
constexpr double kFirstResponderDelay = 0.1;

// The pad's margins: at the sides, at the top, and between keys.
constexpr float kSideMargin = 15;
constexpr float kTopMargin = 7;
constexpr float kKeyGap = 5;
constexpr int kKeysPerRow = 10;

bool hasEquals(const std::string& text) {
    return text.find('=') != std::string::npos;
}

// The fingers of the set that landed on the keyboard, each with its point in the keyboard.
template <class Act>
void forFingersOnKeyboard(const ui::TouchSet& touches, const ui::View* keyboard, const Act& act) {
    if (!keyboard)
        return;
    for (const std::shared_ptr<ui::Touch>& touch : touches) {
        if (touch->view() && touch->view()->isDescendantOf(*keyboard))
            act(touch->locationInView(keyboard));
    }
}

} // namespace

std::shared_ptr<ExprInputViewController> ExprInputViewController::create() {
    std::shared_ptr<ExprInputViewController> controller(new ExprInputViewController);
    controller->setNibName(std::string(kInterfaceFile));
    return controller;
}

ExprInputViewController::ExprInputViewController() = default;
ExprInputViewController::~ExprInputViewController() = default;

const std::vector<std::string>& ExprInputViewController::numberStrings() {
    static const std::vector<std::string> pad{"0",   "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                              "xyz", "+", "-", "*", "/", "^", "=", "(", ")", ""};
    return pad;
}

const std::vector<std::string>& ExprInputViewController::variableStrings() {
    static const std::vector<std::string> pad{"x",   "y", "z", "a", "b", "c", "i", "j", "k", "n",
                                              "123", "+", "-", "*", "/", "^", "=", "(", ")", ""};
    return pad;
}

std::shared_ptr<ExprInputViewController> ExprInputViewController::self() {
    return std::static_pointer_cast<ExprInputViewController>(shared_from_this());
}

void ExprInputViewController::connectOutlets(ui::Outlets& outlets) {
    outlets.weak("textView", m_textView);
    outlets.strong("keyboardContainer", m_keyboardContainer);
    outlets.strong("mainKeyboardContainer", m_mainKeyboardContainer);
    outlets.strong("toolbar", m_toolbar);
    ViewController::connectOutlets(outlets);
}

std::function<void()> ExprInputViewController::actionNamed(std::string_view name) {
    if (name == "hitCancel:")
        return [this] { hitCancel(); };
    if (name == "hitFinished:")
        return [this] { hitFinished(); };
    return ViewController::actionNamed(name);
}

void ExprInputViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    // The keyboard lives on as the text view's input view.
    if (m_keyboardContainer)
        m_keyboardContainer->removeFromSuperview();
    const std::shared_ptr<ui::TextView> text = textView();
    if (!text)
        return;
    text->setDelegate(std::static_pointer_cast<ui::TextViewDelegate>(self()));
    if (const std::shared_ptr<ExprInputDelegate> delegate = inputDelegate()) {
        if (std::optional<std::string> initial = delegate->initialText())
            text->setText(std::move(*initial));
    }
}

void ExprInputViewController::viewDidLayoutSubviews() {
    ViewController::viewDidLayoutSubviews();
    if (!m_keyboardContainer)
        return;
    m_keyboardContainer->setBounds({0, 0, view()->bounds().width(), m_keyboardContainer->bounds().height()});
    resetKeysWithStrings(numberStrings());
    const std::shared_ptr<ui::TextView> text = textView();
    if (!text || m_ended)
        return;
    text->setInputView(m_keyboardContainer);
    std::weak_ptr<ExprInputViewController> weakSelf = self();
    core::DispatchQueue::main()->after(core::fromSeconds(kFirstResponderDelay), [weakSelf] {
        const std::shared_ptr<ExprInputViewController> controller = weakSelf.lock();
        if (!controller || controller->m_ended)
            return;
        if (const std::shared_ptr<ui::TextView> text = controller->textView())
            text->becomeFirstResponder();
    });
}

void ExprInputViewController::resetKeysWithStrings(const std::vector<std::string>& strings) {
    m_showingNumbers = strings == numberStrings();
    if (!m_mainKeyboardContainer)
        return;
    const float width = view()->bounds().width();
    const float height = m_mainKeyboardContainer->bounds().height();
    m_mainKeyboardContainer->setFrame({0, 0, width, height});

    for (const std::shared_ptr<AlgebraKeyboardKey>& key : m_keys)
        key->removeFromSuperview();
    m_keys.clear();
    m_deleteKey = nullptr;
    m_equalsKey = nullptr;
    // A balloon belongs to a key of the old pad.
    if (m_bigKey)
        m_bigKey->removeFromSuperview();
    m_bigKey = nullptr;

    const float keyWidth = (width - (kKeysPerRow - 1) * kKeyGap - 2 * kSideMargin) / kKeysPerRow;
    const float keyHeight = (height - kKeyGap - 2 * kTopMargin) / 2;
    core::Rect frame{kSideMargin, kTopMargin, keyWidth, keyHeight};
    for (const std::string& string : strings) {
        std::shared_ptr<AlgebraKeyboardKey> key = AlgebraKeyboardKey::create(frame);
        key->setKeyString(string);
        m_mainKeyboardContainer->addSubview(key);
        m_keys.push_back(key);
        if (key->isDeleteKey())
            m_deleteKey = key;
        else if (string == "=")
            m_equalsKey = key;
        frame = frame.offsetBy(keyWidth + kKeyGap, 0);
        if (frame.maxX() > width)
            frame = {kSideMargin, frame.maxY() + kKeyGap, keyWidth, keyHeight};
    }
    // "=" can be typed while the text holds none, on either pad.
    if (const std::shared_ptr<ui::TextView> text = textView(); text && m_equalsKey)
        m_equalsKey->setCanPress(!hasEquals(text->text()));
}

void ExprInputViewController::switchKeys() {
    resetKeysWithStrings(m_showingNumbers ? variableStrings() : numberStrings());
}

void ExprInputViewController::hitButton(AlgebraKeyboardKey& key) {
    const std::shared_ptr<ui::TextView> text = textView();
    if (!text)
        return;
    ui::EditableText edited;
    edited.setText(text->text());
    edited.setSelectedRange(text->selectedRange());
    if (key.isDeleteKey())
        edited.apply(ui::EditingKey::Backspace);
    else
        edited.insert(key.label()->text());
    text->setText(edited.text());
    text->setSelectedRange(edited.selectedRange());
    text->scrollRectToVisible(text->caretRect(), false);
    textChanged(text->text());
}

void ExprInputViewController::textViewDidChange(ui::TextView& textView) {
    if (!m_ended)
        textChanged(textView.text());
}

void ExprInputViewController::textChanged(const std::string& text) {
    if (m_equalsKey)
        m_equalsKey->setCanPress(!hasEquals(text));
    const std::shared_ptr<ExprInputDelegate> delegate = inputDelegate();
    if (!delegate)
        return;
    if (text.empty())
        delegate->clearExprInput();
    else {
        bool failed = false;
        ExprPtr expr = ExprTextReader::parseString(text, failed);
        delegate->updateInputWithExpr(expr, !failed);
    }
}

void ExprInputViewController::addHighlightToKey(AlgebraKeyboardKey& key) {
    if (ui::Device::current().isTablet()) {
        for (const std::shared_ptr<AlgebraKeyboardKey>& other : m_keys)
            other->setTouching(other.get() == &key);
        return;
    }
    if (m_bigKey)
        m_bigKey->removeFromSuperview();
    m_bigKey = BigAlgebraKeyboardKey::create(key);
    // The balloon's foot covers the key; fingers go through it to the keys.
    m_bigKey->setUserInteractionEnabled(false);
    moveViewTo(*m_bigKey, viewPointAtPosition(key, AnchorBottomCenter), AnchorBottomCenter);
    if (m_mainKeyboardContainer)
        m_mainKeyboardContainer->addSubview(m_bigKey);
}

void ExprInputViewController::fingerDown(core::Point point) {
    if (m_deleteKey)
        m_deleteKey->setTouching(false);
    // Switching pads replaces the keys: go through the keys of the pad the finger landed on.
    for (const std::shared_ptr<AlgebraKeyboardKey>& key : std::vector(m_keys)) {
        if (!key->frame().contains(point) || !key->canPress())
            continue;
        if (key->isDeleteKey()) {
            key->setTouching(true);
            hitButton(*key);
        } else if (key->isSwitcherKey()) {
            switchKeys();
        } else {
            addHighlightToKey(*key);
        }
        playInputClick();
    }
}

void ExprInputViewController::fingerMoved(core::Point point) {
    for (const std::shared_ptr<AlgebraKeyboardKey>& key : std::vector(m_keys)) {
        if (!key->frame().contains(point) || !key->canPress() || key->isDeleteKey() || key->isSwitcherKey())
            continue;
        if (m_deleteKey)
            m_deleteKey->setTouching(false);
        addHighlightToKey(*key);
    }
}

void ExprInputViewController::fingerUp(core::Point point, bool typing) {
    if (m_bigKey)
        m_bigKey->removeFromSuperview();
    m_bigKey = nullptr;
    if (m_deleteKey)
        m_deleteKey->setTouching(false);
    const std::vector<std::shared_ptr<AlgebraKeyboardKey>> keys = m_keys;
    for (const std::shared_ptr<AlgebraKeyboardKey>& key : keys)
        key->setTouching(false);
    if (!typing)
        return;
    for (const std::shared_ptr<AlgebraKeyboardKey>& key : keys) {
        if (key->frame().contains(point) && key->canPress() && !key->isDeleteKey() && !key->isSwitcherKey())
            hitButton(*key);
    }
}

void ExprInputViewController::touchesBegan(const ui::TouchSet& touches, const ui::Event&) {
    if (m_ended)
        return;
    const std::shared_ptr<ExprInputViewController> keep = self();
    forFingersOnKeyboard(touches, m_keyboardContainer.get(), [&](core::Point point) { fingerDown(point); });
}

void ExprInputViewController::touchesMoved(const ui::TouchSet& touches, const ui::Event&) {
    if (!m_ended)
        forFingersOnKeyboard(touches, m_keyboardContainer.get(),
                             [&](core::Point point) { fingerMoved(point); });
}

void ExprInputViewController::touchesEnded(const ui::TouchSet& touches, const ui::Event&) {
    const std::shared_ptr<ExprInputViewController> keep = self();
    forFingersOnKeyboard(touches, m_keyboardContainer.get(),
                         [&](core::Point point) { fingerUp(point, !m_ended); });
}

void ExprInputViewController::touchesCancelled(const ui::TouchSet& touches, const ui::Event&) {
    forFingersOnKeyboard(touches, m_keyboardContainer.get(),
                         [&](core::Point point) { fingerUp(point, false); });
}

void ExprInputViewController::playInputClick() {
    ui::Application* application = ui::Application::current();
    if (!application)
        return;
    ui::SoundPlayer& sounds = application->soundPlayer();
    if (m_clickSound == 0)
        m_clickSound = sounds.load(kInputClickSound);
    sounds.play(m_clickSound);
}

void ExprInputViewController::hitCancel() {
    end(false);
}

void ExprInputViewController::hitFinished() {
    end(true);
}

void ExprInputViewController::end(bool finished) {
    if (m_ended)
        return;
    m_ended = true;
    const std::shared_ptr<ExprInputViewController> keep = self();
    if (m_toolbar)
        m_toolbar->removeFromSuperview();
    if (const std::shared_ptr<ui::TextView> text = textView())
        text->resignFirstResponder();
    if (const std::shared_ptr<ExprInputDelegate> delegate = inputDelegate()) {
        if (finished)
            delegate->finishInput();
        else
            delegate->cancelInput();
    }
    if (const std::shared_ptr<PlaygroundContainerInputDelegate> container = containerDelegate())
        container->removeChildInputViewController(keep);
}

} // namespace zm
