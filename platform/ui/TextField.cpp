#include "platform/ui/TextField.h"

#include "platform/ui/Label.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr float caretWidth = 2;
const core::Color placeholderColor = core::Color::rgb255(199, 199, 205);
const core::Color caretColor = core::Color::rgb255(0, 122, 255);

std::string dots(size_t count) {
    std::string shown;
    for (size_t i = 0; i < count; ++i)
        shown += "\u2022";
    return shown;
}

// A line of text takes no line breaks.
std::string oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

} // namespace

bool TextFieldDelegate::textFieldShouldBeginEditing(TextField&) {
    return true;
}

void TextFieldDelegate::textFieldDidBeginEditing(TextField&) {}

bool TextFieldDelegate::textFieldShouldReturn(TextField&) {
    return true;
}

void TextFieldDelegate::textFieldDidEndEditing(TextField&) {}

std::shared_ptr<TextField> TextField::create(const core::Rect& frame) {
    return std::shared_ptr<TextField>(new TextField(frame));
}

TextField::TextField(const core::Rect& frame)
    : Control(frame)
    , m_label(Label::create())
    , m_caret(View::create()) {
    m_label->setFont(gfx::Font::system(17));
    m_caret->setBackgroundColor(caretColor);
    m_caret->setUserInteractionEnabled(false);
    m_caret->setHidden(true);
    addSubview(m_label);
    addSubview(m_caret);
    updateShown();
}

TextField::~TextField() = default;

void TextField::setText(std::string text) {
    m_text.setText(oneLine(text));
    updateShown();
}

void TextField::setPlaceholder(std::string placeholder) {
    m_placeholder = std::move(placeholder);
    updateShown();
}

const gfx::Font& TextField::font() const {
    return m_label->font();
}

void TextField::setFont(const gfx::Font& font) {
    m_label->setFont(font);
    setMinimumFontSize(m_minimumFontSize);
    setNeedsLayout();
}

void TextField::setTextColor(const core::Color& color) {
    m_textColor = color;
    updateShown();
}

gfx::TextAlignment TextField::textAlignment() const {
    return m_label->textAlignment();
}

void TextField::setTextAlignment(gfx::TextAlignment alignment) {
    m_label->setTextAlignment(alignment);
    setNeedsLayout();
}

void TextField::setSecureTextEntry(bool secure) {
    m_secure = secure;
    updateShown();
}

bool TextField::adjustsFontSizeToFitWidth() const {
    return m_label->adjustsFontSizeToFitWidth();
}

void TextField::setAdjustsFontSizeToFitWidth(bool adjusts) {
    m_label->setAdjustsFontSizeToFitWidth(adjusts);
    setNeedsLayout();
}

void TextField::setMinimumFontSize(float size) {
    m_minimumFontSize = std::max(0.0f, size);
    const float points = m_label->font().pointSize();
    m_label->setMinimumScaleFactor(points > 0 ? std::min(1.0f, m_minimumFontSize / points) : 0);
}

void TextField::setSelectedRange(TextRange range) {
    m_text.setSelectedRange(range);
    setNeedsLayout();
}

void TextField::setInputView(std::shared_ptr<View> view) {
    m_inputView = std::move(view);
    // A field being edited shows its new input view at once.
    if (isFirstResponder())
        window()->makeFirstResponder(*this, *this);
}

void TextField::updateShown() {
    const bool empty = m_text.text().empty();
    m_label->setText(empty ? m_placeholder : (m_secure ? dots(m_text.length()) : m_text.text()));
    m_label->setTextColor(empty ? placeholderColor : m_textColor);
    setNeedsLayout();
}

bool TextField::isFirstResponder() const {
    return window() && window()->firstResponder() == this;
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!window() || !isEnabled())
        return false;
    const std::shared_ptr<View> keep = shared_from_this();
    const std::shared_ptr<TextFieldDelegate> delegate = m_delegate.lock();
    if (delegate && !delegate->textFieldShouldBeginEditing(*this))
        return false;
    if (!window())
        return false;
    m_editingWindow = window()->weak_from_this();
    window()->makeFirstResponder(*this, *this);
    m_editing = true;
    setNeedsLayout();
    sendActions(ControlEvent::EditingDidBegin);
    if (delegate)
        delegate->textFieldDidBeginEditing(*this);
    return true;
}

