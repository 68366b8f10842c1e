#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gfx/Font.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

enum class TextAlignment { Left, Center, Right };

// How text that does not fit its width or its number of lines is handled. Every mode breaks lines
// between words (CharWrap: between characters) while more lines are allowed; the modes differ in
// what happens to the last line that is shown.
enum class LineBreakMode {
    WordWrap,       // lines that do not fit are left out
    CharWrap,       // as WordWrap, breaking between characters
    Clip,           // as WordWrap, and nothing is drawn outside the rectangle
    TruncateHead,   // the last line shown starts with an ellipsis
    TruncateMiddle, // ... has an ellipsis in its middle
    TruncateTail,   // ... ends with an ellipsis
};

struct TextStyle {
    TextAlignment alignment = TextAlignment::Left;
    LineBreakMode lineBreak = LineBreakMode::WordWrap;
    int maxLines = 0; // 0: as many as the text needs (or, when truncating, as many as fit)
};

// A run of text in one font; without a colour it takes the colour it is drawn with.
struct TextRun {
    std::string text; // UTF-8
    Font font;
    std::optional<core::Color> color;
};

// Text made of runs in different fonts and colours (a phrase in bold within a sentence).
class AttributedText {
public:
    AttributedText() = default;
    AttributedText(std::string text, const Font& font) { append(std::move(text), font); }

    void append(std::string text, const Font& font, std::optional<core::Color> color = std::nullopt);
    const std::vector<TextRun>& runs() const { return m_runs; }
    std::string plainText() const;
    bool isEmpty() const;

private:
    std::vector<TextRun> m_runs;
};

constexpr float kUnlimitedWidth = std::numeric_limits<float>::infinity();

// The size of text set in one line (a new line only at each line feed), as wide as its advances
// and as high as its lines. Empty text measures 0 by 0.
core::Size measureText(std::string_view text, const Font& font);
// The size of text broken into lines no wider than maxWidth, as many lines as the style shows.
core::Size measureText(const AttributedText& text, float maxWidth = kUnlimitedWidth,
                       const TextStyle& style = {});

} // namespace gfx
