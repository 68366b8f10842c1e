#include "platform/ui/TextView.h"

#include "platform/gfx/Canvas.h"
#include "platform/ui/Outlets.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr float caretWidth = 2;
const core::Color caretColor = core::Color::rgb255(0, 122, 255);

gfx::TextStyle wrapping(gfx::TextAlignment alignment) {
    return {alignment, gfx::LineBreakMode::WordWrap, 0};
}

} // namespace

void TextViewDelegate::textViewDidBeginEditing(TextView&) {}

void TextViewDelegate::textViewDidEndEditing(TextView&) {}

void TextViewDelegate::textViewDidChange(TextView&) {}

std::shared_ptr<TextView> TextView::create(const core::Rect& frame) {
    auto view = std::shared_ptr<TextView>(new TextView(frame));
    setUp(view);
    return view;
}

TextView::TextView(const core::Rect& frame)
    : ScrollView(frame)
    , m_content(TiledTextView::create(kTextInset))
    , m_caret(View::create()) {
    setBackgroundColor(core::Color::white());
    setAlwaysBounceVertical(true);
    m_caret->setBackgroundColor(caretColor);
    m_caret->setUserInteractionEnabled(false);
    m_caret->setHidden(true);
    m_content->addSubview(m_caret);
    addSubview(m_content);
    showText();
}

TextView::~TextView() = default;

void TextView::setText(std::string text) {
    m_text.setText(std::move(text));
    textChanged(false);
}

void TextView::setFont(const gfx::Font& font) {
    m_font = font;
    textChanged(false);
}

void TextView::setTextColor(const core::Color& color) {
    m_textColor = color;
    showText();
}

void TextView::setTextAlignment(gfx::TextAlignment alignment) {
    m_alignment = alignment;
    textChanged(false);
}

void TextView::setEditable(bool editable) {
    m_editable = editable;
    if (!editable)
        resignFirstResponder();
}

void TextView::setSelectedRange(TextRange range) {
    m_text.setSelectedRange(range);
    placeCaret();
}

void TextView::setInputView(std::shared_ptr<View> view) {
    m_inputView = std::move(view);
    if (isFirstResponder())
        window()->makeFirstResponder(*this, *this);
}

void TextView::setDelegate(std::weak_ptr<TextViewDelegate> delegate) {
    ScrollView::setDelegate(delegate);
    m_textDelegate = std::move(delegate);
}

bool TextView::isFirstResponder() const {
    return window() && window()->firstResponder() == this;
}

bool TextView::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!window() || !m_editable)
        return false;
    const std::shared_ptr<View> keep = shared_from_this();
    m_editingWindow = window()->weak_from_this();
    window()->makeFirstResponder(*this, *this);
    m_editing = true;
    placeCaret();
    if (const std::shared_ptr<TextViewDelegate> delegate = m_textDelegate.lock())
        delegate->textViewDidBeginEditing(*this);
    return true;
}

void TextView::resignFirstResponder() {
    if (const std::shared_ptr<View> window = m_editingWindow.lock())
        static_cast<Window&>(*window).resignFirstResponder(*this);
}

void TextView::firstResponderResigned() {
    if (!m_editing)
        return;
    const std::shared_ptr<View> keep = shared_from_this();
    m_editing = false;
    m_editingWindow.reset();
    placeCaret();
    if (const std::shared_ptr<TextViewDelegate> delegate = m_textDelegate.lock())
        delegate->textViewDidEndEditing(*this);
}

void TextView::didMoveToWindow() {
    ScrollView::didMoveToWindow();
    if (m_editing && window() != m_editingWindow.lock().get())
        resignFirstResponder();
}

void TextView::insertText(std::string_view text) {
    m_text.insert(text);
    textChanged(true);
}

void TextView::pressKey(EditingKey key) {
    if (key == EditingKey::Return) {
        insertText("\n");
        return;
    }
    if (m_text.apply(key))
        textChanged(true);
    else
        placeCaret();
}

void TextView::textChanged(bool typed) {
    setNeedsLayout();
    showText();
    placeCaret();
    if (!typed)
        return;
    scrollRectToVisible(caretRect(), false);
    if (const std::shared_ptr<TextViewDelegate> delegate = m_textDelegate.lock())
        delegate->textViewDidChange(*this);
}

// The caret is found in the lines the text is shown in, laid out once per change of the text or width.
core::Rect TextView::caretRect() {
    layoutIfNeeded();
    const gfx::TextBlock& lines = m_content->laidOut(bounds().width());
    const core::Point at = lines.caretAt(m_text.byteOffset(m_text.selectedRange().location));
    return {kTextInset + at.x - caretWidth / 2, kTextInset + at.y, caretWidth, std::max(1.0f, m_font.lineHeight())};
}

size_t TextView::indexAt(core::Point point) {
    const gfx::TextBlock& lines = m_content->laidOut(bounds().width());
    return m_text.indexOfByte(lines.indexAt({point.x - kTextInset, point.y - kTextInset}));
}

void TextView::placeCaret() {
    const bool shows = m_editing && m_text.selectedRange().length == 0;
    m_caret->setHidden(!shows);
    if (shows)
        m_caret->setFrame(caretRect());
}

void TextView::showText() {
    m_content->setText(gfx::AttributedText(m_text.text(), m_font), wrapping(m_alignment), m_textColor);
}

void TextView::showVisibleText() {
    m_content->setVisibleRect(convertRectToView(bounds(), m_content.get()));
}

void TextView::layoutSubviews() {
    ScrollView::layoutSubviews();
    const float width = bounds().width();
    const float height = m_content->heightForWidth(width);
    m_content->setFrame({0, 0, width, std::max(height, bounds().height())});
    setContentSize({width, height});
    showVisibleText();
}

void TextView::contentOffsetDidChange() {
    ScrollView::contentOffsetDidChange();
    showVisibleText();
}

bool TextView::ownsTouches(const TouchSet& touches) const {
    return std::any_of(touches.begin(), touches.end(), [this](const std::shared_ptr<Touch>& touch) {
        return touch->view() && touch->view()->isDescendantOf(*this);
    });
}

void TextView::touchesBegan(const TouchSet& touches, const Event& event) {
    if (!ownsTouches(touches)) {
        ScrollView::touchesBegan(touches, event);
        return;
    }
    if (!m_tapTouch && !touches.empty())
        m_tapTouch = touches.front().get();
}

void TextView::touchesMoved(const TouchSet& touches, const Event& event) {
    if (!ownsTouches(touches))
        ScrollView::touchesMoved(touches, event);
}

void TextView::touchesEnded(const TouchSet& touches, const Event& event) {
    if (!ownsTouches(touches)) {
        ScrollView::touchesEnded(touches, event);
        return;
    }
    for (const std::shared_ptr<Touch>& touch : touches) {
        if (touch.get() != m_tapTouch)
            continue;
        m_tapTouch = nullptr;
        const core::Point at = touch->locationInView(m_content.get());
        if (becomeFirstResponder())
            setSelectedRange({indexAt(at), 0});
    }
}

void TextView::touchesCancelled(const TouchSet& touches, const Event& event) {
    if (!ownsTouches(touches)) {
        ScrollView::touchesCancelled(touches, event);
        return;
    }
    m_tapTouch = nullptr;
}

void TextView::connectOutlets(Outlets& outlets) {
    outlets.weak("delegate", m_textDelegate);
    ScrollView::connectOutlets(outlets);
}

} // namespace ui