void TextField::resignFirstResponder() {
    if (const std::shared_ptr<View> window = m_editingWindow.lock())
        static_cast<Window&>(*window).resignFirstResponder(*this);
}

void TextField::firstResponderResigned() {
    if (!m_editing)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    m_editing = false;
    m_editingWindow.reset();
    setNeedsLayout();
    sendActions(ControlEvent::EditingDidEnd);
    if (const std::shared_ptr<TextFieldDelegate> delegate = m_delegate.lock())
        delegate->textFieldDidEndEditing(*this);
}

void TextField::didMoveToWindow() {
    Control::didMoveToWindow();
    // A field taken out of its window stops editing.
    if (m_editing && window() != m_editingWindow.lock().get())
        resignFirstResponder();
}

void TextField::insertText(std::string_view text) {
    m_text.insert(oneLine(text));
    updateShown();
    sendActions(ControlEvent::EditingChanged);
}

void TextField::pressKey(EditingKey key) {
    if (key != EditingKey::Return) {
        const bool changed = m_text.apply(key);
        updateShown();
        if (changed)
            sendActions(ControlEvent::EditingChanged);
        return;
    }
    const std::shared_ptr<View> keep = shared_from_this();
    const std::shared_ptr<TextFieldDelegate> delegate = m_delegate.lock();
    if (delegate && !delegate->textFieldShouldReturn(*this))
        return;
    if (!hasTargetFor(ControlEvent::EditingDidEndOnExit))
        return;
    sendActions(ControlEvent::EditingDidEndOnExit);
    resignFirstResponder();
}

float TextField::caretX(size_t index) const {
    const core::Rect area = m_label->frame();
    const gfx::Font font = m_label->font().withSize(m_label->font().pointSize() * m_label->fittingScale());
    const std::string shown = m_secure ? dots(m_text.length()) : m_text.text();
    const size_t bytes = m_secure ? index * std::string("\u2022").size() : m_text.byteOffset(index);
    const float full = gfx::measureText(shown, font).width;
    const float before = gfx::measureText(std::string_view(shown).substr(0, bytes), font).width;
    float start = area.minX();
    if (m_label->textAlignment() == gfx::TextAlignment::Center)
        start += std::max(0.0f, (area.width() - full) / 2);
    else if (m_label->textAlignment() == gfx::TextAlignment::Right)
        start += std::max(0.0f, area.width() - full);
    return std::min(start + before, area.maxX());
}

void TextField::layoutSubviews() {
    Control::layoutSubviews();
    m_label->setFrame(bounds());
    const bool showsCaret = m_editing && m_text.selectedRange().length == 0;
    m_caret->setHidden(!showsCaret);
    if (showsCaret) {
        const float height = std::min(bounds().height(), m_label->font().lineHeight());
        m_caret->setFrame({caretX(m_text.selectedRange().location) - caretWidth / 2,
                           bounds().midY() - height / 2, caretWidth, height});
    }
}

void TextField::endTracking(const Touch& touch, const Event&) {
    const core::Point at = touch.locationInView(this);
    if (!bounds().contains(at) || !becomeFirstResponder())
        return;
    layoutIfNeeded();
    // The caret goes to the character boundary nearest to the finger.
    size_t nearest = 0;
    float distance = INFINITY;
    for (size_t index = 0; index <= m_text.length(); ++index) {
        const float away = std::abs(caretX(index) - at.x);
        if (away < distance) {
            distance = away;
            nearest = index;
        }
    }
    setSelectedRange({nearest, 0});
}

void TextField::connectOutlets(Outlets& outlets) {
    outlets.weak("delegate", m_delegate);
    Control::connectOutlets(outlets);
}

} // namespace ui
