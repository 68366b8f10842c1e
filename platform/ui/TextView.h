#pragma once

#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"
#include "platform/ui/EditableText.h"
#include "platform/ui/KeyInput.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TiledTextView.h"

#include <memory>
#include <string>

namespace ui {

class TextView;

// Told how editing goes. Every operation is optional.
class TextViewDelegate : public ScrollViewDelegate {
public:
    virtual void textViewDidBeginEditing(TextView& textView);
    virtual void textViewDidEndEditing(TextView& textView);
    // Typing changed the text (setting it from code does not tell).
    virtual void textViewDidChange(TextView& textView);
};

// Text of several lines, broken at word boundaries to the view's width and scrolled when longer than
// the view. An editable text view becomes the first responder when tapped, with the caret where the
// finger lifted; typing edits it (return breaks the line). While it is the first responder, its input
// view, if it has one, is docked at the bottom of the window. Touches that reach it from its input view
// go on up its responder chain.
class TextView : public ScrollView, public KeyInput {
public:
    // Room between the view's edges and the text.
    static constexpr float kTextInset = 8;

    static std::shared_ptr<TextView> create(const core::Rect& frame = {});
    ~TextView() override;

    const std::string& text() const { return m_text.text(); }
    // The caret goes to the end; the delegate hears nothing.
    void setText(std::string text);
    const gfx::Font& font() const { return m_font; }
    void setFont(const gfx::Font& font);
    const core::Color& textColor() const { return m_textColor; }
    void setTextColor(const core::Color& color);
    gfx::TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(gfx::TextAlignment alignment);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    TextRange selectedRange() const { return m_text.selectedRange(); }
    void setSelectedRange(TextRange range);
    // Where the caret is drawn, in the text view's content coordinates.
    core::Rect caretRect();

    void setInputView(std::shared_ptr<View> view);
    std::shared_ptr<View> inputView() const override { return m_inputView; }

    const std::weak_ptr<TextViewDelegate>& textDelegate() const { return m_textDelegate; }
    // The delegate is also the scroll view's delegate.
    void setDelegate(std::weak_ptr<TextViewDelegate> delegate);

    // Answers whether the view is the first responder afterwards (it needs a window and to be editable).
    bool becomeFirstResponder();
    void resignFirstResponder();
    bool isFirstResponder() const;

    void insertText(std::string_view text) override;
    void pressKey(EditingKey key) override;
    void firstResponderResigned() override;

    void connectOutlets(Outlets& outlets) override;

    void touchesBegan(const TouchSet& touches, const Event& event) override;
    void touchesMoved(const TouchSet& touches, const Event& event) override;
    void touchesEnded(const TouchSet& touches, const Event& event) override;
    void touchesCancelled(const TouchSet& touches, const Event& event) override;

protected:
    explicit TextView(const core::Rect& frame);

    void layoutSubviews() override;
    void didMoveToWindow() override;
    void contentOffsetDidChange() override;

private:
    // Whether the touches landed on the text view itself (others come up from its input view).
    bool ownsTouches(const TouchSet& touches) const;
    void textChanged(bool typed);
    // Hands the text, as it is styled now, to the content view.
    void showText();
    // Tells the content view which part of it shows, so that it draws just that.
    void showVisibleText();
    // The character index nearest to a point of the content.
    size_t indexAt(core::Point point);
    void placeCaret();

    EditableText m_text;
    gfx::Font m_font = gfx::Font::system(17);
    core::Color m_textColor = core::Color::black();
    gfx::TextAlignment m_alignment = gfx::TextAlignment::Left;
    bool m_editable = true;
    bool m_editing = false;
    std::shared_ptr<TiledTextView> m_content; // as large as the text (at least the view), under the caret
    std::shared_ptr<View> m_caret;
    std::shared_ptr<View> m_inputView;
    std::weak_ptr<TextViewDelegate> m_textDelegate;
    std::weak_ptr<View> m_editingWindow;
    const Touch* m_tapTouch = nullptr; // a finger that landed on the text, until it lifts
};

} // namespace ui
