#include "playground/PlaygroundView.h"

#include "playground/views/Fonts.h"

namespace zm {

std::shared_ptr<PlaygroundView> PlaygroundView::create(const core::Rect& frame) {
    return std::shared_ptr<PlaygroundView>(new PlaygroundView(frame));
}

PlaygroundView::PlaygroundView(const core::Rect& frame)
    : ui::View(frame) {
    setNumberFontName({});
    setVarFontName({});
    setBaseFontSize(50);
}

void PlaygroundView::setNumberFontName(std::string name) {
    m_numberFontName = name.empty() ? std::string(kGeorgia) : std::move(name);
}

void PlaygroundView::setVarFontName(std::string name) {
    m_varFontName = name.empty() ? std::string(kGeorgiaItalic) : std::move(name);
}

void PlaygroundView::setBaseFontSize(float size) {
    m_baseFontSize = size;
    m_space = halfSpaceWidth(m_numberFontName, size);
}

} // namespace zm
