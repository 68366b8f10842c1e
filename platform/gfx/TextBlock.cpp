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

core::Point TextBlock::caretAt(size_t index) const {
    auto lock = detail::lockText();
    return m_layout->caretAt(index);
}

size_t TextBlock::indexAt(core::Point point) const {
    auto lock = detail::lockText();
    return m_layout->indexAt(point);
}

} // namespace gfx
