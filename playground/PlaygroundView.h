#pragma once

#include "platform/core/Color.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace zm {

// The platform view that hosts a playground: it shows the expression views as its subviews and lends
// them its look (fonts, colours, the font size of the main expression and the spacing unit that goes
// with it).
//
// Main thread only.
class PlaygroundView : public ui::View {
public:
    static std::shared_ptr<PlaygroundView> create(const core::Rect& frame);

    // Colours: the text of every expression view, the veil behind a modal playground, and drawn-line
    // hits, drop targets and sliders.
    const core::Color& expressionColor() const { return m_expressionColor; }
    void setExpressionColor(const core::Color& color) { m_expressionColor = color; }
    const core::Color& veilColor() const { return m_veilColor; }
    void setVeilColor(const core::Color& color) { m_veilColor = color; }
    const core::Color& highlightColor() const { return m_highlightColor; }
    void setHighlightColor(const core::Color& color) { m_highlightColor = color; }

    // The fonts of numbers and operators, and of variable names; an empty name stands for the default.
    const std::string& numberFontName() const { return m_numberFontName; }
    void setNumberFontName(std::string name);
    const std::string& varFontName() const { return m_varFontName; }
    void setVarFontName(std::string name);

    // The font size of the main expression; setting it also measures the spacing unit, half the width
    // of a space in the number font.
    float baseFontSize() const { return m_baseFontSize; }
    void setBaseFontSize(float size);
    float space() const { return m_space; }
    void setSpace(float space) { m_space = space; }

protected:
    explicit PlaygroundView(const core::Rect& frame);

private:
    core::Color m_expressionColor = core::Color::rgb255(226, 234, 238);
    core::Color m_veilColor = core::Color::white(1, 0.25f);
    core::Color m_highlightColor = core::Color::rgb255(25, 161, 230);
    std::string m_numberFontName;
    std::string m_varFontName;
    float m_baseFontSize = 0;
    float m_space = 0;
};

} // namespace zm
