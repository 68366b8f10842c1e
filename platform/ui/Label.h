#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Text.h"
#include "platform/ui/View.h"

#include <optional>
#include <string>

namespace ui {

// Shows a short text, centred vertically in its bounds. Plain text takes the label's font and colour;
// attributed text brings its own fonts (and colours, where its runs have them). One line by default;
// a label that may shrink its font does so to fit the text into its width, down to a minimum scale.
//
// Labels take no touches: they pass them to the view beneath.
class Label : public View {
public:
    static std::shared_ptr<Label> create(const core::Rect& frame = {});

    // The text shown; setting plain text replaces attributed text and the other way round.
    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const gfx::AttributedText& attributedText() const { return m_attributed; }
    void setAttributedText(gfx::AttributedText text);

    const gfx::Font& font() const { return m_font; }
    void setFont(const gfx::Font& font);
    const core::Color& textColor() const { return m_textColor; }
    void setTextColor(const core::Color& color);
    gfx::TextAlignment textAlignment() const { return m_style.alignment; }
    void setTextAlignment(gfx::TextAlignment alignment);
    gfx::LineBreakMode lineBreakMode() const { return m_style.lineBreak; }
    void setLineBreakMode(gfx::LineBreakMode mode);
    // 0 for as many lines as the text needs.
    int numberOfLines() const { return m_style.maxLines; }
    void setNumberOfLines(int lines);

    // Shrinking a one-line text to the width, never below minimumScaleFactor of the font size (0: no
    // lower limit but a point).
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSize; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    float minimumScaleFactor() const { return m_minimumScaleFactor; }
    void setMinimumScaleFactor(float factor);

    // A shadow under the text (none by default).
    const std::optional<gfx::Shadow>& shadow() const { return m_shadow; }
    void setShadow(const std::optional<gfx::Shadow>& shadow);

    // The scale the fonts are drawn at now (1 unless the text shrinks to fit).
    float fittingScale() const;

    // The size the text needs within `size` (its width bounds line breaking).
    core::Size sizeThatFits(core::Size size) const;
    // Sizes the frame to the text, keeping the origin.
    void sizeToFit();

protected:
    explicit Label(const core::Rect& frame);

    void draw(gfx::Canvas& canvas) override;

private:
    // What is drawn: the attributed text, or the plain text in the label's font.
    gfx::AttributedText content() const;
    void changed();

    std::string m_text;
    gfx::AttributedText m_attributed;
    bool m_usesAttributed = false;
    gfx::Font m_font;
    core::Color m_textColor = core::Color::black();
    gfx::TextStyle m_style{gfx::TextAlignment::Left, gfx::LineBreakMode::TruncateTail, 1};
    bool m_adjustsFontSize = false;
    float m_minimumScaleFactor = 0;
    std::optional<gfx::Shadow> m_shadow;
};

// The text with every run's font scaled by `scale`.
gfx::AttributedText scaledText(const gfx::AttributedText& text, float scale);

} // namespace ui
