#include "platform/gfx/TextBlock.h"

#include "platform/gfx/TextEngine.h"

namespace gfx {

TextBlock::TextBlock(const AttributedText& text, float width, const TextStyle& style,
                     const core::Color& color) {
    auto lock = detail::lockText();
    m_layout = std::make_unique<detail::TextLayout>(text, width, kUnlimitedWidth, style, color);
    m_size = m_layout->size();
}

TextBlock::~TextBlock() {
    auto lock = detail::lockText();
    m_layout.reset();
}

} // namespace gfx
