#pragma once

#include "platform/gfx/Font.h"
#include "platform/gfx/Text.h"
#include "platform/ui/Control.h"
#include "platform/ui/EditableText.h"
#include "platform/ui/KeyInput.h"

#include <string>

namespace ui {

class Label;
class TextField;

// Told how editing goes, and asked whether it may. Every operation is optional.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(TextField& field);
    virtual void textFieldDidBeginEditing(TextField& field);
    // The return key: answers whether the field does what return does (see TextField).
    virtual bool textFieldShouldReturn(TextField& field);
    virtual void textFieldDidEndEditing(TextField& field);
};

// What the return key reads on a touch keyboard; the desktop keyboard's return key reads nothing.
enum class ReturnKeyType { Default, Go, Next, Search, Send, Done };

// One line of editable text. A tap makes it the first responder and puts the caret where the finger
// lifted; typing then edits the text (EditingChanged), and it reports EditingDidBegin and EditingDidEnd
// when it becomes and stops being the first responder. Return asks the delegate; when the delegate
// agrees, EditingDidEndOnExit is sent, and a field with targets for that event ends its editing.
//
// Secure fields show a dot for each character; an empty field shows its placeholder.
class TextField : public Control, public KeyInput {
public:
    static std::shared_ptr<TextField> create(const core::Rect& frame = {});
    ~TextField() override;

    const std::string& text() const { return m_text.text(); }
    // Setting the text tells nobody; the caret goes to its end.
    void setText(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string placeholder);

    const gfx::Font& font() const;
    void setFont(const gfx::Font& font);
    const core::Color& textColor() const { return m_textColor; }
    void setTextColor(const core::Color& color);
    gfx::TextAlignment textAlignment() const;
    void setTextAlignment(gfx::TextAlignment alignment);
    bool isSecureTextEntry() const { return m_secure; }
    void setSecureTextEntry(bool secure);
    // Shrinks the font to fit the text in, down to the minimum size.
    bool adjustsFontSizeToFitWidth() const;
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    float minimumFontSize() const { return m_minimumFontSize; }
    void setMinimumFontSize(float size);
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }

    TextRange selectedRange() const { return m_text.selectedRange(); }
    void setSelectedRange(TextRange range);

    void setInputView(std::shared_ptr<View> view);
    std::shared_ptr<View> inputView() const override { return m_inputView; }

    const std::weak_ptr<TextFieldDelegate>& delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { m_delegate = std::move(delegate); }

    // Answers whether the field is the first responder afterwards (it needs a window, must be enabled,
    // and the delegate may refuse).
    bool becomeFirstResponder();
    void resignFirstResponder();
    bool isFirstResponder() const;
    bool isEditing() const { return m_editing; }

    void insertText(std::string_view text) override;
    void pressKey(EditingKey key) override;
    void firstResponderResigned() override;

    void connectOutlets(Outlets& outlets) override;

protected:
    explicit TextField(const core::Rect& frame);

    void layoutSubviews() override;
    void endTracking(const Touch& touch, const Event& event) override;
    void didMoveToWindow() override;

private:
    // What the label shows: the text, dots, or the placeholder.
    void updateShown();
    // The caret's x in the field for the character index `index`.
    float caretX(size_t index) const;

    EditableText m_text;
    std::string m_placeholder;
    std::shared_ptr<Label> m_label;
    std::shared_ptr<View> m_caret;
    std::shared_ptr<View> m_inputView;
    core::Color m_textColor = core::Color::black();
    float m_minimumFontSize = 0;
    bool m_secure = false;
    bool m_editing = false;
    ReturnKeyType m_returnKeyType = ReturnKeyType::Default;
    std::weak_ptr<TextFieldDelegate> m_delegate;
    std::weak_ptr<View> m_editingWindow; // the window it is first responder of
};

} // namespace ui
